// The add-on's built-in library: its embedded parts join the loaded libraries when it
// registers them, are found by name and by identifier, read only and gone when it unloads;
// part files keep a section whose lines end with CR LF readable.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/library/library_index.h"
#include "host/library/part_file.h"
#include "model/component_source.h"
#include "model/library.h"
#include "support/loaded_host.h"

namespace {

using lunvik::CadString;
using standin::LibraryPart;

struct BuiltInCase {
  const char* name;
  int32_t resource;
  const char* kind;
  int32_t spotRows;
};

const BuiltInCase kBuiltIn[] = {{"Custom Timber", 134, "CUST", 150},
                                {"Extruded Timber", 135, "EXTR", 100},
                                {"Lathe Timber", 136, "LATH", 100},
                                {"BlobTemplate", 203, "", 0}};

using BuiltInLibraryTest = testing_support::LoadedHost;

TEST_F(BuiltInLibraryTest, TheAddOnsEmbeddedPartsAreLoadedWithoutAFile) {
  ASSERT_TRUE(host().builtInLibraryRegistered());
  standin::LibraryIndex& index = host().library();
  for (const BuiltInCase& c : kBuiltIn) {
    int32_t at = index.find(c.name, 4);
    ASSERT_NE(at, 0) << c.name;
    const LibraryPart* part = index.part(at);
    EXPECT_TRUE(part->builtIn) << c.name;
    EXPECT_EQ(part->path.compare(0, 9, "built-in:"), 0) << part->path;
    EXPECT_FALSE(std::filesystem::exists(part->path)) << c.name;
    if (c.spotRows == 0) continue;
    const standin::PartParameter* id = part->parameter("ID");
    ASSERT_NE(id, nullptr) << c.name;
    EXPECT_EQ(id->texts.at(0), c.kind);
    const standin::PartParameter* spots = part->parameter("spots");
    ASSERT_NE(spots, nullptr) << c.name;
    EXPECT_EQ(spots->rows, c.spotRows) << c.name;
    // The profile block the new profile tool replaces, in a script of CR LF lines.
    const standin::PartSection* script = part->section(0x33445343u /* '3DSC' */);
    ASSERT_NE(script, nullptr) << c.name;
    EXPECT_NE(script->data.find("!LUNVIK_PROFILE_START\r\nput "), std::string::npos) << c.name;
    EXPECT_NE(script->data.find("!LUNVIK_PROFILE_END\r\n"), std::string::npos) << c.name;
  }
}

TEST_F(BuiltInLibraryTest, TheAddOnFindsItsPartsByNameAndByTheirBuiltInIdentifiers) {
  host().newProject();
  lunvik::Library library;
  for (const BuiltInCase& c : kBuiltIn) {
    int32_t type = 0;
    int32_t byName = library.indexOf(CadString(c.name), type);
    ASSERT_NE(byName, 0) << c.name;
    EXPECT_EQ(type, 4);
    CadString id = library.builtInIdentifier(c.resource);
    ASSERT_FALSE(id.empty()) << c.name;
    EXPECT_EQ(id.str(), host().library().part(byName)->ownId);
    int32_t idType = 0;
    EXPECT_EQ(library.indexOfId(id, idType), byName) << c.name;
  }
}

TEST_F(BuiltInLibraryTest, ABuiltInPartIsReadOnly) {
  host().newProject();
  lunvik::Library library;
  lunvik::ComponentLink link(CadString("BlobTemplate"), 0, &library);
  std::unique_ptr<lunvik::ComponentSource> any = library.getElement(link);
  auto* source = dynamic_cast<lunvik::ParametricSource*>(any.get());
  ASSERT_NE(source, nullptr);
  const std::string before = host().library().part(link.index())->sections.at(0).data;
  source->setMasterScript(CadString("! changed\n"));
  EXPECT_FALSE(library.save(*source));
  EXPECT_EQ(host().library().part(link.index())->sections.at(0).data, before);
}

TEST_F(BuiltInLibraryTest, TheBuiltInLibraryGoesWithTheAddOn) {
  ASSERT_NE(host().library().find("Custom Timber", 0), 0);
  host().unload();
  EXPECT_EQ(host().library().find("Custom Timber", 0), 0);
  EXPECT_FALSE(host().builtInLibraryRegistered());
}

TEST(PartFileLineEnds, ASectionOfCrLfLinesIsWrittenAsLinesAndReadBackTheSame) {
  struct Case {
    const char* data;
    const char* form;  // how the section line reads
  } cases[] = {{"a\r\nb\r\n", "section 3DSC crlf\n"},
               {"a\nb\n", "section 3DSC\n"},
               {"a\r\nb\n", "section 3DSC base64\n"},  // mixed line ends
               {"a\r\r\n", "section 3DSC base64\n"},   // a stray carriage return
               {"end 3DSC\r\n", "section 3DSC base64\n"},
               {"\r\n", "section 3DSC crlf\n"}};
  for (const Case& c : cases) {
    LibraryPart part;
    part.name = "Lines";
    part.typeID = 4;
    part.sections.push_back({0x33445343u, c.data});
    std::string text = standin::writePartText(part);
    EXPECT_NE(text.find(c.form), std::string::npos) << text;
    LibraryPart back;
    std::string problem;
    ASSERT_TRUE(standin::readPartText(text, back, problem)) << problem;
    EXPECT_EQ(back.sections.at(0).data, c.data);
  }
}

}  // namespace
