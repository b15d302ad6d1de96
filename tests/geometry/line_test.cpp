#include <gtest/gtest.h>

#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/intersect_list.h"
#include "geometry/linear_equation.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

struct EquationCase {
  double dx, dy;
  double a, b;
};

TEST(LinearEquationTest, ScalesSoThatTheSmallerCoefficientIsOne) {
  const EquationCase cases[] = {{2, 1, 1, -2}, {1, 2, 2, -1}, {0, 3, 1, 0}, {0, -3, -1, 0}, {3, 0, 0, -1}, {-3, 0, 0, 1}};
  for (const auto& c : cases) {
    const LinearEquation e(CadPoint(), c.dx, c.dy);
    EXPECT_NEAR(e.a(), c.a, 1e-12) << c.dx << "," << c.dy;
    EXPECT_NEAR(e.b(), c.b, 1e-12) << c.dx << "," << c.dy;
    EXPECT_NEAR(e.c(), 0.0, 1e-12);
  }
  EXPECT_EQ(LinearEquation::fromPoints(CadPoint(1, 1, 0), CadPoint(1.000009, 0.999991, 5)), nullptr);
  EXPECT_NE(LinearEquation::fromPoints(CadPoint(1, 1, 0), CadPoint(1.00002, 1, 0)), nullptr);
}

TEST(LinearEquationTest, SideAngleAndFoot) {
  const LinearEquation e(CadPoint(0, 0, 0), 1, 1);
  EXPECT_EQ(e.side(CadPoint(0, 1, 0), kTolerance), kLocOutside);  // left of the direction
  EXPECT_EQ(e.side(CadPoint(1, 0, 0), kTolerance), kLocInside);
  EXPECT_EQ(e.side(CadPoint(2, 2.000005, 0), kTolerance), kLocOn);
  EXPECT_NEAR(e.angle(), kPi / 4, 1e-12);
  EXPECT_NEAR(LinearEquation(CadPoint(), 1, -1).angle(), 7 * kPi / 4, 1e-12);
  EXPECT_NEAR(LinearEquation(CadPoint(), -1, 1).angle(), 3 * kPi / 4, 1e-12);
  EXPECT_NEAR(LinearEquation(CadPoint(), 0, -1).angle(), 3 * kHalfPi, 1e-12);
  expectPoint(e.footPoint(CadPoint(0, 2, 7)), 1, 1, 0);
  EXPECT_NEAR(e.distance(CadPoint(0, 2, 0)), std::sqrt(2.0), 1e-12);
}

TEST(LinearEquationTest, IntersectAndParallel) {
  const LinearEquation a(CadPoint(0, 0, 0), 1, 0), b(CadPoint(2, 5, 0), 0, 1), c(CadPoint(0, 3, 0), 2, 0);
  const auto p = a.intersect(b, kTolerance);
  ASSERT_NE(p, nullptr);
  expectPoint(*p, 2, 0, 0);
  EXPECT_TRUE(a.isParallel(c, kTolerance));
  EXPECT_EQ(a.intersect(c, kTolerance), nullptr);
  EXPECT_TRUE(b.isParallel(LinearEquation(CadPoint(), 0, -1), kTolerance));
  // The perpendicular turns right.
  const LinearEquation across = a.perpendicular(CadPoint(4, 4, 0));
  EXPECT_NEAR(across.angle(), 3 * kHalfPi, 1e-12);
}

struct LocateCase {
  CadPoint point;
  int expected;
};

TEST(CadLineTest, Locate2DCodes) {
  const CadLine line(CadPoint(0, 0, 0), CadPoint(10, 0, 0));
  const LocateCase cases[] = {
      {CadPoint(-1, 0, 0), kLocInside},   // beyond the start
      {CadPoint(11, 0, 0), kLocOutside},  // beyond the end
      {CadPoint(5, 0, 0), kLocOn},
      {CadPoint(0, 0.000005, 0), kLocStart},
      {CadPoint(10.000004, 0, 0), kLocEnd},
      {CadPoint(5, 1, 0), kLocNone},
      {CadPoint(5, 0, 3), kLocOn},  // plan only
  };
  for (const auto& c : cases) EXPECT_EQ(line.locate2D(c.point, kTolerance), c.expected) << c.point.getX();
  EXPECT_EQ(CadLine(CadPoint(1, 1, 0), CadPoint(1, 1, 5)).locate2D(CadPoint(3, 3, 0), kTolerance), kLocNone);
}

TEST(CadLineTest, LocateInSpace) {
  const CadLine line(CadPoint(0, 0, 0), CadPoint(1, 1, 1));
  const LocateCase cases[] = {
      {CadPoint(-1, -1, -1), kLocInside}, {CadPoint(0, 0, 0), kLocStart}, {CadPoint(0.5, 0.5, 0.5), kLocOn},
      {CadPoint(1, 1, 1), kLocEnd},       {CadPoint(2, 2, 2), kLocOutside}, {CadPoint(0.5, 0.5, 0.6), kLocNone},
  };
  for (const auto& c : cases) EXPECT_EQ(line.locate(c.point, kTolerance), c.expected) << c.point.getZ();
  EXPECT_EQ(CadLine(CadPoint(1, 1, 1), CadPoint(1, 1, 1)).locate(CadPoint(1, 1, 1), kTolerance), kLocNone);
}

TEST(CadLineTest, EqualityIgnoresOrientationAndTheToleranceArgument) {
  const CadLine a(CadPoint(0, 0, 0), CadPoint(1, 2, 3));
  EXPECT_TRUE(a.equals(CadLine(CadPoint(1, 2, 3), CadPoint(0, 0, 0)), kTolerance));
  EXPECT_FALSE(a.equals(CadLine(CadPoint(0.1, 0, 0), CadPoint(1, 2, 3)), 1.0));
  EXPECT_FALSE(a.equals2D(CadLine(CadPoint(0.1, 0, 0), CadPoint(1, 2, 3)), 1.0));
  EXPECT_TRUE(a.equals2D(CadLine(CadPoint(1, 2, 0), CadPoint(0, 0, 9)), kTolerance));
}

TEST(CadLineTest, FeetAndNearestPoints) {
  const CadLine line(CadPoint(0, 0, 0), CadPoint(10, 0, 0));
  expectPoint(line.footPoint(CadPoint(3, 4, 5)), 3, 0, 0);
  expectPoint(line.nearestPoint(CadPoint(-3, 4, 5)), 0, 0, 0);
  expectPoint(line.nearestPoint(CadPoint(13, 4, 5)), 10, 0, 0);
  expectPoint(line.nearestPoint2D(CadPoint(12, 4, 0)), 10, 0, 0);
  expectPoint(line.footPoint2D(CadPoint(-3, 4, 0)), -3, 0, 0);
  const CadLine point(CadPoint(1, 1, 1), CadPoint(1, 1, 1));
  expectPoint(point.footPoint2D(CadPoint(5, 5, 5)), 1, 1, 1);
}

TEST(CadLineTest, HeightAndAngles) {
  const CadLine ramp(CadPoint(0, 0, 0), CadPoint(10, 0, 5));
  EXPECT_NEAR(ramp.zAt(CadPoint(4, 7, 0)), 2.0, 1e-12);
  EXPECT_EQ(CadLine(CadPoint(0, 0, 2), CadPoint(1, 0, 2)).zAt(CadPoint(9, 9, 9)), 2.0);
  EXPECT_NEAR(ramp.altitude(), std::atan(0.5), 1e-12);
  const CadLine east(CadPoint(), CadPoint(1, 0, 0)), south(CadPoint(), CadPoint(0, -1, 0));
  EXPECT_NEAR(east.turnAngle(south), 3 * kHalfPi, 1e-12);
  EXPECT_NEAR(south.turnAngle(east), kHalfPi, 1e-12);
  EXPECT_NEAR(east.angle(south), kHalfPi, 1e-12);
}

TEST(CadLineTest, CollinearityAndParallels) {
  const CadLine a(CadPoint(0, 0, 0), CadPoint(1, 1, 0));
  EXPECT_TRUE(a.isCollinear(CadLine(CadPoint(3, 3, 0), CadPoint(2, 2, 0)), kTolerance));
  EXPECT_FALSE(a.isCollinear(CadLine(CadPoint(3, 3.1, 0), CadPoint(4, 4.1, 0)), kTolerance));
  EXPECT_TRUE(a.isParallel2D(CadLine(CadPoint(3, 3.1, 0), CadPoint(4, 4.1, 0)), kTolerance));
  EXPECT_TRUE(a.isCollinear2D(CadLine(CadPoint(3, 3, 5), CadPoint(2, 2, 9)), kTolerance));
  EXPECT_FALSE(a.isParallel2D(CadLine(CadPoint(0, 0, 0), CadPoint(0, 0, 1)), kTolerance));
}

TEST(CadLineTest, Intersect2DFiltersByTheTemplates) {
  const CadLine a(CadPoint(0, 0, 0), CadPoint(2, 2, 0)), b(CadPoint(0, 2, 0), CadPoint(2, 0, 0));
  IntersectList all;
  EXPECT_EQ(a.intersect2D(b, all, kTolerance), 1);
  ASSERT_EQ(all.count(), 1u);
  expectPoint(all.at(0), 1, 1, 0);
  EXPECT_EQ(all.at(0).first().code, 0);
  EXPECT_EQ(all.at(0).second().code, 0);

  // The crossing lies at the end of the first line (code 8); a first mask of 4 rejects it.
  const CadLine toCrossing(CadPoint(0, 0, 0), CadPoint(1, 1, 0));
  IntersectList between(Intercept{kLocOn, 3, 1}, Intercept{});
  EXPECT_EQ(toCrossing.intersect2D(b, between, kTolerance), 0);
  EXPECT_EQ(between.count(), 0u);
  IntersectList atEnd(Intercept{kLocEnd, 3, 1}, Intercept{kLocOn, 0, 2});
  EXPECT_EQ(toCrossing.intersect2D(b, atEnd, kTolerance), 1);
  EXPECT_EQ(atEnd.at(0).first().code, kLocEnd);
  EXPECT_EQ(atEnd.at(0).first().edgeIndex, 3);
  EXPECT_EQ(atEnd.at(0).second().ringIndex, 2);

  IntersectList parallel;
  EXPECT_EQ(a.intersect2D(a + CadPoint(0, 1, 0), parallel, kTolerance), 0);
}

TEST(CadLineTest, SwappedListsExchangeTheCodes) {
  const CadLine toCrossing(CadPoint(0, 0, 0), CadPoint(1, 1, 0)), b(CadPoint(0, 2, 0), CadPoint(2, 0, 0));
  // Side 0 wants only "between", side 1 only "end": swapped, the caller's end code goes to
  // side 1 and the other line's between code to side 0.
  IntersectList list(Intercept{kLocOn, 0, 0}, Intercept{kLocEnd, 0, 0});
  list.toggleSwapped();
  EXPECT_EQ(toCrossing.intersect2D(b, list, kTolerance), 1);
  EXPECT_EQ(list.at(0).first().code, kLocOn);
  EXPECT_EQ(list.at(0).second().code, kLocEnd);
  // Only the swapped side's mask asks for a code to be computed.
  IntersectList oneSide(Intercept{}, Intercept{kLocEnd, 0, 0});
  oneSide.toggleSwapped();
  EXPECT_EQ(toCrossing.intersect2D(b, oneSide, kTolerance), 1);
  EXPECT_EQ(oneSide.at(0).second().code, kLocEnd);
}

TEST(CadLineTest, IntersectInSpace) {
  const CadLine a(CadPoint(0, 0, 1), CadPoint(2, 2, 3)), b(CadPoint(0, 2, 1), CadPoint(2, 0, 3));
  IntersectList list;
  ASSERT_EQ(a.intersect(b, list, kTolerance), 1);
  expectPoint(list.at(0), 1, 1, 2, 1e-9);
  IntersectList skew;
  EXPECT_EQ(a.intersect(b + CadPoint(0, 0, 0.5), skew, kTolerance), 0);
  IntersectList parallel;
  EXPECT_EQ(a.intersect(a + CadPoint(1, 0, 0), parallel, kTolerance), 0);
}

TEST(IntersectListTest, AddKeepsTheMostRecentFirstAndRemovesDuplicates) {
  IntersectList list(Intercept{0, 5, 1}, Intercept{0, 0, 0});
  EXPECT_TRUE(list.add(new InterPoint(CadPoint(1, 1, 0), 0, 0)));
  EXPECT_TRUE(list.add(new InterPoint(CadPoint(2, 2, 0), 0, 0)));
  EXPECT_TRUE(list.add(new InterPoint(CadPoint(1.000005, 1, 0), 0, 0)));
  EXPECT_EQ(list.at(0).first().edgeIndex, 5);
  expectPoint(list.at(1), 2, 2, 0);
  list.removeDuplicates(kTolerance);
  ASSERT_EQ(list.count(), 2u);
  // The newer double is the one removed.
  expectPoint(list.at(0), 2, 2, 0);
  expectPoint(list.at(1), 1, 1, 0);
  // Points of different rings are not duplicates.
  list.templ(0).ringIndex = 2;
  list.add(new InterPoint(CadPoint(1, 1, 0), 0, 0));
  list.removeDuplicates(kTolerance);
  EXPECT_EQ(list.count(), 3u);
}

TEST(IntersectListTest, MasksAcceptAnyOfTheirBits) {
  IntersectList list(Intercept{kLocStart | kLocEnd, 0, 0}, Intercept{});
  EXPECT_TRUE(list.wants(0));
  EXPECT_FALSE(list.wants(1));
  EXPECT_TRUE(list.accepts(0, kLocEnd));
  EXPECT_FALSE(list.accepts(0, kLocOn));
  EXPECT_TRUE(list.accepts(1, kLocNone));
  EXPECT_FALSE(list.add(new InterPoint(CadPoint(), kLocOn, 0)));
  EXPECT_EQ(list.count(), 0u);
}

}  // namespace
}  // namespace lunvik
