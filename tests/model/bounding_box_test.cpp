// Element boxes through the stand-in host: the 3D model's extent where there is one, else the
// host's box of the element lifted to where it stands, for every kind of element.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/element_kinds.h"
#include "model_fixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Box {
  double x0, y0, z0, x1, y1, z1;
};

class BoundingBoxTest : public testing_support::ModelHost {
 protected:
  void SetUp() override {
    ModelHost::SetUp();
    ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_FIXTURES) + "/model/parts"));
    // Everything below stands on the first floor, 3 m up.
    model().setStoreys({{0, 0.0, "Ground"}, {1, 3.0, "First"}}, 1);
  }

  // Creates an element of kind on the first floor from a record filled by fill.
  standin::HostElement& make(int32_t kind, const std::function<void(platform::ElementRecord&)>& fill) {
    platform::ElementRecord r = model().defaults(kind);
    r.header.storey = 1;
    fill(r);
    return model().create(model().plan(), r);
  }

  // A polygon memo of one closed contour; arcs[i] is the angle of the edge ending at vertex i.
  static standin::StoredPolygon contour(const std::vector<platform::Coord2D>& points, const std::vector<double>& arcs) {
    standin::StoredPolygon p;
    p.coords.push_back({0, 0});
    p.ids.push_back(int32_t(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) {
      p.coords.push_back(points[i]);
      p.ids.push_back(int32_t(i) + 1);
      int32_t at = int32_t(p.coords.size()) - 1;
      if (i > 0 && i < arcs.size() && arcs[i] != 0) p.arcs.push_back({at - 1, at, arcs[i]});
    }
    p.coords.push_back(points[0]);
    p.ids.push_back(1);
    p.ends = {0, int32_t(p.coords.size()) - 1};
    return p;
  }

  std::unique_ptr<lunvik::Element> read(const standin::HostElement& e) {
    return plan().findByGuid(lunvik::ElementLink(e.header()));
  }
};

void expectBox(const lunvik::CadCube* box, const Box& want, const std::string& what) {
  ASSERT_NE(box, nullptr) << what;
  lunvik::CadCube b(*box);
  EXPECT_NEAR(b.min().getX(), want.x0, 1e-9) << what;
  EXPECT_NEAR(b.min().getY(), want.y0, 1e-9) << what;
  EXPECT_NEAR(b.min().getZ(), want.z0, 1e-9) << what;
  EXPECT_NEAR(b.max().getX(), want.x1, 1e-9) << what;
  EXPECT_NEAR(b.max().getY(), want.y1, 1e-9) << what;
  EXPECT_NEAR(b.max().getZ(), want.z1, 1e-9) << what;
}

TEST_F(BoundingBoxTest, EveryKindHasABoxWhereItStands) {
  const double r2 = std::sqrt(0.5);
  struct Case {
    const char* what;
    int32_t kind;
    std::function<void(platform::ElementRecord&)> fill;
    std::function<void(standin::HostElement&)> memo;
    Box want;
  } cases[] = {
      {"a text of given width and height, turned a quarter", platform::kText,
       [](platform::ElementRecord& r) {
         r.text.loc = {1, 2};
         r.text.width = 2;
         r.text.height = 0.5;
         r.text.angle = kPi / 2;
       },
       [](standin::HostElement& e) { e.text = "label"; }, {0.5, 2, 3, 1, 4, 3}},
      {"a text sized by its letters: two lines, the longest of four", platform::kText,
       [](platform::ElementRecord& r) { r.text.size = 2.5; },  // 2.5 mm at 1:100: 0.25 m a line
       [](standin::HostElement& e) { e.text = "ab\ncdef"; }, {0, 0, 3, 0.6, 0.5, 3}},
      {"a line at its level", platform::kLine,
       [](platform::ElementRecord& r) {
         r.line.begC = {4, 3};
         r.line.endC = {1, 1};
         r.line.level = 0.5;
       },
       nullptr, {1, 1, 3.5, 4, 3, 3.5}},
      {"a hotspot is a point", platform::kHotspot,
       [](platform::ElementRecord& r) {
         r.line.begC = {2, 5};
         r.line.level = 1;
       },
       nullptr, {2, 5, 4, 2, 5, 4}},
      {"a circle", platform::kCircle,
       [](platform::ElementRecord& r) {
         r.circle.origC = {1, 1};
         r.circle.r = 2;
       },
       nullptr, {-1, -1, 3, 3, 3, 3}},
      {"a quarter arc", platform::kArc,
       [](platform::ElementRecord& r) {
         r.circle.r = 1;
         r.circle.begAng = 0;
         r.circle.endAng = kPi / 2;
       },
       nullptr, {0, 0, 3, 1, 1, 3}},
      {"an arc over the top", platform::kArc,
       [](platform::ElementRecord& r) {
         r.circle.r = 1;
         r.circle.begAng = kPi / 4;
         r.circle.endAng = 3 * kPi / 4;
       },
       nullptr, {-r2, r2, 3, r2, 1, 3}},
      {"a hatch with a bulging edge, at its level", platform::kHatch,
       [](platform::ElementRecord& r) { r.polygon.level = 0.25; },
       [](standin::HostElement& e) { e.polygon = contour({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {0, 0, kPi, 0}); },
       {0, 0, 3.25, 3, 2, 3.25}},
      {"a slab hangs its thickness below its level", platform::kSlab,
       [](platform::ElementRecord& r) {
         r.polygon.level = 0.2;
         r.polygon.thickness = 0.3;
       },
       [](standin::HostElement& e) { e.polygon = contour({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, {}); },
       {0, 0, 2.9, 4, 4, 3.2}},
      {"a wall: its line widened to its left, its height up", platform::kWall,
       [](platform::ElementRecord& r) {
         r.solid.begC = {0, 0};
         r.solid.endC = {4, 0};
         r.solid.width = 0.3;
         r.solid.height = 2.7;
       },
       nullptr, {0, 0, 3, 4, 0.3, 5.7}},
      {"a column: its width and depth about its point", platform::kColumn,
       [](platform::ElementRecord& r) {
         r.solid.begC = r.solid.endC = {1, 1};
         r.solid.width = 0.4;
         r.solid.depth = 0.6;
         r.solid.height = 2;
       },
       nullptr, {0.8, 0.7, 3, 1.2, 1.3, 5}},
  };
  for (const Case& c : cases) {
    standin::HostElement& e = make(c.kind, c.fill);
    if (c.memo) c.memo(e);
    auto element = read(e);
    ASSERT_NE(element, nullptr) << c.what;
    auto box = element->boundingBox();
    expectBox(box.get(), c.want, c.what);
  }
}

TEST_F(BoundingBoxTest, APlacedPartWithoutABodyHasItsFootprintAndHeight) {
  standin::ParameterValue height = standin::ParameterValue::ofNumber("ZZYZX", 0.5);
  height.type = platform::kParamLength;
  standin::HostElement* bracket = model().placeObject("Bracket", {height}, 1, 1, 0.1, 0);
  ASSERT_NE(bracket, nullptr);
  bracket->record.header.storey = 1;
  auto element = read(*bracket);
  ASSERT_NE(element, nullptr);
  expectBox(element->boundingBox().get(), {1, 1, 3.1, 1.4, 1.25, 3.6}, "as placed");
  EXPECT_NEAR(element->height(), 0.5, 1e-9);
  EXPECT_NEAR(element->width(), 0.4, 1e-9);
  EXPECT_NEAR(element->depth(), 0.25, 1e-9);
  // Mirrored, it reaches the other way from its placement point.
  bracket->record.part.mirrored = 1;
  expectBox(read(*bracket)->boundingBox().get(), {0.6, 1, 3.1, 1.0, 1.25, 3.6}, "mirrored");
}

TEST_F(BoundingBoxTest, APlacedTimberTakesItsBodysExtent) {
  ASSERT_TRUE(host().addLibraryFolder(std::string(TRESTLAR_SOURCE_DIR) + "/library"));
  standin::ParameterValue length = standin::ParameterValue::ofNumber("length", 2);
  length.type = platform::kParamLength;
  standin::HostElement* member = model().placeObject("Rectilinear", {length}, 1, 2, 0, 0);
  ASSERT_NE(member, nullptr);
  auto element = read(*member);
  ASSERT_NE(element, nullptr);
  auto box = element->boundingBox();
  ASSERT_NE(box, nullptr);
  EXPECT_NEAR(box->max().getX() - box->min().getX(), 2, 1e-6);
  // The host answers the same box, measured from the member's elevation.
  platform::Box3DRecord host{};
  ASSERT_TRUE(standin::elementBox(*member, host));
  EXPECT_NEAR(host.xMin, box->min().getX(), 1e-6);
  EXPECT_NEAR(host.zMax + element->elevation(true), box->max().getZ(), 1e-6);
}

TEST_F(BoundingBoxTest, KindsWithoutABoxAndElementsNotInTheHostAnswerNone) {
  standin::HostElement& image = make(platform::kImage, [](platform::ElementRecord&) {});
  auto element = read(image);
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->boundingBox(), nullptr);
  EXPECT_EQ(element->height(), 0.0);
  // A line not stored yet has no box; a new object has its footprint.
  lunvik::Line line(lunvik::CadPoint(0, 0, 0), lunvik::CadPoint(1, 1, 0));
  EXPECT_EQ(line.boundingBox(), nullptr);
  lunvik::Object object;
  object.setSize(2, 1);
  auto footprint = object.boundingBox();
  ASSERT_NE(footprint, nullptr);
  EXPECT_NEAR(footprint->max().getX(), 2, 1e-9);
}

}  // namespace
