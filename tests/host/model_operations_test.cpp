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

}  // namespace
