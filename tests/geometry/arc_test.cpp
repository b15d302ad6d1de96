#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/cad_arc.h"
#include "geometry/cad_cube.h"
#include "geometry/cad_line.h"
#include "geometry/intersect_list.h"
#include "geometry/matrix.h"
#include "geometry/plane.h"
#include "geometry/poly_point.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

CadArc quarter() { return CadArc(CadPoint(0, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kHalfPi); }

struct ThreePointCase {
  CadPoint p1, p2, p3;
  CadPoint centre;
  double radius, start, sweep;
};

TEST(CadArcTest, ThroughThreePoints) {
  const ThreePointCase cases[] = {
      {CadPoint(1, 0, 0), CadPoint(0, 1, 0), CadPoint(-1, 0, 0), CadPoint(0, 0, 0), 1, 0, kPi},
      {CadPoint(-1, 0, 0), CadPoint(0, 1, 0), CadPoint(1, 0, 0), CadPoint(0, 0, 0), 1, kPi, -kPi},
      {CadPoint(3, 2, 5), CadPoint(2, 3, 5), CadPoint(1, 2, 5), CadPoint(2, 2, 5), 1, 0, kPi},
      {CadPoint(1, 0, 0), CadPoint(0, -1, 0), CadPoint(0, 1, 0), CadPoint(0, 0, 0), 1, 0, -3 * kHalfPi},
  };
  for (const auto& c : cases) {
    const CadArc arc(c.p1, c.p2, c.p3);
    expectPoint(arc.centre(), c.centre.getX(), c.centre.getY(), c.centre.getZ(), 1e-9);
    EXPECT_NEAR(arc.radius(), c.radius, 1e-9);
    EXPECT_NEAR(arc.startAngle(), c.start, 1e-9);
    EXPECT_NEAR(arc.sweep(), c.sweep, 1e-9);
    EXPECT_EQ(arc.locate(c.p2, kTolerance), kLocOn);
  }
  EXPECT_FALSE(CadArc(CadPoint(0, 0, 0), CadPoint(1, 1, 0), CadPoint(2, 2, 0)).isValid(kTolerance));
}

TEST(CadArcTest, ThroughThreePointsInATiltedPlane) {
  const CadPoint p1(1, 0, 0), p2(0, 0, 1), p3(-1, 0, 0);
  const CadArc arc(p1, p2, p3);
  ASSERT_TRUE(arc.isValid(kTolerance));
  expectPoint(arc.centre(), 0, 0, 0, 1e-9);
  expectPoint(arc.startPoint(), 1, 0, 0, 1e-9);
  expectPoint(arc.endPoint(), -1, 0, 0, 1e-9);
  expectPoint(arc.midpoint(), 0, 0, 1, 1e-9);
}

TEST(CadArcTest, FromAPolygonEdge) {
  const CadArc arc(CadPoint(0, 0, 0), PolyPoint(2, 0, 0, kPi, 0));
  EXPECT_NEAR(arc.radius(), 1.0, 1e-12);
  expectPoint(arc.centre(), 1, 0, 0, 1e-12);
  EXPECT_NEAR(arc.startAngle(), kPi, 1e-12);
  expectPoint(arc.endPoint(), 2, 0, 0, 1e-12);
  EXPECT_FALSE(CadArc(CadPoint(0, 0, 0), PolyPoint(2, 0, 0, 0.000005, 0)).isValid(kTolerance));
  EXPECT_FALSE(CadArc(CadPoint(0, 0, 0), PolyPoint(0.000005, 0, 0, 1.0, 0)).isValid(kTolerance));
}

TEST(CadArcTest, FromACentreAndTwoPoints) {
  const CadArc ccw(CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(0, -1, 0), false);
  EXPECT_NEAR(ccw.sweep(), 3 * kHalfPi, 1e-12);
  const CadArc cw(CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(0, 1, 0), true);
  EXPECT_NEAR(cw.sweep(), -3 * kHalfPi, 1e-12);
  EXPECT_EQ(CadArc(CadPoint(), CadPoint(1, 0, 0), CadPoint(2, 0, 0), true).sweep(), 0.0);
}

TEST(CadArcTest, BoundingBoxAddsTheQuarterPoints) {
  const auto q = quarter().boundingBox();
  ASSERT_NE(q, nullptr);
  expectPoint(q->min(), 0, 0, 0, 1e-12);
  expectPoint(q->max(), 1, 1, 0, 1e-12);
  const auto half = CadArc(CadPoint(), Vector3(0, 0, 1), 1.0, kHalfPi, kPi).boundingBox();
  expectPoint(half->min(), -1, -1, 0, 1e-12);
  expectPoint(half->max(), 0, 1, 0, 1e-12);
  const auto clockwise = CadArc(CadPoint(), Vector3(0, 0, 1), 1.0, kHalfPi, -kPi).boundingBox();
  expectPoint(clockwise->min(), 0, -1, 0, 1e-12);
  expectPoint(clockwise->max(), 1, 1, 0, 1e-12);
  EXPECT_EQ(CadArc(CadPoint(), Vector3(1, 0, 0), 1.0, 0.0, 1.0).boundingBox(), nullptr);
}

struct ArcLocateCase {
  CadPoint point;
  int expected;
};

TEST(CadArcTest, Locate2DCodes) {
  const CadArc arc = quarter();
  const ArcLocateCase cases[] = {
      {CadPoint(0.5, 0.5, 0), kLocInside},
      {CadPoint(2, 0, 0), kLocOutside},
      {CadPoint(-1, 0, 0), kLocOnCircle},
      {CadPoint(0.7071068, 0.7071068, 0), kLocOn},
      {CadPoint(1, 0.000005, 0), kLocStart},
      {CadPoint(0, 1, 0), kLocEnd},
      {CadPoint(std::cos(-0.000004), std::sin(-0.000004), 0), kLocStart},
      {CadPoint(std::cos(-0.001), std::sin(-0.001), 0), kLocOnCircle},
  };
  for (const auto& c : cases) EXPECT_EQ(arc.locate2D(c.point, kTolerance), c.expected) << c.point.getX();
  EXPECT_EQ(CadArc().locate2D(CadPoint(), kTolerance), kLocNone);
  // isOn2D accepts only the codes on the arc.
  EXPECT_FALSE(arc.isOn2D(CadPoint(0.5, 0.5, 0), kTolerance));
  EXPECT_TRUE(arc.isOn2D(CadPoint(0, 1, 0), kTolerance));
  // In space the point must also lie in the arc's plane.
  EXPECT_EQ(arc.locate(CadPoint(0.7071068, 0.7071068, 0.1), kTolerance), kLocNone);
}

TEST(CadArcTest, CircleCircleInOnePlane) {
  const CadArc a(CadPoint(0, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi);
  IntersectList touching(Intercept{kLocAny, 0, 0}, Intercept{kLocAny, 0, 0});
  EXPECT_EQ(a.intersect2D(CadArc(CadPoint(2, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi), touching, kTolerance), 1);
  expectPoint(touching.at(0), 1, 0, 0, 1e-9);

  IntersectList crossing(Intercept{kLocAny, 0, 0}, Intercept{kLocAny, 0, 0});
  EXPECT_EQ(a.intersect2D(CadArc(CadPoint(1, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi), crossing, kTolerance), 2);
  const double h = std::sqrt(3.0) / 2.0;
  const double y0 = crossing.at(0).getY(), y1 = crossing.at(1).getY();
  EXPECT_NEAR(std::min(y0, y1), -h, 1e-9);
  EXPECT_NEAR(std::max(y0, y1), h, 1e-9);
  EXPECT_NEAR(crossing.at(0).getX(), 0.5, 1e-9);

  // Each point counts only when the list accepts it: the upper arc alone takes one.
  const CadArc upper(CadPoint(0, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kPi);
  IntersectList onArc(Intercept{kLocOn, 0, 0}, Intercept{});
  EXPECT_EQ(upper.intersect2D(CadArc(CadPoint(1, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi), onArc, kTolerance), 1);
  EXPECT_GT(onArc.at(0).getY(), 0.0);

  IntersectList none;
  EXPECT_EQ(a.intersect2D(CadArc(CadPoint(0, 0, 0), Vector3(0, 0, 1), 2.0, 0.0, 1.0), none, kTolerance), 0);
  EXPECT_EQ(a.intersect2D(CadArc(CadPoint(5, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, 1.0), none, kTolerance), 0);
  EXPECT_EQ(a.intersect2D(CadArc(CadPoint(0.2, 0, 0), Vector3(0, 0, 1), 0.3, 0.0, 1.0), none, kTolerance), 0);
}

TEST(CadArcTest, CircleLineCasesIncludingATangent) {
  const CadArc circle(CadPoint(0, 0, 2), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi);
  IntersectList through;
  EXPECT_EQ(circle.intersect2D(CadLine(CadPoint(-3, 0, 0), CadPoint(3, 0, 0)), through, kTolerance), 2);
  EXPECT_NEAR(std::fabs(through.at(0).getX()), 1.0, 1e-12);
  EXPECT_NEAR(through.at(0).getZ(), 2.0, 1e-12);  // on the arc's plane
  IntersectList tangent;
  EXPECT_EQ(circle.intersect2D(CadLine(CadPoint(-3, 1, 0), CadPoint(3, 1, 0)), tangent, kTolerance), 1);
  expectPoint(tangent.at(0), 0, 1, 2, 1e-12);
  // Passing 0.000005 outside the circle still touches it; 0.0001 outside misses.
  IntersectList grazing;
  EXPECT_EQ(circle.intersect2D(CadLine(CadPoint(-3, 1.000005, 0), CadPoint(3, 1.000005, 0)), grazing, kTolerance), 1);
  IntersectList miss;
  EXPECT_EQ(circle.intersect2D(CadLine(CadPoint(-3, 1.0001, 0), CadPoint(3, 1.0001, 0)), miss, kTolerance), 0);
  IntersectList chord;
  EXPECT_EQ(circle.intersect2D(CadLine(CadPoint(-3, 0.5, 0), CadPoint(3, 0.5, 0)), chord, kTolerance), 2);
  EXPECT_NEAR(std::fabs(chord.at(0).getX()), std::sqrt(0.75), 1e-12);
}

TEST(CadArcTest, LineThroughTheArcsPlane) {
  const CadArc arc = quarter();
  const double c = std::sqrt(0.5);
  IntersectList list;
  EXPECT_EQ(arc.intersect(CadLine(CadPoint(c, c, -1), CadPoint(c, c, 1)), list, kTolerance), 1);
  expectPoint(list.at(0), c, c, 0, 1e-9);
  IntersectList outside;
  EXPECT_EQ(arc.intersect(CadLine(CadPoint(3, 0, -1), CadPoint(3, 0, 1)), outside, kTolerance), 0);
  // A line parallel to the plane but above it does not meet the arc.
  IntersectList above;
  EXPECT_EQ(arc.intersect(CadLine(CadPoint(-3, 0.5, 1), CadPoint(3, 0.5, 1)), above, kTolerance), 0);
  IntersectList inPlane;
  EXPECT_EQ(arc.intersect(CadLine(CadPoint(-3, 0.5, 0), CadPoint(3, 0.5, 0)), inPlane, kTolerance), 2);
}

TEST(CadArcTest, ArcsInCrossingPlanes) {
  // The planes meet in the X axis: the flat circle crosses it at -1 and 1, the upright one
  // at -1 and 3, so only (-1, 0, 0) lies on both.
  const CadArc flat(CadPoint(0, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi);
  const CadArc upright(CadPoint(1, 0, 0), Vector3(0, 1, 0), 2.0, 0.0, kTwoPi);
  IntersectList onBoth(Intercept{kLocAny, 0, 0}, Intercept{kLocOn | kLocStart | kLocEnd, 0, 0});
  ASSERT_EQ(flat.intersect(upright, onBoth, kTolerance), 1);
  expectPoint(onBoth.at(0), -1, 0, 0, 1e-9);
  EXPECT_EQ(onBoth.at(0).second().code, kLocOn);
  // Accepting every code keeps (1, 0, 0) too, inside the upright circle.
  IntersectList any(Intercept{kLocAny, 0, 0}, Intercept{kLocAny, 0, 0});
  ASSERT_EQ(flat.intersect(upright, any, kTolerance), 2);
  EXPECT_TRUE(any.at(0).second().code == kLocInside || any.at(1).second().code == kLocInside);
  IntersectList plane;
  EXPECT_EQ(flat.intersect(Plane(CadPoint(0.5, 0, 0), Vector3(1, 0, 0)), plane, kTolerance), 2);
}

TEST(CadArcTest, NearestPointIsThePointOfTheArc) {
  const CadArc arc = quarter();
  expectPoint(arc.nearestPoint(CadPoint(2, 2, 3), kTolerance), std::sqrt(0.5), std::sqrt(0.5), 0, 1e-12);
  expectPoint(arc.nearestPoint(CadPoint(2, -1, 0), kTolerance), 1, 0, 0, 1e-12);
  expectPoint(arc.nearestPoint(CadPoint(-1, 0.2, 0), kTolerance), 0, 1, 0, 1e-12);
  expectPoint(arc.nearestPoint(CadPoint(0, 0, 5), kTolerance), 1, 0, 0, 1e-12);
  // The circle's point toward the point, even outside the arc.
  expectPoint(arc.nearestPoint(CadPoint(-2, 0, 0)), -1, 0, 0, 1e-12);
}

TEST(CadArcTest, NearestPointIsNeverFartherThanAnySampleOfTheArc) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-3.0, 3.0);
  const CadArc arc(CadPoint(0.5, -0.2, 0.3), Vector3(0, 0, 1), 1.3, 2.0, -2.5);
  for (int i = 0; i < 200; ++i) {
    const CadPoint p(u(rng), u(rng), u(rng));
    const double best = arc.nearestPoint(p, kTolerance).distance(p);
    for (int k = 0; k <= 100; ++k) {
      const CadPoint sample = arc.pointAt(arc.startAngle() + arc.sweep() * k / 100.0);
      EXPECT_LE(best, sample.distance(p) + 1e-9);
    }
  }
}

TEST(CadArcTest, PointToward) {
  const CadArc arc = quarter();
  expectPoint(arc.pointToward(CadPoint(3, 3, 0), kTolerance), std::sqrt(0.5), std::sqrt(0.5), 0, 1e-9);
  expectPoint(arc.pointToward(CadPoint(3, -0.5, 0), kTolerance), 1, 0, 0, 1e-9);
  expectPoint(arc.pointToward(CadPoint(-3, 0.5, 0), kTolerance), 0, 1, 0, 1e-9);
  expectPoint(arc.pointToward(CadPoint(0, 0, 0), kTolerance), 1, 0, 0, 1e-9);
}

TEST(CadArcTest, EqualityComparesTheLowerEnd) {
  const CadArc arc = quarter();
  CadArc reversed = arc;
  reversed.reverse();
  EXPECT_NEAR(reversed.startAngle(), kHalfPi, 1e-15);
  EXPECT_TRUE(arc == reversed);
  EXPECT_TRUE(arc == CadArc(CadPoint(), Vector3(0, 0, 1), 1.0, kTwoPi, kHalfPi));
  EXPECT_FALSE(arc == CadArc(CadPoint(), Vector3(0, 0, 1), 1.0, 0.1, kHalfPi));
  EXPECT_TRUE(arc.equals2D(arc + CadPoint(0, 0, 4), kTolerance));
  EXPECT_FALSE(arc.equals(arc + CadPoint(0, 0, 4), kTolerance));
}

TEST(CadArcTest, MatrixTransformsTurnAndMirrorTheArc) {
  const CadArc arc(CadPoint(1, 0, 0), Vector3(0, 0, 1), 1.0, 0.0, kHalfPi);
  const CadArc turned = arc * Matrix3x3::rotationZ(kHalfPi);
  expectPoint(turned.startPoint(), 0, 2, 0, 1e-12);
  expectPoint(turned.endPoint(), -1, 1, 0, 1e-12);
  const CadArc mirrored = arc * Matrix3x3(-1, 1, 1);
  expectPoint(mirrored.startPoint(), -2, 0, 0, 1e-12);
  expectPoint(mirrored.endPoint(), -1, 1, 0, 1e-12);
  EXPECT_LT(mirrored.sweep(), 0.0);
  const CadArc flipped = arc * -1.0;
  expectPoint(flipped.startPoint(), -2, 0, 0, 1e-12);
  expectPoint(flipped.endPoint(), -1, -1, 0, 1e-12);
}

TEST(CadArcTest, SettersAndLength) {
  CadArc arc = quarter();
  arc.setEndAngle(kPi);
  EXPECT_NEAR(arc.sweep(), kPi, 1e-15);
  arc.turn(kHalfPi);
  EXPECT_NEAR(arc.endAngle(), 3 * kHalfPi, 1e-15);
  arc.addRadius(1.0);
  EXPECT_NEAR(arc.length(), 2 * kPi, 1e-12);
  EXPECT_EQ(arc.spare(), 0.0);
  const PolyPoint end = arc.endPoint();
  EXPECT_NEAR(end.arcAngle(), kPi, 1e-15);
  EXPECT_EQ(end.vertexId(), 0);
}

}  // namespace
}  // namespace lunvik
