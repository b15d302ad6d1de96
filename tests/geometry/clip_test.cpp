#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/cad_cube.h"
#include "geometry/poly_list.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::poly;
using testing::regular;

double totalArea(const PolyList& list) {
  double sum = 0.0;
  for (const auto& p : list) sum += p->area(true);
  return sum;
}

CadPoly square(double x0, double y0, double x1, double y1) { return poly({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}); }

struct SplitCase {
  const char* name;
  CadPoly a;
  CadPoly b;
  std::size_t insideCount;
  double insideArea;
  std::size_t outsideCount;
  double outsideArea;
};

TEST(CadPolySplitTest, SplitsByAnotherPolygon) {
  CadPoly frame = square(0, 0, 4, 4);
  frame.addHole(std::make_unique<CadPoly>(poly({{1, 1}, {1, 3}, {3, 3}, {3, 1}})));
  const SplitCase cases[] = {
      {"overlapping squares", square(0, 0, 2, 2), square(1, 1, 3, 3), 1, 1.0, 1, 3.0},
      {"disjoint", square(0, 0, 1, 1), square(2, 2, 3, 3), 0, 0.0, 1, 1.0},
      {"inside", square(1, 1, 2, 2), square(0, 0, 3, 3), 1, 1.0, 0, 0.0},
      {"containing: the outside has a hole", square(0, 0, 3, 3), square(1, 1, 2, 2), 1, 1.0, 1, 8.0},
      {"sharing an edge from outside", square(0, 0, 1, 1), square(1, 0, 2, 1), 0, 0.0, 1, 1.0},
      {"sharing an edge from inside", square(0, 0, 1, 1), square(0, 0, 2, 1), 1, 1.0, 0, 0.0},
      {"equal", square(0, 0, 1, 1), square(0, 0, 1, 1), 1, 1.0, 0, 0.0},
      {"cut in two", square(0, 0, 3, 1), square(1, -1, 2, 2), 1, 1.0, 2, 2.0},
      {"touching at a corner", square(0, 0, 1, 1), square(1, 1, 2, 2), 0, 0.0, 1, 1.0},
      {"by a frame", square(0.5, 1.5, 3.5, 2.5), frame, 2, 1.0, 1, 2.0},
      {"crossing a T", square(0, 0, 4, 1), poly({{1, 0}, {3, 0}, {3, 2}, {1, 2}}), 1, 2.0, 2, 2.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PolyList inside, outside;
    ASSERT_TRUE(c.a.split(c.b, &inside, &outside, kTolerance));
    EXPECT_EQ(inside.size(), c.insideCount);
    EXPECT_EQ(outside.size(), c.outsideCount);
    EXPECT_NEAR(totalArea(inside), c.insideArea, 1e-9);
    EXPECT_NEAR(totalArea(outside), c.outsideArea, 1e-9);
    for (const auto& p : inside) EXPECT_TRUE(p->isValid(true));
    for (const auto& p : outside) EXPECT_TRUE(p->isValid(true));
  }
}

TEST(CadPolySplitTest, RefusesWithoutListsOrValidPolygons) {
  PolyList inside;
  EXPECT_FALSE(square(0, 0, 1, 1).split(square(0, 0, 2, 2), nullptr, nullptr, kTolerance));
  EXPECT_FALSE(square(0, 0, 1, 1).split(poly({{0, 0}, {1, 0}}), &inside, nullptr, kTolerance));
  EXPECT_TRUE(inside.empty());
}

TEST(CadPolySplitTest, ThisPolygonsHolesStayHoles) {
  CadPoly a = square(0, 0, 4, 2);
  a.addHole(std::make_unique<CadPoly>(poly({{0.5, 0.5}, {0.5, 1.5}, {1.5, 1.5}, {1.5, 0.5}})));
  PolyList inside, outside;
  ASSERT_TRUE(a.split(square(1, -1, 5, 3), &inside, &outside, kTolerance));
  EXPECT_NEAR(totalArea(inside), 6.0 - 0.5, 1e-9);
  EXPECT_NEAR(totalArea(outside), 2.0 - 0.5, 1e-9);
}

TEST(CadPolySplitTest, UntouchedArcsSurviveAndCutArcsAreFlattened) {
  const CadPoly circle = poly({{1, 0, kPi}, {-1, 0, kPi}});
  PolyList inside, outside;
  ASSERT_TRUE(circle.split(square(-5, -5, 5, 5), &inside, &outside, kTolerance));
  ASSERT_EQ(inside.size(), 1u);
  EXPECT_TRUE(inside[0].equals(circle, kTolerance));
  EXPECT_TRUE(outside.empty());
  // Cut through the middle: two half discs, each within the flattening of its arc.
  PolyList upper, lower;
  ASSERT_TRUE(circle.split(square(-2, 0, 2, 2), &upper, &lower, kTolerance));
  ASSERT_EQ(upper.size(), 1u);
  ASSERT_EQ(lower.size(), 1u);
  EXPECT_NEAR(totalArea(upper), kHalfPi, 0.01);
  EXPECT_NEAR(totalArea(lower), kHalfPi, 0.01);
}

TEST(CadPolyClipTest, IntersectionDifferenceAndUnion) {
  const CadPoly a = square(0, 0, 2, 2), b = square(1, 1, 3, 3);
  PolyList common, rest, both;
  ASSERT_TRUE(a.intersection(b, common, kTolerance));
  ASSERT_TRUE(a.difference(b, rest, kTolerance));
  ASSERT_TRUE(a.unite(b, both, kTolerance));
  EXPECT_NEAR(totalArea(common), 1.0, 1e-12);
  EXPECT_NEAR(totalArea(rest), 3.0, 1e-12);
  ASSERT_EQ(both.size(), 1u);
  EXPECT_NEAR(totalArea(both), 7.0, 1e-12);
  EXPECT_EQ(both[0].size(), 8u);
  EXPECT_EQ(both[0].orientation(), 2);
  // Two squares touching at a corner stay two pieces.
  PolyList corner;
  ASSERT_TRUE(square(0, 0, 1, 1).unite(square(1, 1, 2, 2), corner, kTolerance));
  EXPECT_EQ(corner.size(), 2u);
  // A ring of four squares around an empty middle unites into one piece with a hole.
  PolyList ring;
  ASSERT_TRUE(square(0, 0, 3, 1).unite(square(0, 2, 3, 3), ring, kTolerance));
  ASSERT_EQ(ring.size(), 2u);
  PolyList closedRing;
  const CadPoly u = poly({{0, 0}, {3, 0}, {3, 3}, {0, 3}, {0, 2}, {2, 2}, {2, 1}, {0, 1}});
  ASSERT_TRUE(u.unite(square(0, 0, 1, 3), closedRing, kTolerance));
  ASSERT_EQ(closedRing.size(), 1u);
  EXPECT_EQ(closedRing[0].holeCount(), 1u);
  EXPECT_NEAR(totalArea(closedRing), 8.0, 1e-12);
}

TEST(CadPolyClipTest, SplitByAListOfPolygons) {
  PolyList cutters;
  cutters.push_back(std::make_unique<CadPoly>(square(1, -1, 2, 2)));
  cutters.push_back(std::make_unique<CadPoly>(square(1.5, -1, 3, 2)));
  PolyList inside, outside, rest;
  ASSERT_TRUE(square(0, 0, 4, 1).split(cutters, &inside, &outside, kTolerance));
  EXPECT_NEAR(totalArea(inside), 2.0, 1e-12);
  EXPECT_NEAR(totalArea(outside), 2.0, 1e-12);
  EXPECT_EQ(outside.size(), 2u);
  ASSERT_TRUE(square(0, 0, 4, 1).subtract(cutters, rest, kTolerance));
  EXPECT_NEAR(totalArea(rest), 2.0, 1e-12);
}

TEST(CadPolyClipTest, AreasAddUpOnRandomPolygons) {
  std::mt19937 rng(31337);
  std::uniform_real_distribution<double> centre(-1.0, 1.0);
  std::uniform_real_distribution<double> radius(0.5, 2.0);
  for (int round = 0; round < 40; ++round) {
    const int n = 3 + round % 12;
    CadPoly a = regular(n, radius(rng), centre(rng), centre(rng));
    CadPoly b = regular(n + 2, radius(rng), centre(rng), centre(rng));
    // Jitter the vertices so that edges meet at arbitrary angles.
    for (std::size_t i = 0; i < a.size(); ++i) a.vertex(i).x() += 0.1 * centre(rng);
    PolyList common, rest, both;
    ASSERT_TRUE(a.intersection(b, common, kTolerance));
    ASSERT_TRUE(a.difference(b, rest, kTolerance));
    ASSERT_TRUE(a.unite(b, both, kTolerance));
    const double ab = totalArea(common);
    EXPECT_NEAR(ab + totalArea(rest), a.area(true), 1e-9) << round;
    EXPECT_NEAR(totalArea(both), a.area(true) + b.area(true) - ab, 1e-9) << round;
    // Every piece of the common part lies inside both.
    for (const auto& p : common) {
      const auto box = p->boundingBox();
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(a.locate(box->centre(), 1e-6) == kLocOutside && p->locate(box->centre(), 1e-6) == kLocInside, false);
    }
  }
}

}  // namespace
}  // namespace lunvik
