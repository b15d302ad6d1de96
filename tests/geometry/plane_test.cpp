#include <gtest/gtest.h>

#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/inter_point.h"
#include "geometry/matrix.h"
#include "geometry/plane.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

TEST(PlaneTest, ThroughThreePoints) {
  EXPECT_EQ(Plane::through(CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(2, 0, 0)), nullptr);
  EXPECT_EQ(Plane::through(CadPoint(1, 1, 1), CadPoint(1, 1, 1), CadPoint(2, 0, 0)), nullptr);
  const auto p = Plane::through(CadPoint(0, 0, 1), CadPoint(1, 0, 1), CadPoint(0, 1, 1));
  ASSERT_NE(p, nullptr);
  expectPoint(p->normal().toPoint(), 0, 0, -1);
  EXPECT_NEAR(p->getOffset(), -1.0, 1e-12);
}

TEST(PlaneTest, FactoriesRefuseAZeroNormal) {
  EXPECT_EQ(Plane::fromNormal(Vector3(0, 0, 0.000001), 1.0), nullptr);
  EXPECT_EQ(Plane::fromPoint(CadPoint(), Vector3()), nullptr);
  const auto p = Plane::fromPoint(CadPoint(0, 0, 2), Vector3(0, 0, 5));
  ASSERT_NE(p, nullptr);
  EXPECT_NEAR(p->getOffset(), 2.0, 1e-12);
  EXPECT_NEAR(p->normal().length(), 1.0, 1e-12);
}

struct SideCase {
  double z;
  int expected;
};

TEST(PlaneTest, SideUsesTheTolerance) {
  const Plane ground;
  const SideCase cases[] = {{0.000005, kLocOn}, {-0.000005, kLocOn}, {0.00002, kLocInside}, {-0.00002, kLocOutside}};
  for (const auto& c : cases) EXPECT_EQ(ground.side(CadPoint(3, 4, c.z), kTolerance), c.expected) << c.z;
}

TEST(PlaneTest, ProjectDistanceAndHeight) {
  const Plane tilted(CadPoint(0, 0, 1), Vector3(0, 1, 1));
  const CadPoint p(2, 3, 5);
  const CadPoint foot = tilted.project(p);
  EXPECT_NEAR(tilted.distance(foot), 0.0, 1e-12);
  EXPECT_NEAR(tilted.distance(p), (3 + 5 - 1) / std::sqrt(2.0), 1e-12);
  // y + z = 1 over (7, 0.5): z = 0.5.
  EXPECT_NEAR(tilted.heightAt(CadPoint(7, 0.5, 99), kTolerance), 0.5, 1e-12);
  const Plane wall(CadPoint(0, 0, 0), Vector3(1, 0, 0));
  EXPECT_EQ(wall.heightAt(CadPoint(1, 2, 3), kTolerance), 3.0);
}

TEST(PlaneTest, IntersectWithALine) {
  const Plane ground;
  const auto hit = ground.intersect(CadLine(CadPoint(1, 1, 3), CadPoint(2, 1, 2)), kTolerance);
  ASSERT_NE(hit, nullptr);
  expectPoint(*hit, 4, 1, 0);
  EXPECT_EQ(hit->first().code, 0);
  EXPECT_EQ(ground.intersect(CadLine(CadPoint(0, 0, 1), CadPoint(5, 0, 1)), kTolerance), nullptr);
}

TEST(PlaneTest, IntersectWithAPlaneSolvesBothEquations) {
  const Plane a(CadPoint(0, 0, 2), Vector3(0, 0, 1));
  const Plane b(CadPoint(3, 0, 0), Vector3(1, 1, 0));
  const auto line = a.intersect(b);
  ASSERT_NE(line, nullptr);
  for (const CadPoint& p : {line->start(), line->end()}) {
    EXPECT_NEAR(a.distance(p), 0.0, 1e-12);
    EXPECT_NEAR(b.distance(p), 0.0, 1e-12);
  }
  EXPECT_EQ(a.intersect(a + CadPoint(0, 0, 1)), nullptr);
}

TEST(PlaneTest, TransformsKeepThePointsOfThePlane) {
  const Plane p(CadPoint(0, 0, 2), Vector3(0, 0, 1));
  const Plane moved = p + CadPoint(5, 5, 1);
  EXPECT_NEAR(moved.getOffset(), 3.0, 1e-12);
  // A rotation about X by 90 degrees takes z = 2 to y = -2.
  const Plane turned = p * Matrix3x3::rotationX(kHalfPi);
  EXPECT_NEAR(turned.distance(CadPoint(7, -2, 9)), 0.0, 1e-12);
  // A translation moves the plane but never tilts its normal.
  Matrix4x4 shift = Matrix4x4::identity();
  shift(0, 3) = 4.0;
  shift(2, 3) = 1.0;
  const Plane shifted = p * shift;
  expectPoint(shifted.normal().toPoint(), 0, 0, 1);
  EXPECT_NEAR(shifted.getOffset(), 3.0, 1e-12);
  // Scaling by a negative factor gives the plane through the scaled points.
  const Plane scaled = p * -2.0;
  EXPECT_NEAR(scaled.distance(CadPoint(1, 1, -4)), 0.0, 1e-12);
}

TEST(PlaneTest, NonUniformScalingKeepsThePlaneThroughTheImages) {
  const Plane p(CadPoint(1, 0, 0), Vector3(1, 1, 0));  // x + y = 1
  const Plane q = p * Matrix3x3(2, 1, 1);               // x/2 + y = 1
  EXPECT_NEAR(q.distance(CadPoint(2, 0, 0)), 0.0, 1e-12);
  EXPECT_NEAR(q.distance(CadPoint(0, 1, 0)), 0.0, 1e-12);
}

TEST(PlaneTest, SetNormalIgnoresAZeroVector) {
  Plane p;
  p.setNormal(Vector3(0, 0, 0.000001));
  expectPoint(p.normal().toPoint(), 0, 0, 1);
  p.setNormal(Vector3(0, 0, 2));
  expectPoint(p.normal().toPoint(), 0, 0, 2);  // not normalised
}

}  // namespace
}  // namespace lunvik
