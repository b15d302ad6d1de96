// The library model inside the stand-in host: links, sources, sections, value lists and
// saving parts over existing ones and as new parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/component_source.h"
#include "model/directory.h"
#include "model/library.h"
#include "model/search_string.h"
#include "platform/parameter_records.h"
#include "storage/data_file.h"
#include "support/loaded_host.h"

namespace {

namespace fs = std::filesystem;
using lunvik::CadString;
using lunvik::ComponentLink;
using lunvik::Library;
using lunvik::ParametricSource;

const char* const kZeroId = "{00000000-0000-0000-0000-000000000000}-{00000000-0000-0000-0000-000000000000}";

class LibraryModelTest : public testing_support::LoadedHost {
 protected:
  void SetUp() override {
    LoadedHost::SetUp();
    folder_ = appData() + "/library";
    fs::create_directories(folder_);
    for (const char* dir : {"/library", "/fixtures/library/model"}) {
      std::string from = std::string(dir) == "/library" ? std::string(TRESTLAR_SOURCE_DIR) + "/library"
                                                         : std::string(TRESTLAR_SOURCE_DIR) + "/tests" + dir;
      for (const auto& entry : fs::directory_iterator(from)) fs::copy_file(entry.path(), folder_ + "/" + entry.path().filename().string());
    }
    host().setLibraryFolders({folder_});
  }

  std::unique_ptr<ParametricSource> source(const char* name) {
    ComponentLink link(name, 0, &library_);
    std::unique_ptr<lunvik::ComponentSource> any = library_.getElement(link);
    auto* p = dynamic_cast<ParametricSource*>(any.get());
    if (!p) return nullptr;
    any.release();
    return std::unique_ptr<ParametricSource>(p);
  }

  std::string folder_;
  Library library_;
};

TEST_F(LibraryModelTest, ALinkFromAnUnknownNameIsInvalid) {
  ComponentLink unknown("No Such Part", 0, &library_);
  EXPECT_EQ(unknown.index(), 0);
  EXPECT_FALSE(unknown.isValid());
  EXPECT_EQ(library_.getElement(unknown), nullptr);
  ComponentLink known("rectilinear", 0, &library_);
  EXPECT_TRUE(known.isValid());
  EXPECT_EQ(known.type(), platform::kPartObject);
}

TEST_F(LibraryModelTest, ADoorPartRecordedAsAnObjectIsFoundByItsAncestry) {
  ComponentLink link("Plank Door", 0, &library_);
  ASSERT_TRUE(link.isValid());
  EXPECT_EQ(link.type(), platform::kPartObject);
  std::unique_ptr<lunvik::ComponentSource> door = library_.getElement(link);
  ASSERT_NE(dynamic_cast<lunvik::DoorSource*>(door.get()), nullptr);
  EXPECT_EQ(door->link().type(), platform::kPartDoor);
  ComponentLink round("Round", 0, &library_);
  std::unique_ptr<lunvik::ComponentSource> plain = library_.getElement(round);
  EXPECT_NE(dynamic_cast<lunvik::ObjectSource*>(plain.get()), nullptr);
}

TEST_F(LibraryModelTest, SourcesReadParametersSectionsAndIdentifiersFromTheHost) {
  std::unique_ptr<ParametricSource> rect = source("Rectilinear");
  ASSERT_NE(rect, nullptr);
  CadString kind;
  EXPECT_TRUE(rect->parameters().text("id", kind));
  EXPECT_EQ(kind, "RECT");
  EXPECT_DOUBLE_EQ(rect->height(), 0.2);
  EXPECT_DOUBLE_EQ(rect->sizeA(), 3.0);
  EXPECT_NE(rect->script3D().str().find("BLOCK length, profWide, profDeep"), std::string::npos);
  EXPECT_FALSE(rect->ownId().empty());
  EXPECT_TRUE(rect->comment().str().find("Rectilinear") == 0);
  EXPECT_EQ(rect->picture(), nullptr);
  // A part with the 'PARD' section and five others.
  EXPECT_EQ(rect->sections().count(), 6);
}

TEST_F(LibraryModelTest, ValueListsComeFromTheValuesStatementsInAnyLetterCase) {
  std::unique_ptr<ParametricSource> lists = source("Lists");
  ASSERT_NE(lists, nullptr);
  struct Case {
    const char* parameter;
    std::vector<std::string> values;
  } cases[] = {
      {"species", {"oak", "ash", "elm", "larch"}},
      {"grade", {"A", "B"}},
      {"finish", {"sawn", "planed"}},
  };
  for (const Case& c : cases) {
    const lunvik::TextRecord* record = lists->valueList(c.parameter);
    ASSERT_NE(record, nullptr) << c.parameter;
    ASSERT_EQ(record->count(), c.values.size() + 1) << c.parameter;
    EXPECT_EQ(record->field(0)->text(), c.parameter);
    for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_EQ(record->field(i + 1)->text(), c.values[i]) << c.parameter;
  }
  EXPECT_EQ(lists->valueList("count"), nullptr);
  EXPECT_EQ(lists->valueList("Species"), nullptr);  // names match exactly
  std::unique_ptr<ParametricSource> rect = source("Rectilinear");
  const lunvik::TextRecord* anchors = rect->valueList("anchorPick");
  ASSERT_NE(anchors, nullptr);
  EXPECT_EQ(anchors->count(), 10u);
  rect->setParameterScript("x = 1\n");
  EXPECT_EQ(rect->valueList("anchorPick"), nullptr);
}

TEST_F(LibraryModelTest, APreviewComesAsAnImageAndASectionWithoutDataIsPresentButEmpty) {
  std::unique_ptr<ParametricSource> lists = source("Lists");
  ASSERT_NE(lists, nullptr);
  platform::GSHandle image = lists->preview();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(host().memory().size(image), 9);
  EXPECT_EQ(std::string(*image, 4), "\x89PNG");
  host().memory().dispose(image);
  EXPECT_TRUE(lists->sections().has(lunvik::kSectionPicture));
  EXPECT_EQ(lists->picture(), nullptr);
  std::unique_ptr<ParametricSource> door = source("Plank Door");
  ASSERT_NE(door, nullptr);
  EXPECT_EQ(door->preview(), nullptr);
}

TEST_F(LibraryModelTest, SavingOverAnExistingPartRewritesItsSections) {
  std::unique_ptr<ParametricSource> round = source("Round");
  ASSERT_NE(round, nullptr);
  int32_t index = round->index();
  int32_t count = library_.count();
  round->setScript3D("! changed\nCYLIND length, profWide / 2\n");
  ASSERT_TRUE(round->parameters().setNumber("length", 5.5));
  ASSERT_TRUE(library_.save(*round)) << std::hex << library_.lastError();
  EXPECT_EQ(round->index(), index);
  EXPECT_EQ(library_.count(), count);
  EXPECT_EQ(host().callCount("HostCreateLibraryPart"), 0);

  Library fresh;
  host().touchLibrary();
  ComponentLink again("Round", 0, &fresh);
  EXPECT_EQ(again.index(), index);
  auto reread = std::unique_ptr<lunvik::ComponentSource>(fresh.getElement(again));
  auto* p = dynamic_cast<ParametricSource*>(reread.get());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->script3D(), "! changed\nCYLIND length, profWide / 2\n");
  double length = 0;
  EXPECT_TRUE(p->parameters().number("length", length));
  EXPECT_DOUBLE_EQ(length, 5.5);
  EXPECT_NE(p->masterScript().str().find("EPS"), std::string::npos);
}

TEST_F(LibraryModelTest, SavingAForgottenIndexCreatesANewPartEvenOverAnExistingFile) {
  std::unique_ptr<ParametricSource> rect = source("Rectilinear");
  ASSERT_NE(rect, nullptr);
  ASSERT_TRUE(rect->sections().load());
  CadString oldId = rect->ownId();
  int32_t oldIndex = rect->index();
  int32_t count = library_.count();

  // A new part in a sub-folder, under a file name a loaded part already has.
  std::string sub = folder_ + "/profiles";
  fs::create_directories(sub);
  fs::copy_file(folder_ + "/Round.gsm", sub + "/Beam.gsm");
  host().touchLibrary();
  ASSERT_EQ(library_.count(), count + 1);
  rect->forgetIndex();
  rect->setOwnId(kZeroId);
  rect->setParentId(oldId);
  rect->setLocation(lunvik::DataFile(CadString(sub + "/Beam.gsm")));
  rect->setScript3D("! a new profile\n");
  host().clearRecords();
  ASSERT_TRUE(library_.save(*rect)) << std::hex << library_.lastError();

  // The permission is on for the creation only.
  const std::vector<std::string>& log = host().callLog();
  auto create = std::find(log.begin(), log.end(), "HostCreateLibraryPart");
  ASSERT_NE(create, log.end());
  ASSERT_NE(create, log.begin());
  EXPECT_EQ(*(create - 1), "HostEnvironment");
  EXPECT_EQ(*(create + 1), "HostEnvironment");
  EXPECT_FALSE(host().library().overwrite());

  EXPECT_TRUE(rect->link().isValid());
  EXPECT_NE(rect->index(), oldIndex);
  EXPECT_NE(rect->ownId(), oldId);
  EXPECT_NE(rect->ownId(), kZeroId);
  EXPECT_EQ(rect->parentId(), oldId);
  EXPECT_EQ(library_.count(), count + 1);  // the file's part was replaced by the new one
  ComponentLink beam("Beam", 0, &library_);
  EXPECT_EQ(beam.index(), rect->index());
  auto saved = library_.getElement(beam);
  auto* p = dynamic_cast<ParametricSource*>(saved.get());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->script3D(), "! a new profile\n");
  CadString kind;
  EXPECT_TRUE(p->parameters().text("ID", kind));
  EXPECT_EQ(kind, "RECT");
  const lunvik::ComponentParameter* cuts = p->parameters().parameter("cutAngle");
  ASSERT_NE(cuts, nullptr);
  EXPECT_EQ(cuts->rows, 20);
  EXPECT_EQ(cuts->columns, 2);
  EXPECT_DOUBLE_EQ(cuts->numbers[3], 1.5707963267948966);
  int32_t type = 0;
  EXPECT_EQ(library_.indexOfId(rect->ownId(), type), rect->index());
  // The old part is still there.
  EXPECT_TRUE(ComponentLink("Rectilinear", 0, &library_).isValid());
}

TEST_F(LibraryModelTest, CreatingOverAnExistingFileIsRefusedWithoutThePermission) {
  platform::LibraryPartRecord record{};
  record.typeID = platform::kPartObject;
  std::string path = folder_ + "/Round.gsm";
  record.location = host().memory().newHandle(int64_t(path.size() + 1));
  std::memcpy(*record.location, path.c_str(), path.size() + 1);
  EXPECT_EQ(host().table().HostCreateLibraryPart(host().token(), &record), platform::kErrFile);
  host().memory().dispose(record.location);
}

TEST_F(LibraryModelTest, SwappingAPartKeepsTheValuesOfSharedParameters) {
  std::unique_ptr<ParametricSource> rect = source("Rectilinear");
  std::unique_ptr<ParametricSource> taper = source("Tapered Timber");
  ASSERT_TRUE(rect && taper);
  ASSERT_TRUE(rect->parameters().setNumber("length", 3.2));
  ASSERT_TRUE(rect->parameters().setText("seasonType", "Green oak"));
  lunvik::ComponentParameters swapped = taper->parameters();
  EXPECT_TRUE(swapped.merge(rect->parameters()));
  double length = 0, endWide = 0;
  CadString season, kind;
  EXPECT_TRUE(swapped.number("length", length));
  EXPECT_DOUBLE_EQ(length, 3.2);
  EXPECT_TRUE(swapped.number("endWide", endWide));
  EXPECT_DOUBLE_EQ(endWide, 0.15);  // only the new part has it: its default stays
  EXPECT_TRUE(swapped.text("seasonType", season));
  EXPECT_EQ(season, "Green oak");
  // A parameter of another kind or shape is not taken.
  lunvik::ComponentParameters other;
  lunvik::ComponentParameter wrong;
  wrong.name = "endWide";
  wrong.typeID = platform::kParamString;
  wrong.texts = {"wide"};
  other.add(wrong);
  EXPECT_FALSE(swapped.merge(other));
  EXPECT_TRUE(swapped.number("endWide", endWide));
  EXPECT_DOUBLE_EQ(endWide, 0.15);
}

TEST_F(LibraryModelTest, FindNextStepsThroughThePartsTheFilterAccepts) {
  Library::Filter filter(0, lunvik::SearchString("Round*"));
  ComponentLink link(0, 0, &library_);
  std::vector<std::string> names;
  while (auto found = library_.findNext(link, true, &filter)) names.push_back(found->name().str());
  EXPECT_EQ(names, (std::vector<std::string>{"Round Tapered", "Round"}));
  EXPECT_EQ(filter.lastCount, library_.count());
  auto back = library_.findNext(link, false, &filter);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->name(), "Round Tapered");
}

TEST_F(LibraryModelTest, FolderListHoldsTheLoadedFolders) {
  auto list = library_.folderList();
  ASSERT_EQ(list->size(), 1u);
  EXPECT_TRUE(list->at(0).isFolder());
  EXPECT_EQ(list->at(0).name(), "library");
  auto sub = lunvik::Directory::subFolder(lunvik::Directory(CadString(folder_)), "made", true);
  ASSERT_NE(sub, nullptr);
  EXPECT_TRUE(fs::is_directory(folder_ + "/made"));
  EXPECT_EQ(lunvik::Directory::subFolder(lunvik::Directory(CadString(folder_)), "missing", false), nullptr);
}

TEST(SearchString, MatchesByPrefixMiddleAndSuffix) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*", "anything", true},         {"Round", "Round", true},      {"Round", "Round Tapered", false},
      {"Round*", "Round Tapered", true}, {"*Timber", "Curved Timber", true}, {"*Timber", "Timber Post", false},
      {"C*v*r", "Curved Timber", true}, {"C*v*r", "Cr", false},        {"*ed*", "Cambered Timber", true},
      {"*ed*", "ed", true},           {"Ro*", "ro", false},
  };
  for (const Case& c : cases) EXPECT_EQ(lunvik::SearchString(c.pattern).matches(c.name), c.match) << c.pattern << " " << c.name;
}

}  // namespace

namespace {

using BuiltInTest = testing_support::LoadedHost;

TEST_F(BuiltInTest, TheHostNamesTheIdentifierOfAPartEmbeddedInAResourceModule) {
  static const char kPart[] = "trestlar-library-part 1\nname \"Template\"\ntype 4\nid \"{T1}-{T2}\"\n";
  std::string prefixed = std::string("\x3a\0\0\0", 4) + kPart;
  const platform::ResourceEntry entries[] = {
      {platform::kResourceLibraryPart, 7, reinterpret_cast<const unsigned char*>(kPart), uint32_t(sizeof kPart - 1)},
      {platform::kResourceFile, 8, reinterpret_cast<const unsigned char*>(prefixed.data()), uint32_t(prefixed.size())},
      {platform::kResourceFile, 9, reinterpret_cast<const unsigned char*>("not a part"), 10},
  };
  const platform::ResourceModule module{"test", entries, 3};
  const platform::ResourceModule* previous = host().table().RSSetResourceModule(&module);
  struct Case {
    int32_t id;
    platform::GSErr answer;
    const char* text;
  } cases[] = {{7, platform::kNoError, "{T1}-{T2}"}, {8, platform::kNoError, "{T1}-{T2}"},
               {9, platform::kErrBadParameter, ""}, {10, platform::kErrBadIndex, ""}};
  for (const Case& c : cases) {
    char id[128] = {};
    EXPECT_EQ(host().table().HostGoodies(host().token(), platform::fourcc("GLUI"), const_cast<int32_t*>(&c.id), id,
                                         nullptr),
              c.answer)
        << c.id;
    EXPECT_STREQ(id, c.text) << c.id;
  }
  host().table().RSSetResourceModule(previous);
  // The add-on's own module carries no such part: the framework answers an empty text.
  lunvik::Library library;
  EXPECT_TRUE(library.builtInIdentifier(7).empty());
  EXPECT_NE(library.lastError(), platform::kNoError);
}

}  // namespace

namespace {

class SectionTest : public LibraryModelTest {};

TEST_F(SectionTest, SettingASectionToTheHandleItHoldsKeepsTheHandle) {
  std::unique_ptr<ParametricSource> rect = source("Rectilinear");
  ASSERT_NE(rect, nullptr);
  ASSERT_TRUE(rect->sections().load());
  platform::GSHandle text = rect->sections().get(lunvik::kSection3D);
  ASSERT_NE(text, nullptr);
  rect->sections().set(lunvik::kSection3D, text);  // must not free what it keeps
  EXPECT_EQ(rect->sections().get(lunvik::kSection3D), text);
  EXPECT_NE(rect->script3D().str().find("BLOCK"), std::string::npos);
  rect->sections().set(lunvik::kSection3D, nullptr);
  EXPECT_FALSE(rect->sections().has(lunvik::kSection3D));
  EXPECT_TRUE(rect->script3D().empty());
}

TEST_F(SectionTest, AFailedCreationLeavesTheOverwritePermissionOff) {
  std::unique_ptr<ParametricSource> rect = source("Rectilinear");
  ASSERT_NE(rect, nullptr);
  rect->forgetIndex();
  // Outside every library folder: the host refuses to create the part there.
  rect->setLocation(lunvik::DataFile(CadString(appData() + "/elsewhere/Beam.gsm")));
  int32_t count = library_.count();
  EXPECT_FALSE(library_.save(*rect));
  EXPECT_EQ(library_.lastError(), platform::kErrBadParameter);
  EXPECT_FALSE(host().library().overwrite());
  EXPECT_EQ(host().callCount("HostSaveLibraryPart"), 0);
  EXPECT_EQ(library_.count(), count);
  EXPECT_EQ(rect->index(), 0);
}

TEST_F(SectionTest, OnlyParametricSourcesAreSaved) {
  fs::create_directories(folder_ + "/macros");
  {
    std::ofstream(folder_ + "/macros/Helper.gdl") << "! macro\n";
  }
  host().touchLibrary();
  ComponentLink helper("Helper", 0, &library_);
  auto macro = library_.getElement(helper);
  ASSERT_NE(dynamic_cast<lunvik::MacroSource*>(macro.get()), nullptr);
  EXPECT_FALSE(library_.save(*macro));
}

}  // namespace
