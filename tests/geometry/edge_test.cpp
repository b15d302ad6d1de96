#include <gtest/gtest.h>

#include <cmath>

#include "geometry/intersect_list.h"
#include "geometry/matrix.h"
#include "geometry/poly_edge.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;

// A half circle from (0, 0) to (2, 0) bulging to -y (counter-clockwise about (1, 0)).
PolyEdge halfCircle() { return PolyEdge(CadPoint(0, 0, 0), PolyPoint(2, 0, 0, kPi, 4)); }
PolyEdge straight() { return PolyEdge(CadPoint(0, 0, 0), PolyPoint(2, 0, 0, 0.0, 4)); }

TEST(PolyEdgeTest, DispatchesToTheLineOrTheArc) {
  EXPECT_FALSE(straight().isArc());
  EXPECT_TRUE(halfCircle().isArc());
  expectPoint(straight().midpoint(), 1, 0, 0, 1e-12);
  expectPoint(halfCircle().midpoint(), 1, -1, 0, 1e-12);
  expectPoint(straight().centre(), 1, 0, 0, 1e-12);
  expectPoint(halfCircle().centre(), 1, 0, 0, 1e-12);
  EXPECT_EQ(straight().radius(), 0.0);
  EXPECT_NEAR(halfCircle().radius(), 1.0, 1e-12);
  EXPECT_EQ(halfCircle().chordLength(), 2.0);
  EXPECT_EQ(halfCircle().locate2D(CadPoint(1, -1, 0), kTolerance), kLocOn);
  EXPECT_EQ(straight().locate2D(CadPoint(1, -1, 0), kTolerance), kLocNone);
  expectPoint(halfCircle().nearestPoint(CadPoint(1, -3, 0), kTolerance), 1, -1, 0, 1e-12);
  expectPoint(halfCircle().nearestPoint2D(CadPoint(1, -3, 7), kTolerance), 1, -1, 0, 1e-12);
}

TEST(PolyEdgeTest, DirectionsAreTangents) {
  EXPECT_NEAR(straight().startDirection(), 0.0, 1e-12);
  // Leaving (0, 0) downwards and arriving at (2, 0) upwards.
  EXPECT_NEAR(std::sin(halfCircle().startDirection()), -1.0, 1e-12);
  EXPECT_NEAR(std::sin(halfCircle().endDirection()), 1.0, 1e-12);
}

TEST(PolyEdgeTest, OffsetMovesToTheLeft) {
  PolyEdge line = straight();
  line.offset(1.0);
  expectPoint(line.start(), 0, 1, 0, 1e-12);
  expectPoint(line.end(), 2, 1, 0, 1e-12);
  // The centre of a counter-clockwise arc lies on its left: the radius shrinks.
  PolyEdge arc = halfCircle();
  arc.offset(0.5);
  EXPECT_NEAR(arc.radius(), 0.5, 1e-12);
  expectPoint(arc.start(), 0.5, 0, 0, 1e-12);
  expectPoint(arc.end(), 1.5, 0, 0, 1e-12);
  EXPECT_EQ(arc.end().vertexId(), 4);
}

TEST(PolyEdgeTest, ExtendEndAlongTheEdge) {
  PolyEdge line = straight();
  line.extendEnd(1.0);
  expectPoint(line.end(), 3, 0, 0, 1e-12);
  line.extendEnd(0.000005);
  expectPoint(line.end(), 3, 0, 0, 0.0);
  PolyEdge arc = halfCircle();
  arc.extendEnd(kHalfPi);  // a quarter turn more on the unit circle
  expectPoint(arc.end(), 1, 1, 0, 1e-12);
  EXPECT_NEAR(arc.end().arcAngle(), 3 * kHalfPi, 1e-12);
  PolyEdge full = halfCircle();
  full.extendEnd(100.0);
  EXPECT_NEAR(full.end().arcAngle(), kTwoPi, 1e-12);
}

TEST(PolyEdgeTest, TrimToKeepsTheCircle) {
  PolyEdge arc = halfCircle();
  arc.trimTo(CadPoint(1, -5, 0), true);  // the end moves to the bottom of the circle
  expectPoint(arc.end(), 1, -1, 0, 1e-12);
  EXPECT_NEAR(arc.end().arcAngle(), kHalfPi, 1e-12);
  expectPoint(arc.centre(), 1, 0, 0, 1e-12);
  PolyEdge fromStart = halfCircle();
  fromStart.trimTo(CadPoint(1, -5, 0), false);
  expectPoint(fromStart.start(), 1, -1, 0, 1e-12);
  EXPECT_NEAR(fromStart.end().arcAngle(), kHalfPi, 1e-12);
  expectPoint(fromStart.centre(), 1, 0, 0, 1e-12);
  PolyEdge line = straight();
  line.trimTo(CadPoint(1.5, 3, 0), true);
  expectPoint(line.end(), 1.5, 0, 0, 1e-12);
}

TEST(PolyEdgeTest, StretchKeepsTheEdgesKind) {
  PolyEdge arc = halfCircle();
  arc.stretchEnd(CadPoint(4, 0, 0));
  EXPECT_TRUE(arc.isArc());
  EXPECT_NEAR(arc.end().arcAngle(), kPi, 1e-15);
  EXPECT_EQ(arc.end().vertexId(), 4);
  EXPECT_NEAR(arc.radius(), 2.0, 1e-12);
  arc.stretchStart(CadPoint(2, 0, 0));
  EXPECT_NEAR(arc.radius(), 1.0, 1e-12);
  expectPoint(arc.centre(), 3, 0, 0, 1e-12);
  PolyEdge line = straight();
  line.stretchEnd(CadPoint(0, 5, 0));
  EXPECT_FALSE(line.isArc());
  expectPoint(line.end(), 0, 5, 0, 0.0);
}

TEST(PolyEdgeTest, ReverseKeepsTheShape) {
  PolyEdge arc = halfCircle();
  arc.reverse();
  expectPoint(arc.start(), 2, 0, 0, 0.0);
  EXPECT_NEAR(arc.end().arcAngle(), -kPi, 1e-15);
  expectPoint(arc.midpoint(), 1, -1, 0, 1e-12);
}

TEST(PolyEdgeTest, MirroringNegatesTheArc) {
  const PolyEdge arc = halfCircle() * Matrix3x3(-1, 1, 1);
  EXPECT_NEAR(arc.end().arcAngle(), -kPi, 1e-15);
  expectPoint(arc.midpoint(), -1, -1, 0, 1e-12);
  const PolyEdge turned = halfCircle() * Matrix3x3::rotationZ(kPi);
  EXPECT_NEAR(turned.end().arcAngle(), kPi, 1e-15);
}

TEST(PolyEdgeTest, IntersectLineWithArcEdgesAndBack) {
  const PolyEdge line(CadPoint(1, -3, 0), PolyPoint(1, 3, 0, 0.0, 0));
  IntersectList list(Intercept{kLocOn, 0, 0}, Intercept{kLocOn, 0, 0});
  // The straight edge asks the arc with the list swapped: the codes still land right.
  EXPECT_EQ(line.intersect(halfCircle(), list, kTolerance), 1);
  expectPoint(list.at(0), 1, -1, 0, 1e-12);
  IntersectList back(Intercept{kLocOn, 0, 0}, Intercept{kLocOn, 0, 0});
  EXPECT_EQ(halfCircle().intersect(line, back, kTolerance), 1);
  EXPECT_FALSE(list.isSwapped());
}

}  // namespace
}  // namespace lunvik
