#include "timber/axis_path.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/tolerance.h"

namespace varnholt {
namespace {

using lunvik::CadPoint;
using lunvik::kHalfPi;
using lunvik::kPi;
using lunvik::kTolerance;

// The largest distance of a chord's midpoint from a circle of centre c and radius r (x-z).
double worstChordError(const std::vector<CadPoint>& points, const CadPoint& centre, double radius) {
  double worst = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    CadPoint mid = (points[i] + points[i + 1]) * 0.5;
    worst = std::max(worst, radius - mid.distance(centre));
  }
  return worst;
}

TEST(CurvedAxis, HalfCircleOverTheChordWithinTolerance) {
  std::vector<CadPoint> points = curvedAxis(4.0, 0.002);
  ASSERT_GE(points.size(), 3u);
  EXPECT_TRUE(points.front().equals(CadPoint(0, 0, 0), 1e-12));
  EXPECT_TRUE(points.back().equals(CadPoint(4, 0, 0), 1e-12));
  double top = 0;
  for (const CadPoint& p : points) {
    EXPECT_NEAR(p.distance(CadPoint(2, 0, 0)), 2.0, 1e-9);
    EXPECT_NEAR(p.getY(), 0, 1e-12);
    EXPECT_GE(p.getZ(), -1e-12);
    top = std::max(top, p.getZ());
  }
  EXPECT_NEAR(top, 2.0, 0.002);
  EXPECT_LE(worstChordError(points, CadPoint(2, 0, 0), 2.0), 0.002 + 1e-9);
  // A finer tolerance gives more points.
  EXPECT_GT(curvedAxis(4.0, 0.0005).size(), points.size());
}

TEST(ProfiledAxis, StraightWithFarEndOffsets) {
  ProfiledAxis axis;
  axis.length = 3;
  axis.hEnd = 0.1;
  axis.vEnd = -0.2;
  axis.start = CadPoint(0, 0, 0.1);
  std::vector<CadPoint> points = profiledAxis(axis);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_TRUE(points[0].equals(CadPoint(0, 0, 0.1), 1e-12));
  EXPECT_TRUE(points[1].equals(CadPoint(3, 0.1, -0.1), 1e-12));
}

TEST(ProfiledAxis, PlanBendKeepsItsChordAndRise) {
  ProfiledAxis axis;
  axis.length = 4;
  axis.hPath = 0.5;
  std::vector<CadPoint> points = profiledAxis(axis);
  ASSERT_GE(points.size(), 3u);
  EXPECT_TRUE(points.front().equals(CadPoint(0, 0, 0), 1e-9));
  EXPECT_TRUE(points.back().equals(CadPoint(4, 0, 0), 1e-9));
  double rise = 0;
  for (const CadPoint& p : points) {
    rise = std::max(rise, p.getY());
    EXPECT_NEAR(p.getZ(), 0, 1e-12);
  }
  EXPECT_NEAR(rise, 0.5, 0.01);
  double angle = 0, radius = 0;
  ASSERT_TRUE(bendArc(4, 0.5, angle, radius));
  EXPECT_NEAR(radius, 4.25, 1e-9);  // (c^2 / 4 + s^2) / 2s
  EXPECT_LE(worstChordError(points, CadPoint(2, 0.5 - radius, 0), radius), 0.002 + 1e-9);
}

TEST(ProfiledAxis, NegativeRiseBendsTheOtherWay) {
  ProfiledAxis axis;
  axis.length = 4;
  axis.vPath = -0.3;
  double low = 0;
  for (const CadPoint& p : profiledAxis(axis)) low = std::min(low, p.getZ());
  EXPECT_NEAR(low, -0.3, 0.01);
}

TEST(ProfiledAxis, ExtensionsAndTwist) {
  ProfiledAxis axis;
  axis.length = 4;
  axis.hPath = 0.5;
  axis.startExtend = 0.2;
  axis.endExtend = 0.3;
  axis.twist = kHalfPi;
  std::vector<CadPoint> points = profiledAxis(axis);
  ProfiledAxis plain = axis;
  plain.startExtend = plain.endExtend = 0;
  std::size_t inner = profiledAxis(plain).size();
  ASSERT_EQ(points.size(), inner + 2);
  EXPECT_NEAR(points.front().distance(points[1]), 0.2, 1e-9);
  EXPECT_NEAR(points.back().distance(points[points.size() - 2]), 0.3, 1e-9);
  // A quarter twist turns the plan bend (y) into z.
  for (const CadPoint& p : points) EXPECT_NEAR(p.getY(), 0, 1e-9);
}

TEST(ArcSegments, CoarserToleranceFewerSegments) {
  double angle = 0, radius = 0;
  ASSERT_TRUE(bendArc(4, 1, angle, radius));
  EXPECT_GT(arcSegments(angle, radius, 0.0005, 2), arcSegments(angle, radius, 0.002, 2));
  EXPECT_EQ(arcSegments(angle, radius, 10.0, 2), 2);
  EXPECT_FALSE(bendArc(4, 0, angle, radius));
}

TEST(AxisWalk, ClipsByEndCutsAndMeasuresFromTheStart) {
  AxisWalk walk(straightAxis(4));
  walk.clip(SplitPlane::fromCut(0, -kHalfPi, 0.25, 4, CadPoint()), kTolerance);
  walk.clip(SplitPlane::fromCut(0, kHalfPi, 0.5, 4, CadPoint()), kTolerance);
  double start = 0, end = 0;
  CadPoint first, last;
  ASSERT_TRUE(walk.clippedExtent(start, end, first, last));
  EXPECT_NEAR(start, 0.25, 1e-12);
  EXPECT_NEAR(end, 3.5, 1e-12);
  EXPECT_TRUE(first.equals(CadPoint(0.25, 0, 0), 1e-12));
  EXPECT_TRUE(last.equals(CadPoint(3.5, 0, 0), 1e-12));
  EXPECT_TRUE(walk.pointAt(1.875).equals(CadPoint(1.875, 0, 0), 1e-12));
}

TEST(AxisWalk, EverySegmentCutAwayGivesNoExtent) {
  AxisWalk walk(curvedAxis(4, 0.002));
  // A plane below the whole arc whose normal points up cuts everything away.
  walk.clip(SplitPlane(CadPoint(0, 0, -1), lunvik::Vector3(0, 0, 1)), kTolerance);
  double start = -1, end = -1;
  CadPoint first(9, 9, 9), last(9, 9, 9);
  EXPECT_FALSE(walk.clippedExtent(start, end, first, last));
  EXPECT_EQ(start, -1);
  EXPECT_TRUE(first.equals(CadPoint(9, 9, 9), 0));
}

TEST(AxisWalk, LeadingSegmentsCutAwayCountIntoTheStartDistance) {
  AxisWalk walk({CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(2, 0, 0), CadPoint(3, 0, 0)});
  walk.clip(SplitPlane(CadPoint(1.5, 0, 0), lunvik::Vector3(-1, 0, 0)), kTolerance);
  double start = 0, end = 0;
  CadPoint first, last;
  ASSERT_TRUE(walk.clippedExtent(start, end, first, last));
  EXPECT_FALSE(walk.segments()[0].present);
  EXPECT_NEAR(start, 1.5, 1e-12);
  EXPECT_NEAR(end, 3.0, 1e-12);
}

TEST(AxisWalk, DevelopedLengthBetweenTheOuterProjections) {
  AxisWalk walk({CadPoint(0, 0, 0), CadPoint(1, 0, 0), CadPoint(1, 1, 0)});
  double length = 0;
  ASSERT_TRUE(walk.developedLength({CadPoint(0.2, 0.05, 0), CadPoint(1.05, 0.7, 0), CadPoint(0.6, -0.1, 0)}, length));
  EXPECT_NEAR(length, 0.8 + 0.7, 1e-9);
  ASSERT_TRUE(walk.developedLength({CadPoint(0.3, 0.1, 0), CadPoint(0.6, -0.1, 0)}, length));
  EXPECT_NEAR(length, 0.3, 1e-9);
  EXPECT_FALSE(walk.developedLength({}, length));
  EXPECT_FALSE(AxisWalk({CadPoint()}).isValid());
}

TEST(Polyline, RoundTrip) {
  std::vector<CadPoint> points = curvedAxis(2, 0.002);
  auto poly = polylineOf(points);
  EXPECT_FALSE(poly->isClosed());
  std::vector<CadPoint> back = pointsOf(*poly);
  ASSERT_EQ(back.size(), points.size());
  for (std::size_t i = 0; i < points.size(); ++i) EXPECT_TRUE(back[i].equals(points[i], 1e-12));
}

}  // namespace
}  // namespace varnholt
