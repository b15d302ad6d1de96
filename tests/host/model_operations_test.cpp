// The stand-in host's model operations as the table hands them out: element boxes ('CABO'),
// screen points ('PTOC'), databases by their whole identity, attributes created and changed,
// files moved, and what the project file keeps of them.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/core/host.h"
#include "host/model/project_model.h"
#include "host/project/project_file.h"

namespace {

namespace fs = std::filesystem;
using platform::fourcc;
using platform::GSErr;
using standin::Host;

class ModelOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.newProject();
    char pattern[] = "/tmp/trestlar-ops-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  standin::ProjectModel& model() { return host_.model(); }
  GSErr database(uint32_t code, void* p1, void* p2 = nullptr, void* p3 = nullptr) {
    return host_.table().HostDatabase(host_.token(), code, p1, p2, p3);
  }
  GSErr environment(uint32_t code, void* p1, void* p2 = nullptr, void* p3 = nullptr) {
    return host_.table().HostEnvironment(host_.token(), code, p1, p2, p3);
  }
  GSErr box(const platform::ElementHeader& header, platform::Box3DRecord& out) {
    return database(fourcc("CABO"), const_cast<platform::ElementHeader*>(&header), &out);
  }
  standin::HostElement& make(int32_t kind, void (*fill)(platform::ElementRecord&)) {
    platform::ElementRecord r = model().defaults(kind);
    fill(r);
    return model().create(model().currentDatabase(), r);
  }

  Host host_;
  std::string folder_;
};

TEST_F(ModelOperationsTest, TheHostAnswersABoxForEachKindThatHasOne) {
  standin::HostElement& text = make(platform::kText, [](platform::ElementRecord& r) {
    r.text.loc = {2, 1};
    r.text.width = 3;
    r.text.height = 1;
  });
  platform::Box3DRecord b{};
  ASSERT_EQ(box(text.header(), b), platform::kNoError);
  EXPECT_DOUBLE_EQ(b.xMin, 2);
  EXPECT_DOUBLE_EQ(b.xMax, 5);
  EXPECT_DOUBLE_EQ(b.yMax, 2);
  EXPECT_DOUBLE_EQ(b.zMin, 0);
  EXPECT_DOUBLE_EQ(b.zMax, 0);
  // Without a GUID the element is the current database's of that kind and index.
  platform::ElementHeader byIndex{};
  byIndex.typeID = platform::kText;
  byIndex.index = text.header().index;
  ASSERT_EQ(box(byIndex, b), platform::kNoError);
  EXPECT_DOUBLE_EQ(b.xMax, 5);
  // A placed part stands on its level: the box is measured from it.
  standin::HostElement& part = make(platform::kObject, [](platform::ElementRecord& r) {
    r.part.pos = {1, 1};
    r.part.level = 2;
    r.part.angle = 3.14159265358979323846 / 2;
    r.part.xRatio = 2;
    r.part.yRatio = 1;
    r.part.height = 0.5;
  });
  ASSERT_EQ(box(part.header(), b), platform::kNoError);
  EXPECT_NEAR(b.xMin, 0, 1e-12);
  EXPECT_NEAR(b.xMax, 1, 1e-12);
  EXPECT_NEAR(b.yMin, 1, 1e-12);
  EXPECT_NEAR(b.yMax, 3, 1e-12);
  EXPECT_DOUBLE_EQ(b.zMin, 0);
  EXPECT_DOUBLE_EQ(b.zMax, 0.5);
}

TEST_F(ModelOperationsTest, KindsWithoutABoxAndMissingElementsAreRefused) {
  standin::HostElement& image = make(platform::kImage, [](platform::ElementRecord&) {});
  platform::Box3DRecord b{1, 2, 3, 4, 5, 6};
  EXPECT_EQ(box(image.header(), b), platform::kErrBadIndex);
  standin::HostElement& line = make(platform::kLine, [](platform::ElementRecord& r) { r.line.endC = {1, 1}; });
  platform::ElementHeader header = line.header();
  model().remove(line);
  EXPECT_EQ(box(header, b), platform::kErrBadIndex);
  header.guid = platform::Guid{};
  header.index = 99;
  EXPECT_EQ(box(header, b), platform::kErrBadIndex);
  EXPECT_DOUBLE_EQ(b.xMin, 1);  // untouched
  EXPECT_EQ(database(fourcc("CABO"), nullptr, &b), platform::kErrNullArgument);
  // A polygon element whose arc names coordinates it does not have still has the box of its
  // vertices.
  standin::HostElement& hatch = make(platform::kHatch, [](platform::ElementRecord&) {});
  hatch.polygon.coords = {{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 0}};
  hatch.polygon.ends = {0, 4};
  hatch.polygon.arcs = {{3, 40, 1.0}, {-2, 1, 2.0}};
  ASSERT_EQ(box(hatch.header(), b), platform::kNoError);
  EXPECT_DOUBLE_EQ(b.xMax, 1);
  EXPECT_DOUBLE_EQ(b.yMax, 1);
}

TEST_F(ModelOperationsTest, AScreenPointMapsToTheDrawingAtItsScale) {
  standin::StoredPolygon square;
  square.coords = {{0, 0}, {-1, 2}, {9, 2}, {9, 8}, {-1, 2}};
  square.ends = {0, 4};
  ASSERT_NE(model().placePolygon(platform::kHatch, square), nullptr);
  platform::Coord2D screen{96, 96}, at{};
  ASSERT_EQ(host_.table().HostAutomate(host_.token(), fourcc("PTOC"), &screen, &at, nullptr), platform::kNoError);
  // An inch on the screen is 2.54 m at 1:100, from the extent's top-left corner down.
  EXPECT_NEAR(at.x, -1 + 2.54, 1e-12);
  EXPECT_NEAR(at.y, 8 - 2.54, 1e-12);
  screen = {NAN, 0};
  EXPECT_EQ(host_.table().HostAutomate(host_.token(), fourcc("PTOC"), &screen, &at, nullptr), platform::kErrBadParameter);
}

TEST_F(ModelOperationsTest, DatabasesAreKnownByKindIndexAndNumber) {
  platform::DatabaseRecord plain = model().addCutPlane(platform::kDatabaseSection, 0, 0, 1, 0, 0, "A-A");
  platform::DatabaseRecord numbered = model().addCutPlane(platform::kDatabaseSection, 0, 1, 1, 1, 0, "B-B", 12);
  platform::GSHandle ids = nullptr;
  ASSERT_EQ(database(fourcc("GSDI"), &ids), platform::kNoError);
  ASSERT_EQ(host_.memory().size(ids), int64_t(2 * sizeof(platform::DatabaseRecord)));
  const auto* listed = reinterpret_cast<const platform::DatabaseRecord*>(*ids);
  EXPECT_EQ(listed[0].index, plain.index);
  EXPECT_EQ(listed[1].number, 12);
  host_.memory().dispose(ids);
  // 'SDAT' takes the number too; without it the numbered view is not found.
  int32_t kind = numbered.kind, index = numbered.index;
  int16_t number = 12;
  EXPECT_EQ(database(fourcc("SDAT"), &kind, &index), platform::kErrBadIndex);
  ASSERT_EQ(database(fourcc("SDAT"), &kind, &index, &number), platform::kNoError);
  int32_t gotKind = 0, gotIndex = 0;
  int16_t gotNumber = 0;
  ASSERT_EQ(database(fourcc("GDAT"), &gotKind, &gotIndex, &gotNumber), platform::kNoError);
  EXPECT_EQ(gotKind, platform::kDatabaseSection);
  EXPECT_EQ(gotIndex, numbered.index);
  EXPECT_EQ(gotNumber, 12);
  // Its elements carry it, and a copy lands beside them.
  standin::HostElement& line = make(platform::kLine, [](platform::ElementRecord&) {});
  EXPECT_EQ(line.header().databaseNumber, 12);
  platform::EditRecord copy{};
  copy.kind = int32_t(fourcc("DRAG"));
  copy.second = {1, 0, 0};
  auto made = model().edit({line.header().guid}, copy);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(model().find(made[0])->header().databaseNumber, 12);
}

TEST_F(ModelOperationsTest, AttributesAreCreatedAndChangedThroughTheTable) {
  const platform::HostFunctionTable& t = host_.table();
  platform::AttributeRecord layer{};
  layer.header.typeID = platform::kAttrLayer;
  layer.header.flags = platform::kLayerLocked;
  std::strcpy(layer.header.name, "Timber");
  ASSERT_EQ(t.HostCreateAttribute(host_.token(), &layer, nullptr), platform::kNoError);
  EXPECT_EQ(layer.header.index, 2);
  ASSERT_NE(model().layer(2), nullptr);
  EXPECT_TRUE(model().layer(2)->locked);
  EXPECT_EQ(t.HostCreateAttribute(host_.token(), &layer, nullptr), platform::kErrBadParameter);  // name taken
  layer.header.flags = platform::kLayerHidden;
  ASSERT_EQ(t.HostModifyAttribute(host_.token(), &layer, nullptr), platform::kNoError);
  EXPECT_TRUE(model().layer(2)->hidden);
  EXPECT_FALSE(model().layer(2)->locked);
  platform::AttributeRecord read{};
  read.header.typeID = platform::kAttrLayer;
  read.header.index = 2;
  ASSERT_EQ(environment(fourcc("GATT"), &read), platform::kNoError);
  EXPECT_STREQ(read.header.name, "Timber");
  EXPECT_EQ(read.header.flags, platform::kLayerHidden);
  layer.header.index = 9;
  EXPECT_EQ(t.HostModifyAttribute(host_.token(), &layer, nullptr), platform::kErrBadIndex);

  // A composite with its skins in the memo; a memo handle the host did not hand out is refused.
  platform::AttributeRecord composite{};
  composite.header.typeID = platform::kAttrComposite;
  std::strcpy(composite.header.name, "Frame wall");
  platform::CompositeSkinRecord skins[2] = {{3, 1, 0, 0, 0.02}, {4, 1, 1, 0, 0.15}};
  platform::ElementMemoRecord memo{};
  char foreign[sizeof skins];
  std::memcpy(foreign, skins, sizeof skins);
  char* foreignPointer = foreign;
  memo.skins = &foreignPointer;
  EXPECT_EQ(t.HostCreateAttribute(host_.token(), &composite, &memo), platform::kErrBadParameter);
  memo.skins = host_.memory().newHandle(sizeof skins);
  std::memcpy(*memo.skins, skins, sizeof skins);
  ASSERT_EQ(t.HostCreateAttribute(host_.token(), &composite, &memo), platform::kNoError);
  host_.memory().dispose(memo.skins);
  EXPECT_EQ(composite.header.index, 256);
  platform::ElementMemoRecord back{};
  ASSERT_EQ(environment(fourcc("GATM"), &composite.header, &back), platform::kNoError);
  ASSERT_EQ(host_.memory().size(back.skins), int64_t(sizeof skins));
  EXPECT_DOUBLE_EQ(reinterpret_cast<platform::CompositeSkinRecord*>(*back.skins)[1].thickness, 0.15);
  host_.memory().dispose(back.skins);
  const standin::StoredAttribute* stored = model().storedAttribute(platform::kAttrComposite, 256);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(reinterpret_cast<const platform::CompositeBody*>(stored->record.body)->skinCount, 2);
}

TEST_F(ModelOperationsTest, AttributesAndDatabaseNumbersAreKeptInTheProjectFile) {
  model().addCutPlane(platform::kDatabaseElevation, 0, 0, 5, 0, 1.5, "North", 3);
  standin::StoredAttribute zone;
  zone.record.header.typeID = platform::kAttrZoneCategory;
  std::strcpy(zone.record.header.name, "Workshop");
  standin::StoredParameter p;
  p.record.typeID = platform::kParamLength;
  std::strcpy(p.record.name, "ceiling");
  p.record.value.real = 3.2;
  zone.parameters.push_back(p);
  ASSERT_EQ(model().createAttribute(zone), 256);  // after the categories 1 to 255 every project has
  standin::StoredAttribute fill;
  fill.record.header.typeID = platform::kAttrFill;
  std::strcpy(fill.record.header.name, "Grain");
  platform::FillBody body{platform::kFillSolid, {}, {0x81, 0, 0, 0, 0, 0, 0, 0x18}, 0.002, 0.5};
  std::memcpy(fill.record.body, &body, sizeof body);
  ASSERT_EQ(model().createAttribute(fill), 256);
  model().addLayer(4, "Hidden", true, false);

  std::string error;
  const std::string path = folder_ + "/kept.trestlar";
  ASSERT_TRUE(host_.saveProject(path, error)) << error;
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("\"zoneCategory\""), std::string::npos);
  EXPECT_NE(text.find("\"number\": 3"), std::string::npos);
  ASSERT_TRUE(host_.openProject(path, error)) << error;
  const standin::StoredAttribute* zoneBack = model().storedAttribute(platform::kAttrZoneCategory, 256);
  ASSERT_NE(zoneBack, nullptr);
  EXPECT_STREQ(zoneBack->record.header.name, "Workshop");
  ASSERT_EQ(zoneBack->parameters.size(), 1u);
  EXPECT_DOUBLE_EQ(zoneBack->parameters[0].record.value.real, 3.2);
  const standin::StoredAttribute* fillBack = model().storedAttribute(platform::kAttrFill, 256);
  ASSERT_NE(fillBack, nullptr);
  EXPECT_EQ(std::memcmp(fillBack->record.body, &body, sizeof body), 0);
  ASSERT_NE(model().layer(4), nullptr);
  EXPECT_TRUE(model().layer(4)->hidden);
  standin::HostDatabase* north = model().databaseNamed("North");
  ASSERT_NE(north, nullptr);
  EXPECT_EQ(north->id.number, 3);
}

TEST_F(ModelOperationsTest, BadAttributesInAProjectFileAreRefusedByName) {
  const std::string head = R"({"format": "trestlar-project", "version": 2, "settings": {"workingUnits": "metric"},
      "attributes": [)";
  struct Case {
    std::string attribute;
    std::string problem;
  } cases[] = {
      {R"({"type": "layer", "index": 2, "name": "x"})", "names no attribute type"},
      {R"({"type": "fill", "index": 0, "name": "x"})", "\"attributes[0].index\" must be from 1"},
      {R"({"type": "fill", "index": 2, "name": ""})", "must be 1 to 31 bytes"},
      {R"({"type": "fill", "index": 2, "name": "x", "data": "@@@@"})", "is not valid base64"},
      {R"({"type": "fill", "index": 2, "name": "x", "skins": "AAAA"})", "must hold 16 bytes a skin"},
      {R"({"type": "fill", "index": 2, "name": "x", "skins": "AAAAAAAAAAAAAAAAAAAAAA=="})", "only a composite has skins"},
      {R"({"type": "pen", "index": 2, "name": "x", "parameters": []})", "only a zone category has parameters"},
      {R"({"type": "pen", "index": 2, "name": "x"}, {"type": "pen", "index": 2, "name": "y"})", "repeats pen 2"},
  };
  for (const Case& c : cases) {
    standin::ProjectData data;
    std::string error;
    EXPECT_FALSE(standin::parseProject(head + c.attribute + "]}", "bad.trestlar", data, error)) << c.attribute;
    EXPECT_NE(error.find(c.problem), std::string::npos) << error;
  }
}

TEST_F(ModelOperationsTest, AFileOrFolderMovesOnlyWhereNothingIs) {
  const platform::HostFunctionTable& t = host_.table();
  fs::create_directories(folder_ + "/from/inner");
  std::ofstream(folder_ + "/from/inner/a.txt") << "a";
  std::ofstream(folder_ + "/taken") << "b";
  const std::string from = folder_ + "/from";
  EXPECT_EQ(t.IOMoveFile(from.c_str(), (folder_ + "/taken").c_str()), platform::kErrFile);
  EXPECT_EQ(t.IOMoveFile(from.c_str(), (folder_ + "/from/inner/deeper").c_str()), platform::kErrFile);
  EXPECT_EQ(t.IOMoveFile((folder_ + "/none").c_str(), (folder_ + "/x").c_str()), platform::kErrFile);
  EXPECT_EQ(t.IOMoveFile(nullptr, from.c_str()), platform::kErrNullArgument);
  const std::string to = folder_ + "\\moved";
  ASSERT_EQ(t.IOMoveFile(from.c_str(), to.c_str()), platform::kNoError);
  EXPECT_TRUE(fs::exists(folder_ + "/moved/inner/a.txt"));
  EXPECT_FALSE(fs::exists(from));
  std::ifstream taken(folder_ + "/taken");
  std::string kept;
  taken >> kept;
  EXPECT_EQ(kept, "b");
}

}  // namespace
