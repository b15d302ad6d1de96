// Constant-section bodies along their own axis: bent in plan, in elevation or both, the far
// end moved, extended and twisted, against hand-computed arcs, volumes and extents.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/bodies/body_generator.h"
#include "host/bodies/member_axis.h"
#include "platform/parameter_records.h"
#include "support/part_parameters.h"

namespace {

using testing_support::array;
using testing_support::number;
using standin::BodyPlacement;
using standin::GeneratedModel;
using standin::generateBodies;
using standin::ParameterValues;
using standin::PartParameter;
using standin::Vec3;

constexpr double kPi = 3.14159265358979323846;

// A member of length L and section w x d centred on its axis, uncut, with further values.
std::vector<PartParameter> member(double L, double w, double d, std::vector<PartParameter> more = {}) {
  std::vector<PartParameter> p = {number("length", L),        number("profWide", w),
                                  number("profDeep", d),      number("yOffset", -w / 2),
                                  number("zOffset", -d / 2),  number("numCuts", 0, platform::kParamInteger),
                                  number("resol", 16, platform::kParamInteger)};
  p.insert(p.end(), more.begin(), more.end());
  return p;
}

double ngonArea(int n, double r) { return n / 2.0 * r * r * std::sin(2 * kPi / n); }

double polylineLength(const std::vector<Vec3>& points) {
  double total = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const Vec3 &a = points[i - 1], &b = points[i];
    total += std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
  }
  return total;
}

double axisLength(const std::vector<PartParameter>& p) {
  return polylineLength(standin::axisPoints(standin::memberAxisOf(ParameterValues(p))));
}

struct Extent {
  double x, y, z;
};

Extent extentOf(const GeneratedModel& model) {
  const standin::GeneratedBody& b = model.bodies.at(0);
  return {b.boxMax.x - b.boxMin.x, b.boxMax.y - b.boxMin.y, b.boxMax.z - b.boxMin.z};
}

// Every edge of a closed solid borders exactly two faces.
void expectClosed(const GeneratedModel& model, const std::string& what) {
  ASSERT_EQ(model.bodies.size(), 1u) << what;
  const standin::GeneratedBody& b = model.bodies[0];
  std::vector<int> uses(b.edges.size(), 0);
  for (const auto& loop : b.faceEdges)
    for (int32_t e : loop) ++uses[std::size_t(e)];
  for (std::size_t e = 0; e < uses.size(); ++e) EXPECT_EQ(uses[e], 2) << what << " edge " << e;
}

// A bend of chord 4 and rise 1: its arc turns by 4 atan(2 x 1 / 4) about a radius of 2.5
// (its half angle has sine 0.8 and cosine 0.6), so it is 10 atan(0.5) long.
const double kArc = 10 * std::atan(0.5);

TEST(MemberAxis, AStraightAxisIsTheChordWithItsFarEndMoved) {
  standin::MemberAxis axis;
  axis.length = 4;
  EXPECT_TRUE(standin::isPlainAxis(axis));
  axis.hEnd = 0.3;
  axis.vEnd = 0.4;
  EXPECT_FALSE(standin::isPlainAxis(axis));
  std::vector<Vec3> points = standin::axisPoints(axis);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[1].x, 4);
  EXPECT_DOUBLE_EQ(points[1].y, 0.3);
  EXPECT_DOUBLE_EQ(points[1].z, 0.4);
}

TEST(MemberAxis, ABendRisesInItsPlaneAndIsDividedWithinTheArcTolerance) {
  standin::MemberAxis axis;
  axis.length = 4;
  axis.hPath = 1;
  std::vector<Vec3> points = standin::axisPoints(axis);
  // The angle's steps keep the chords within 2 mm: 2 acos(1 - 0.002 / 2.5) a step, 23 steps.
  ASSERT_EQ(points.size(), 24u);
  EXPECT_NEAR(points.front().x, 0, 1e-12);
  EXPECT_NEAR(points.back().x, 4, 1e-12);
  EXPECT_NEAR(points.back().y, 0, 1e-12);
  for (const Vec3& p : points) {
    EXPECT_NEAR(p.z, 0, 1e-12);
    // Every point lies on the circle of radius 2.5 about (2, -1.5).
    EXPECT_NEAR(std::hypot(p.x - 2, p.y + 1.5), 2.5, 1e-9);
  }
  EXPECT_NEAR(polylineLength(points), kArc, 0.002);
  EXPECT_LT(polylineLength(points), kArc);

  axis.hPath = 0;
  axis.vPath = -1;
  for (const Vec3& p : standin::axisPoints(axis)) {
    EXPECT_NEAR(p.y, 0, 1e-12);
    EXPECT_NEAR(std::hypot(p.x - 2, p.z - 1.5), 2.5, 1e-9) << "a negative rise bends down";
  }
}

TEST(MemberAxis, ExtensionsRunAlongTheEndTangents) {
  standin::MemberAxis axis;
  axis.length = 4;
  axis.hPath = 1;
  const double bent = polylineLength(standin::axisPoints(axis));
  axis.startExtend = 0.5;
  axis.endExtend = 0.25;
  std::vector<Vec3> points = standin::axisPoints(axis);
  EXPECT_NEAR(polylineLength(points), bent + 0.75, 1e-9);
  // Back along the first chord, which rises a little less steeply than the arc's (0.6, 0.8).
  EXPECT_NEAR(points.front().x, -0.5 * 0.6, 0.02);
  EXPECT_NEAR(points.front().y, -0.5 * 0.8, 0.02);
  EXPECT_NEAR(points.back().x, 4 + 0.25 * 0.6, 0.02);
  EXPECT_NEAR(points.back().y, -0.25 * 0.8, 0.02);
}

struct BentCase {
  const char* what;
  std::string kind;
  std::vector<PartParameter> parameters;
  double area;          // of the section
  double developed;     // hand value of the axis' length
  double tolerance;     // of the developed length against the hand value
  Extent extent;        // hand values of the body's extent
  double extentTolerance;
};

std::vector<BentCase> bentCases() {
  const double round = ngonArea(16, 0.1);
  std::vector<BentCase> cases;
  // In plan: the arc's ends lie at 0.8 / 0.6 (sine, cosine) to the chord, so the end faces
  // reach about 0.1 x 0.8 beyond each end and 0.1 x 0.6 behind the chord; they stand square
  // to the end chords, half a step (0.04) flatter, hence the 6 mm.
  cases.push_back({"round bent in plan", "ROUN", member(4, 0.2, 0.2, {number("hPath", 1)}), round, kArc, 0.002,
                   {4 + 0.2 * 0.8, 1 + 0.1 + 0.1 * 0.6, 0.2}, 0.006});
  cases.push_back({"round bent down in elevation", "ROUN", member(4, 0.2, 0.2, {number("vPath", -1)}), round, kArc,
                   0.002, {4 + 0.2 * 0.8, 0.2, 1 + 0.1 + 0.1 * 0.6}, 0.006});
  cases.push_back({"rectangular section bent in plan", "SECT", member(4, 0.2, 0.3, {number("hPath", 1)}), 0.06, kArc,
                   0.002, {4 + 0.2 * 0.8, 1 + 0.1 + 0.1 * 0.6, 0.3}, 0.006});
  // Turned a quarter about its axis, the plan bend stands up and the section with it.
  cases.push_back({"twisted a quarter", "SECT",
                   member(4, 0.2, 0.3, {number("hPath", 1), number("twist", kPi / 2, platform::kParamAngle)}), 0.06,
                   kArc, 0.002, {4 + 0.2 * 0.8, 0.3, 1 + 0.1 + 0.1 * 0.6}, 0.006});
  // The extensions run back along the end chords, a little flatter than the arc's ends.
  cases.push_back({"extended at both ends", "ROUN",
                   member(4, 0.2, 0.2, {number("hPath", 1), number("startExtend", 0.5), number("endExtend", 0.25)}),
                   round, kArc + 0.75, 0.002, {4 + 0.2 * 0.8 + 0.75 * 0.6, 1.16 + 0.5 * 0.8, 0.2}, 0.03});
  // Straight, the far end moved 0.3 sideways and 0.4 up: a chord of 4 and a rise of 0.5.
  cases.push_back({"far end moved", "ROUN", member(4, 0.2, 0.2, {number("hEnd", 0.3), number("vEnd", 0.4)}), round,
                   std::sqrt(16.25), 1e-9, {4.0, 0.5, 0.6}, 0.05});
  return cases;
}

TEST(BentBodies, TheBodyFollowsTheAxisAndHoldsTheSectionTimesItsDevelopedLength) {
  for (const BentCase& c : bentCases()) {
    SCOPED_TRACE(c.what);
    GeneratedModel model = generateBodies(c.kind, ParameterValues(c.parameters), BodyPlacement{});
    expectClosed(model, c.what);
    if (model.bodies.empty()) continue;
    const double developed = axisLength(c.parameters);
    EXPECT_NEAR(developed, c.developed, c.tolerance);
    // Cells mitred at the axis points: each holds the section times its segment.
    EXPECT_NEAR(model.volume, c.area * developed, 1e-9);
    Extent e = extentOf(model);
    EXPECT_NEAR(e.x, c.extent.x, c.extentTolerance);
    EXPECT_NEAR(e.y, c.extent.y, c.extentTolerance);
    EXPECT_NEAR(e.z, c.extent.z, c.extentTolerance);
  }
}

TEST(BentBodies, BothBendsRunThePlanBendOverTheDevelopedElevationBend) {
  std::vector<PartParameter> p = member(4, 0.2, 0.2, {number("hPath", 0.5), number("vPath", 1)});
  GeneratedModel model = generateBodies("ROUN", ParameterValues(p), BodyPlacement{});
  expectClosed(model, "compound");
  // The curve by its rule, walked in a million steps: the elevation arc over the chord 4 with
  // rise 1 (radius 2.5), the plan arc over that arc's length with rise 0.5, its x scaled back.
  const double thetaV = 4 * std::atan(0.5), radiusV = 2.5, planChord = kArc;
  const double thetaH = 4 * std::atan(2 * 0.5 / planChord), radiusH = planChord / (2 * std::sin(thetaH / 2));
  auto at = [&](double u) {
    double pv = -thetaV / 2 + u * thetaV, ph = -thetaH / 2 + u * thetaH;
    double xp = planChord / 2 + radiusH * std::sin(ph);
    return Vec3{xp * 4 / planChord, radiusH * (std::cos(ph) - std::cos(thetaH / 2)),
                radiusV * (std::cos(pv) - std::cos(thetaV / 2))};
  };
  std::vector<Vec3> fine;
  for (int i = 0; i <= 1000000; ++i) fine.push_back(at(i / 1e6));
  const double developed = polylineLength(fine);
  EXPECT_GT(developed, kArc);
  EXPECT_NEAR(axisLength(p), developed, 0.002);
  EXPECT_NEAR(model.volume, ngonArea(16, 0.1) * axisLength(p), 1e-9);
  // Each rise plus at most the section across it.
  Extent e = extentOf(model);
  EXPECT_GT(e.y, 0.5);
  EXPECT_LT(e.y, 0.5 + 0.2);
  EXPECT_GT(e.z, 1);
  EXPECT_LT(e.z, 1 + 0.2);
}

TEST(BentBodies, AnExtrudedProfileIsSweptTriangleByTriangle) {
  // A profile 0.2 wide and 0.1 deep, centred on the axis: a profile part's rows run from its
  // box's corner, y across the width and x across the depth.
  const std::string script = "put 0, 0, 1, 0.1, 0, 1, 0.1, 0.2, 1, 0, 0.2, 1\n";
  std::vector<PartParameter> p = member(4, 0.2, 0.1, {number("vPath", 1)});
  GeneratedModel model = generateBodies("EXTR", ParameterValues(p), BodyPlacement{}, script);
  expectClosed(model, "extruded");
  EXPECT_NEAR(model.volume, 0.02 * axisLength(p), 1e-9);
}

TEST(BentBodies, SquareEndCutsTrimTheTiltedEndsToTheChord) {
  // Each square cut takes the wedge behind the chord's end: depth x (w^2 / 8) x the slope of
  // the end segment (a little under the arc's 4/3).
  std::vector<PartParameter> p = member(4, 0.2, 0.3, {number("hPath", 1)});
  p[5] = number("numCuts", 2, platform::kParamInteger);
  p.push_back(array("cutAngle", 2, 2, {0, -kPi / 2, 0, kPi / 2}, platform::kParamAngle));
  p.push_back(array("cutOffset", 2, 1, {0, 0}));
  std::vector<Vec3> axis = standin::axisPoints(standin::memberAxisOf(ParameterValues(p)));
  const double slope = axis[1].y / axis[1].x;
  EXPECT_NEAR(slope, 4.0 / 3, 0.15);
  GeneratedModel model = generateBodies("SECT", ParameterValues(p), BodyPlacement{});
  ASSERT_EQ(model.bodies.size(), 1u);
  EXPECT_NEAR(model.volume, 0.06 * polylineLength(axis) - 2 * 0.3 * (0.04 / 8) * slope, 1e-9);
  Extent e = extentOf(model);
  EXPECT_NEAR(e.x, 4, 1e-9);
}

TEST(BentBodies, APlainStraightMemberKeepsItsPrismAndIgnoresTwist) {
  std::vector<PartParameter> p = member(3, 0.2, 0.3, {number("twist", 0.7, platform::kParamAngle)});
  GeneratedModel model = generateBodies("SECT", ParameterValues(p), BodyPlacement{});
  ASSERT_EQ(model.bodies.size(), 1u);
  EXPECT_EQ(model.bodies[0].faces.size(), 6u);
  EXPECT_NEAR(model.volume, 0.18, 1e-12);
  Extent e = extentOf(model);
  EXPECT_NEAR(e.y, 0.2, 1e-12);
  EXPECT_NEAR(e.z, 0.3, 1e-12);
}

TEST(BentBodies, OtherKindsAreNotBent) {
  // Only the constant-section kinds follow a bend; a rectilinear member stays straight.
  std::vector<PartParameter> p = member(4, 0.2, 0.3, {number("hPath", 1)});
  GeneratedModel model = generateBodies("RECT", ParameterValues(p), BodyPlacement{});
  EXPECT_NEAR(model.volume, 4 * 0.06, 1e-12);
  EXPECT_NEAR(extentOf(model).y, 0.2, 1e-12);
}

}  // namespace
