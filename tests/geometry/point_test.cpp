#include <gtest/gtest.h>

#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/cad_point.h"
#include "geometry/matrix.h"
#include "geometry/poly_point.h"
#include "geometry/vector3.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

struct AzimuthCase {
  CadPoint to;
  double expected;
};

TEST(CadPointTest, AzimuthFollowsThePlanDirectionRule) {
  const AzimuthCase cases[] = {
      {CadPoint(0, 0, 0), 0.0},             // to itself
      {CadPoint(0, 5, 0), kHalfPi},         // straight up the Y axis
      {CadPoint(0, -5, 0), 3 * kHalfPi},    // straight down
      {CadPoint(-1, -1, 0), 5 * kPi / 4},   // third quadrant
      {CadPoint(1, -1, 0), 7 * kPi / 4},    // fourth quadrant stays in [0, 2pi)
      {CadPoint(-1, 0, 0), kPi},
      {CadPoint(0.000009, 3, 0), kHalfPi},  // dx within the tolerance counts as vertical
  };
  for (const auto& c : cases) EXPECT_NEAR(CadPoint().azimuth(c.to), c.expected, 1e-12) << c.to.getX();
}

struct AltitudeCase {
  CadPoint to;
  double expected;
};

TEST(CadPointTest, AltitudeIsVerticalWhenThePlanOffsetIsWithinTheTolerance) {
  const AltitudeCase cases[] = {
      {CadPoint(0.000009, 0, 2), kHalfPi},
      {CadPoint(0, 0, -2), -kHalfPi},
      {CadPoint(0, 0, 0.000001), 0.0},
      {CadPoint(1, 0, 1), kPi / 4},
  };
  for (const auto& c : cases) EXPECT_NEAR(CadPoint().altitude(c.to), c.expected, 1e-12);
}

TEST(CadPointTest, Equals2DComparesEachAxisSeparately) {
  const CadPoint p(0, 0, 0);
  // 0.000009 on both axes is 0.0000127 away, yet equal per axis.
  EXPECT_TRUE(p.equals2D(CadPoint(0.000009, 0.000009, 5), kTolerance));
  EXPECT_FALSE(p.equals(CadPoint(0.000009, 0.000009, 0), kTolerance));
  EXPECT_FALSE(p.equals2D(CadPoint(0.000011, 0, 0), kTolerance));
  EXPECT_TRUE(p == CadPoint(0.000005, 0.000005, 0.000005));
  EXPECT_TRUE(p != CadPoint(0, 0, 0.00002));
}

TEST(CadPointTest, MatrixProductsTakeTheTranslationWithoutDividingByW) {
  Matrix4x4 m = Matrix4x4::identity();
  m(0, 3) = 1.0;
  m(3, 3) = 2.0;  // w would be 2: the point is not divided by it
  expectPoint(CadPoint(1, 2, 3) * m, 2, 2, 3);
  CadPoint p(1, 0, 0);
  p *= Matrix3x3::rotationZ(kHalfPi);
  expectPoint(p, 0, 1, 0);
}

TEST(CadPointTest, IndexAnswersZForAnyIndexBeyondOne) {
  CadPoint p(1, 2, 3);
  EXPECT_EQ(p[0], 1);
  EXPECT_EQ(p[1], 2);
  EXPECT_EQ(p[2], 3);
  EXPECT_EQ(p[7], 3);
  p[-1] = 9;
  EXPECT_EQ(p.getZ(), 9);
}

TEST(CadPointTest, PolarMovesInPlanAndInSpace) {
  CadPoint p;
  p.movePolar(2.0, kHalfPi);
  expectPoint(p, 0, 2, 0);
  CadPoint q;
  q.movePolar(2.0, 0.0, kPi / 6);  // 30 degrees up: plan part sqrt(3), height 1
  expectPoint(q, std::sqrt(3.0), 0, 1);
}

TEST(CadPointTest, RecordsRoundTrip) {
  const CadPoint p(platform::Coord3D{1, 2, 3});
  const platform::Coord3D c = p.getCoord3D();
  EXPECT_EQ(c.x, 1);
  EXPECT_EQ(c.z, 3);
  const CadPoint q(platform::Coord2D{4, 5}, 6);
  expectPoint(q, 4, 5, 6);
}

// A point that reports a shifted x shows that the accessors go through the virtual getters.
class ShiftedPoint : public CadPoint {
 public:
  using CadPoint::CadPoint;
  double getX() const override { return CadPoint::getX() + 10.0; }
};

TEST(CadPointTest, AccessorsReadThroughTheVirtualGetters) {
  const ShiftedPoint p(1, 0, 0);
  EXPECT_EQ(p.getCoord().x, 11.0);
  EXPECT_NEAR(p.distance2D(CadPoint(11, 0, 0)), 0.0, 1e-12);
}

TEST(CadPointTest, CloneKeepsTheClass) {
  const PolyPoint v(1, 2, 3, 0.5, 7);
  const auto c = static_cast<const CadPoint&>(v).clone();
  const auto* copy = dynamic_cast<const PolyPoint*>(c.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->arcAngle(), 0.5);
  EXPECT_EQ(copy->vertexId(), 7);
}

TEST(Vector3Test, DegenerateVectorsAnswerNeutralValues) {
  const Vector3 zero;
  const Vector3 x(1, 0, 0);
  expectPoint(zero.unit().toPoint(), 0, 0, 0);
  EXPECT_EQ(zero.angle(x), 0.0);
  EXPECT_FALSE(zero.isParallel(x, kTolerance));
  EXPECT_FALSE(x.isParallel(zero, kTolerance));
  EXPECT_FALSE(zero.isPerpendicular(x, kTolerance));
}

TEST(Vector3Test, CrossAndAngles) {
  const Vector3 x(1, 0, 0), y(0, 1, 0);
  expectPoint(x.cross(y).toPoint(), 0, 0, 1);
  EXPECT_NEAR(x.angle(y), kHalfPi, 1e-12);
  EXPECT_NEAR(x.angle(Vector3(-2, 0, 0)), kPi, 1e-12);
  EXPECT_TRUE(x.isParallel(Vector3(-3, 0, 0), kTolerance));
  EXPECT_TRUE(x.isPerpendicular(y, kTolerance));
  EXPECT_NEAR(Vector3(1, 1, 0).azimuth(), kPi / 4, 1e-12);
  EXPECT_NEAR(Vector3(0, 0, -1).altitude(), -kHalfPi, 1e-12);
}

TEST(Vector3Test, ParallelToleranceScalesWithLength) {
  // The cross product is not normalised: long vectors need a proportionally smaller offset.
  EXPECT_TRUE(Vector3(1, 0, 0).isParallel(Vector3(1, 0.000009, 0), kTolerance));
  EXPECT_FALSE(Vector3(1000, 0, 0).isParallel(Vector3(1000, 0.009, 0), kTolerance));
}

TEST(Vector3Test, Matrix4x4ProductAddsTheTranslation) {
  Matrix4x4 m = Matrix4x4::identity();
  m(2, 3) = 5.0;
  Vector3 v(1, 2, 3);
  v *= m;
  expectPoint(v.toPoint(), 1, 2, 8);
  const Vector4 h = Vector4(Vector3(1, 0, 0)) * m;
  EXPECT_EQ(h.w, 1.0);
  EXPECT_EQ(h.z, 5.0);
}

TEST(Vector3Test, FromALineIsEndMinusStart) {
  const Vector3 v(CadLine(CadPoint(1, 1, 1), CadPoint(2, 3, 4)));
  expectPoint(v.toPoint(), 1, 2, 3);
}

}  // namespace
}  // namespace lunvik
