#include "timber/cut_list.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/tolerance.h"

namespace varnholt {
namespace {

using lunvik::CadPoint;
using lunvik::kHalfPi;

TEST(SplitPlane, CutFacingTheFarEndIsMeasuredFromThatEnd) {
  SplitPlane plane = SplitPlane::fromCut(0, kHalfPi, 0.1, 4.0, CadPoint(0, 0, 0));
  EXPECT_NEAR(plane.point().getX(), 3.9, 1e-12);
  EXPECT_NEAR(plane.normal().x, 1.0, 1e-12);
  EXPECT_TRUE(plane.cutsAway(CadPoint(3.95, 0, 0), lunvik::kTolerance));
  EXPECT_FALSE(plane.cutsAway(CadPoint(3.85, 0, 0), lunvik::kTolerance));
  EXPECT_FALSE(plane.cutsAway(CadPoint(3.9, 0.3, -0.2), lunvik::kTolerance));
}

TEST(SplitPlane, CutFacingTheStartIsMeasuredFromTheStart) {
  SplitPlane plane = SplitPlane::fromCut(0, -kHalfPi, 0.1, 4.0, CadPoint(0, 0, 0.1));
  EXPECT_NEAR(plane.point().getX(), 0.1, 1e-12);
  EXPECT_NEAR(plane.point().getZ(), 0.1, 1e-12);
  EXPECT_NEAR(plane.normal().x, -1.0, 1e-12);
  EXPECT_TRUE(plane.cutsAway(CadPoint(0.05, 0, 0), lunvik::kTolerance));
  EXPECT_FALSE(plane.cutsAway(CadPoint(0.15, 0, 0), lunvik::kTolerance));
}

TEST(SplitPlane, LengthwiseCutMovesAlongItsNormal) {
  // a1 = 0: the normal is +z, turned about x by a0 = pi/2 it becomes -y.
  SplitPlane plane = SplitPlane::fromCut(kHalfPi, 0, 0.05, 4.0, CadPoint(1, 0, 0));
  EXPECT_NEAR(plane.normal().x, 0, 1e-12);
  EXPECT_NEAR(plane.normal().y, -1, 1e-12);
  EXPECT_NEAR(plane.normal().z, 0, 1e-12);
  EXPECT_NEAR(plane.point().getY(), -0.05, 1e-12);
  EXPECT_NEAR(plane.point().getX(), 1, 1e-12);
}

TEST(SplitPlane, TiltedCutNormalIsUnit) {
  lunvik::Vector3 n = SplitPlane::cutNormal(0.3, 1.0);
  EXPECT_NEAR(n.length(), 1.0, 1e-12);
  EXPECT_NEAR(n.x, std::sin(1.0), 1e-12);
}

}  // namespace
}  // namespace varnholt
