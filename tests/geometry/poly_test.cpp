#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <stdexcept>

#include "geometry/cad_cube.h"
#include "geometry/cad_line.h"
#include "geometry/intersect_list.h"
#include "geometry/matrix.h"
#include "geometry/plane.h"
#include "geometry/poly_list.h"
#include "geometry/rotater.h"
#include "geometry_test_support.h"

namespace lunvik {
namespace {

using testing::expectPoint;
using testing::poly;
using testing::regular;

CadPoly unitSquare() { return poly({{0, 0}, {1, 0}, {1, 1}, {0, 1}}); }

// The square of side 2 whose right edge is a half circle bulging outwards.
CadPoly bulgingSquare() { return poly({{0, 0}, {2, 0}, {2, 2, kPi}, {0, 2}}); }

// A random star-shaped (so simple) polygon around (cx, cy).
CadPoly randomStar(std::mt19937& rng, int n, double cx = 0.0, double cy = 0.0) {
  std::uniform_real_distribution<double> radius(0.5, 2.0);
  std::uniform_real_distribution<double> jitter(-0.4, 0.4);
  CadPoly p;
  for (int i = 0; i < n; ++i) {
    const double a = kTwoPi * (i + 0.5 + jitter(rng)) / n;
    const double r = radius(rng);
    p.add(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  return p;
}

// Winding number of the straight ring about the point.
int winding(const CadPoly& ring, double x, double y) {
  int w = 0;
  const std::size_t n = ring.size();
  for (std::size_t i = 0; i < n; ++i) {
    const CadPoint& a = ring.vertex(i);
    const CadPoint& b = ring.vertex((i + 1) % n);
    const double cross = (b.getX() - a.getX()) * (y - a.getY()) - (x - a.getX()) * (b.getY() - a.getY());
    if (a.getY() <= y) {
      if (b.getY() > y && cross > 0) ++w;
    } else if (b.getY() <= y && cross < 0) {
      --w;
    }
  }
  return w;
}

// Plan distance from the point to the straight ring.
double boundaryDistance(const CadPoly& ring, const CadPoint& p) {
  double best = 1e300;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const CadLine edge(ring.vertex(i), ring.vertex((i + 1) % ring.size()));
    best = std::min(best, edge.nearestPoint2D(p).distance2D(p));
  }
  return best;
}

struct AreaCase {
  const char* name;
  CadPoly polygon;
  double area;
  int orientation;
};

TEST(CadPolyTest, AreaAndOrientation) {
  const AreaCase cases[] = {
      {"unit square", unitSquare(), 1.0, 2},
      {"unit square clockwise", poly({{0, 0}, {0, 1}, {1, 1}, {1, 0}}), 1.0, 1},
      {"bulging square", bulgingSquare(), 4.0 + kHalfPi, 2},
      {"dented square", poly({{0, 0}, {2, 0}, {2, 2, -kPi}, {0, 2}}), 4.0 - kHalfPi, 2},
      {"clockwise bulge", poly({{0, 0}, {0, 2}, {2, 2}, {2, 0, -kPi}}), 4.0 + kHalfPi, 1},
      {"circle of two arcs", poly({{1, 0, kPi}, {-1, 0, kPi}}), kPi, 2},
      {"clockwise circle", poly({{1, 0, -kPi}, {-1, 0, -kPi}}), kPi, 1},
      {"top edge bulging up", poly({{0, 0}, {2, 0}, {2, 1}, {0, 1, kHalfPi}}), 2.0 + (kPi / 4 - 0.5) * 2, 2},
      {"flat top to the left", poly({{0, 0}, {3, 1}, {2, 2}, {0, 2}}), 4.0, 2},
      {"two vertices", poly({{0, 0}, {1, 0}}), 0.0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(c.polygon.area(false), c.area, 1e-9);
    EXPECT_EQ(c.polygon.orientation(), c.orientation);
  }
}

TEST(CadPolyTest, HolesAreSubtractedWhenAsked) {
  CadPoly p = poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  p.addHole(std::make_unique<CadPoly>(poly({{1, 1}, {1, 2}, {2, 2}, {2, 1}})));
  EXPECT_NEAR(p.area(false), 16.0, 1e-12);
  EXPECT_NEAR(p.area(true), 15.0, 1e-12);
}

TEST(CadPolyTest, AreaAndOrientationSurviveRotationAndReversal) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> angle(-kPi, kPi);
  std::uniform_real_distribution<double> bulge(-2.0, 2.0);
  for (int round = 0; round < 40; ++round) {
    CadPoly p = randomStar(rng, 5 + round % 7);
    // Gentle arcs keep the star simple.
    for (std::size_t i = 0; i < p.size(); i += 3) p.vertex(i).setArcAngle(bulge(rng) * 0.1);
    const double area = p.area(false);
    const int orientation = p.orientation();
    ASSERT_EQ(orientation, 2);
    CadPoly turned = p * Matrix3x3::rotationZ(angle(rng));
    EXPECT_NEAR(turned.area(false), area, 1e-9);
    EXPECT_EQ(turned.orientation(), orientation);
    CadPoly reversed = p;
    reversed.reverse();
    EXPECT_NEAR(reversed.area(false), area, 1e-9);
    EXPECT_EQ(reversed.orientation(), 1);
  }
}

TEST(CadPolyTest, ReversingTwiceRestoresThePolygon) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> arc(-3.0, 3.0);
  for (int round = 0; round < 30; ++round) {
    CadPoly p = randomStar(rng, 3 + round % 9);
    for (std::size_t i = 0; i < p.size(); ++i) {
      p.vertex(i).setArcAngle(round % 2 ? arc(rng) : 0.0);
      p.vertex(i).setVertexId(int(i) + 1);
    }
    CadPoly twice = p;
    twice.reverse();
    twice.reverse();
    ASSERT_EQ(twice.size(), p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
      EXPECT_EQ(twice.vertex(i).getX(), p.vertex(i).getX());
      EXPECT_EQ(twice.vertex(i).arcAngle(), p.vertex(i).arcAngle());
      EXPECT_EQ(twice.vertex(i).vertexId(), p.vertex(i).vertexId());
    }
  }
}

TEST(CadPolyTest, ReverseKeepsAnArcOnItsPairOfVertices) {
  CadPoly p = bulgingSquare();  // the arc runs from (2, 0) to (2, 2)
  p.reverse();
  // Reversed: (0, 2), (2, 2), (2, 0), (0, 0); the arc now ends at (2, 0).
  expectPoint(p.vertex(2), 2, 0, 0, 0.0);
  EXPECT_NEAR(p.vertex(2).arcAngle(), -kPi, 0.0);
  for (std::size_t i : {0u, 1u, 3u}) EXPECT_EQ(p.vertex(i).arcAngle(), 0.0);
  EXPECT_NEAR(p.area(false), 4.0 + kHalfPi, 1e-9);
  expectPoint(p.edge(2).midpoint(), 3, 1, 0, 1e-12);
}

TEST(CadPolyTest, MirroringNegatesTheArcsAndRotatingDoesNot) {
  CadPoly p = bulgingSquare();
  p.addHole(std::make_unique<CadPoly>(poly({{0.5, 0.5}, {0.5, 1}, {1, 1, 0.5}})));
  const CadPoly mirrored = p * Matrix3x3(-1, 1, 1);
  EXPECT_NEAR(mirrored.vertex(2).arcAngle(), -kPi, 0.0);
  EXPECT_NEAR(mirrored.hole(0).vertex(2).arcAngle(), -0.5, 0.0);
  EXPECT_NEAR(mirrored.area(false), p.area(false), 1e-9);
  const CadPoly turned = p * Matrix3x3::rotationZ(1.0);
  EXPECT_NEAR(turned.vertex(2).arcAngle(), kPi, 0.0);
}

struct ValidityCase {
  const char* name;
  CadPoly polygon;
  bool closed;
  bool valid;
  bool simple;
};

TEST(CadPolyTest, Validity) {
  const ValidityCase cases[] = {
      {"two straight", poly({{0, 0}, {1, 0}}), true, false, false},
      {"lens", poly({{0, 0}, {1, 0, 1.0}}), true, true, true},
      {"triangle", poly({{0, 0}, {1, 0}, {0, 1}}), true, true, true},
      {"bow tie", poly({{0, 0}, {1, 1}, {1, 0}, {0, 1}}), true, true, false},
      {"open pair", poly({{0, 0}, {1, 0}}), false, true, true},
      {"bulging square", bulgingSquare(), true, true, true},
      {"arc crossing an edge", poly({{0, 0}, {2, 0}, {2, 2}, {0, 2, -4.0}}), true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CadPoly p = c.polygon;
    p.setClosed(c.closed);
    EXPECT_EQ(p.isValid(false), c.valid);
    EXPECT_EQ(p.isValid(true), c.valid && c.simple);
  }
}

struct LocateCase {
  CadPoint point;
  int expected;
};

TEST(CadPolyTest, LocateOnTheUnitSquare) {
  const CadPoly p = unitSquare();
  const LocateCase cases[] = {
      {CadPoint(0.5, 0.5, 0), kLocInside},      // its ray runs through the corner (1, 1)
      {CadPoint(1, 1, 0), kLocOn},              // a vertex
      {CadPoint(0.5, 0, 0), kLocOn},            // an edge
      {CadPoint(0.5, 1.000005, 0), kLocOn},     // within the tolerance
      {CadPoint(0.5, 1.0001, 0), kLocOutside},
      {CadPoint(2, 0.5, 0), kLocOutside},
      {CadPoint(0.25, 0.75, 7), kLocInside},    // the height does not matter
  };
  for (const auto& c : cases) EXPECT_EQ(p.locate(c.point, kTolerance), c.expected) << c.point.getX() << "," << c.point.getY();
  EXPECT_EQ(poly({{0, 0}, {1, 0}}).locate(CadPoint(0.5, 0, 0), kTolerance), kLocNone);
}

TEST(CadPolyTest, ARayThatOnlyTouchesAVertexDoesNotCount) {
  // The edges run along the axes, so the ray leaves at 45 degrees: from (0.5, 0.5) it crosses
  // the edge y = 1 at (1, 1) and then touches the corner (2, 2) of the right block.
  const CadPoly l = poly({{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 1}, {0, 1}});
  EXPECT_EQ(l.locate(CadPoint(0.5, 0.5, 0), kTolerance), kLocInside);
  EXPECT_EQ(l.locate(CadPoint(0.5, 0.50001 + 0.0001, 0), kTolerance), kLocInside);
  // From (1.5, 1.5) the ray starts outside and touches (2, 2) only.
  EXPECT_EQ(l.locate(CadPoint(1.5, 1.5, 0), kTolerance), kLocOutside);
  EXPECT_EQ(l.locate(CadPoint(3, 1.5, 0), kTolerance), kLocInside);
}

TEST(CadPolyTest, LocateAgreesWithTheWindingNumberOnRandomPoints) {
  std::mt19937 rng(4242);
  std::uniform_real_distribution<double> coord(-2.5, 2.5);
  for (int round = 0; round < 30; ++round) {
    const CadPoly p = randomStar(rng, 3 + 7 * round);
    for (int k = 0; k < 200; ++k) {
      const CadPoint q(coord(rng), coord(rng), 0.0);
      if (boundaryDistance(p, q) < 1e-4) continue;
      const int expected = winding(p, q.getX(), q.getY()) != 0 ? kLocInside : kLocOutside;
      ASSERT_EQ(p.locate(q, kTolerance), expected) << "round " << round << " at " << q.getX() << "," << q.getY();
    }
  }
}

TEST(CadPolyTest, LocateWithArcsAgreesWithTheFlattenedPolygon) {
  std::mt19937 rng(77);
  std::uniform_real_distribution<double> coord(-2.5, 2.5);
  std::uniform_real_distribution<double> bulge(-0.6, 0.6);
  for (int round = 0; round < 20; ++round) {
    CadPoly p = randomStar(rng, 6 + round % 5);
    for (std::size_t i = 0; i < p.size(); i += 2) p.vertex(i).setArcAngle(bulge(rng));
    CadPoly flat = p;
    flat.flattenArcs();
    for (int k = 0; k < 200; ++k) {
      const CadPoint q(coord(rng), coord(rng), 0.0);
      if (boundaryDistance(flat, q) < 0.01) continue;  // farther than the 2 mm of flattening
      const int expected = winding(flat, q.getX(), q.getY()) != 0 ? kLocInside : kLocOutside;
      ASSERT_EQ(p.locate(q, kTolerance), expected) << "round " << round << " at " << q.getX() << "," << q.getY();
    }
  }
}

TEST(CadPolyTest, LocateOnArcsAndHoles) {
  CadPoly p = bulgingSquare();
  p.addHole(std::make_unique<CadPoly>(poly({{0.5, 0.5}, {0.5, 1.5}, {1.5, 1.5}, {1.5, 0.5}})));
  const LocateCase cases[] = {
      {CadPoint(2.9, 1, 0), kLocInside},   // in the bulge
      {CadPoint(3, 1, 0), kLocOn},         // on the arc
      {CadPoint(3.1, 1, 0), kLocOutside},
      {CadPoint(1, 1, 0), kLocOutside},    // in the hole
      {CadPoint(1.5, 1, 0), kLocOn},       // on the hole's edge
      {CadPoint(0.25, 1, 0), kLocInside},
      {CadPoint(2.9, 1.9, 0), kLocOutside},  // outside the arc, inside the box
  };
  for (const auto& c : cases) EXPECT_EQ(p.locate(c.point, kTolerance), c.expected) << c.point.getX() << "," << c.point.getY();
  const CadPoly circle = poly({{1, 0, kPi}, {-1, 0, kPi}});
  EXPECT_EQ(circle.locate(CadPoint(0, 0, 0), kTolerance), kLocInside);
  EXPECT_EQ(circle.locate(CadPoint(0.9, 0.5, 0), kTolerance), kLocOutside);
  EXPECT_EQ(circle.locate(CadPoint(0, 1, 0), kTolerance), kLocOn);
  EXPECT_TRUE(circle.contains(CadPoint(0, 1, 0), kTolerance));
}

TEST(CadPolyTest, LocateNoticesChangedVertices) {
  CadPoly p = unitSquare();
  EXPECT_EQ(p.locate(CadPoint(1.5, 0.5, 0), kTolerance), kLocOutside);
  p.vertex(1).x() = 2.0;
  p.vertex(2).x() = 2.0;
  EXPECT_EQ(p.locate(CadPoint(1.5, 0.5, 0), kTolerance), kLocInside);
  p.vertex(2).setArcAngle(-kPi);  // the right edge now bows inwards to x = 1.5
  EXPECT_EQ(p.locate(CadPoint(1.7, 0.5, 0), kTolerance), kLocOutside);
  CadPoly copy = p;
  EXPECT_EQ(copy.locate(CadPoint(1.7, 0.5, 0), kTolerance), kLocOutside);
}

TEST(CadPolyTest, IntersectWithALineRecordsEdgesAndRings) {
  CadPoly p = poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  p.addHole(std::make_unique<CadPoly>(poly({{1, 1}, {1, 3}, {3, 3}, {3, 1}})));
  IntersectList list(Intercept{kLocOn, 0, 0}, Intercept{kLocOn, 0, 0});
  EXPECT_EQ(p.intersect(CadLine(CadPoint(-1, 2, 0), CadPoint(5, 2, 0)), list, kTolerance), 4);
  int outline = 0, hole = 0;
  for (std::size_t i = 0; i < list.count(); ++i) {
    const InterPoint& q = list.at(i);
    (q.first().ringIndex == 0 ? outline : hole)++;
    // Edge i ends at vertex i: the left edge of the outline is edge 0, of the hole edge 1.
    if (q.getX() < 0.5) {
      EXPECT_EQ(q.first().edgeIndex, 0);
    }
    if (std::fabs(q.getX() - 1) < 1e-9) {
      EXPECT_EQ(q.first().edgeIndex, 1);
    }
  }
  EXPECT_EQ(outline, 2);
  EXPECT_EQ(hole, 2);
  EXPECT_EQ(list.templ(0).ringIndex, 0);
  // Arc edges count too: the line y = 1 leaves the bulging square through its arc at x = 3.
  IntersectList bulge(Intercept{kLocStart | kLocOn | kLocEnd, 0, 0}, Intercept{kLocStart | kLocOn | kLocEnd, 0, 0});
  EXPECT_EQ(bulgingSquare().intersect(CadLine(CadPoint(-1, 1, 0), CadPoint(5, 1, 0)), bulge, kTolerance), 2);
  EXPECT_NEAR(std::max(bulge.at(0).getX(), bulge.at(1).getX()), 3.0, 1e-12);
  // Within a hundredth of the tolerance of the radius the line is a tangent: one point.
  IntersectList grazing(Intercept{kLocStart | kLocOn | kLocEnd, 0, 0}, Intercept{kLocStart | kLocOn | kLocEnd, 0, 0});
  EXPECT_EQ(bulgingSquare().intersect(CadLine(CadPoint(2.99999999, -1, 0), CadPoint(2.99999999, 3, 0)), grazing, kTolerance), 1);
  // An open ring has no closing edge.
  CadPoly open = poly({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  open.setClosed(false);
  IntersectList openList(Intercept{kLocOn, 0, 0}, Intercept{kLocOn, 0, 0});
  EXPECT_EQ(open.intersect(CadLine(CadPoint(-1, 2, 0), CadPoint(5, 2, 0)), openList, kTolerance), 1);
}

TEST(CadPolyTest, IntersectWithAnArcAndAnotherPolygon) {
  const CadPoly square = poly({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
  const CadArc circle(CadPoint(2, 2, 0), Vector3(0, 0, 1), 1.0, 0.0, kTwoPi);
  IntersectList list(Intercept{kLocOn, 0, 0}, Intercept{kLocOn, 0, 0});
  EXPECT_EQ(square.intersect(circle, list, kTolerance), 2);
  const CadPoly other = poly({{1, 1}, {3, 1}, {3, 3}, {1, 3}});
  IntersectList both(Intercept{kLocOn, 0, 0}, Intercept{kLocOn, 0, 0});
  EXPECT_EQ(square.intersect(other, both, kTolerance), 2);
  for (std::size_t i = 0; i < both.count(); ++i) {
    // The first side is the square: (2, 1) lies on its edge 2, (1, 2) on its edge 3.
    const InterPoint& q = both.at(i);
    EXPECT_EQ(q.first().edgeIndex, q.getX() > 1.5 ? 2 : 3);
    EXPECT_EQ(q.second().edgeIndex, q.getX() > 1.5 ? 1 : 0);
  }
  EXPECT_FALSE(both.isSwapped());
}

TEST(CadPolyTest, HoleManagement) {
  CadPoly p(4, 0, true);
  EXPECT_EQ(p.holes(), nullptr);
  EXPECT_THROW(p.hole(0), std::out_of_range);
  CadPoly hole = poly({{1, 1}, {2, 1}, {2, 2}});
  hole.vertex(0).setVertexId(5);
  hole.addHole(nullptr);
  CadPoly& added = p.addHole(std::make_unique<CadPoly>(hole));
  EXPECT_TRUE(added.isHole());
  EXPECT_EQ(added.holeCount(), 0u);
  EXPECT_EQ(added.vertex(0).vertexId(), 0);
  p.addHole(nullptr);
  EXPECT_EQ(p.holeCount(), 2u);
  EXPECT_THROW(p.removeHole(2), std::out_of_range);
  EXPECT_THROW(p.takeHole(5), std::out_of_range);
  const auto taken = p.takeHole(0);
  EXPECT_EQ(taken->size(), 3u);
  p.removeHole(0);
  EXPECT_EQ(p.holes(), nullptr);
  EXPECT_EQ(CadPoly(0, 2).holeCount(), 0u);
  EXPECT_NE(CadPoly(0, 2).holes(), nullptr);
}

TEST(CadPolyTest, VerticesIdsAndSearch) {
  CadPoly p = unitSquare();
  EXPECT_FALSE(p.insertVertex(std::make_unique<PolyPoint>(1.000001, 0, 0), kNotFound));
  EXPECT_TRUE(p.insertVertex(std::make_unique<PolyPoint>(0.5, 0, 0), 1));
  expectPoint(p.vertex(1), 0.5, 0, 0, 0.0);
  EXPECT_TRUE(p.insertVertex(std::make_unique<PolyPoint>(0, 0.5, 0), kNotFound));
  EXPECT_EQ(p.size(), 6u);
  EXPECT_EQ(p.findVertex(CadPoint(1, 1, 0)), 3);
  EXPECT_EQ(p.findVertex(CadPoint(7, 7, 0)), kNotFound);
  EXPECT_EQ(p.wrap(-1), 5);
  EXPECT_EQ(p.wrap(13), 1);
  EXPECT_EQ((*p.vertexAt(-1))->getY(), 0.5);
  CadPoly empty;
  EXPECT_TRUE(empty.vertexAt(3) == empty.end());

  p.vertex(0).setVertexId(4);
  p.vertex(2).setVertexId(4);  // a duplicate id
  p.addHole(std::make_unique<CadPoly>(poly({{0.2, 0.2}, {0.3, 0.2}, {0.3, 0.3}})));
  p.renumberVertices(false);
  std::set<int> ids;
  for (std::size_t i = 0; i < p.size(); ++i) ids.insert(p.vertex(i).vertexId());
  for (std::size_t i = 0; i < p.hole(0).size(); ++i) ids.insert(p.hole(0).vertex(i).vertexId());
  EXPECT_EQ(ids.size(), 9u);
  EXPECT_EQ(ids.count(0), 0u);
  EXPECT_EQ(p.lastVertexId(), 4 + 8);
  EXPECT_EQ(p.hole(0).lastVertexId(), p.lastVertexId());
  EXPECT_EQ(p.findVertexId(4), 2);  // the last vertex with the kept id
  p.renumberVertices(true);
  EXPECT_EQ(p.vertex(0).vertexId(), 13);
}

TEST(CadPolyTest, LengthsAndPointAt) {
  const CadPoly p = unitSquare();
  EXPECT_NEAR(p.length2D(), 4.0, 1e-12);
  CadPoly open = p;
  open.setClosed(false);
  EXPECT_NEAR(open.length(), 3.0, 1e-12);
  CadPoint at;
  EXPECT_EQ(p.pointAt(1.5, at), 1);
  expectPoint(at, 1, 0.5, 0, 1e-12);
  EXPECT_EQ(p.pointAt(3.5, at), 3);  // on the closing edge
  expectPoint(at, 0, 0.5, 0, 1e-12);
  EXPECT_EQ(p.pointAt(0.0, at), 0);
  expectPoint(at, 0, 0, 0, 0.0);
  EXPECT_EQ(open.pointAt(10.0, at), 3);
  expectPoint(at, 0, 1, 0, 0.0);
  EXPECT_EQ(CadPoly().pointAt(1.0, at), 0);
}

TEST(CadPolyTest, BoundingBoxCoversTheArcs) {
  const auto box = bulgingSquare().boundingBox();
  ASSERT_NE(box, nullptr);
  expectPoint(box->min(), 0, 0, 0, 1e-12);
  expectPoint(box->max(), 3, 2, 0, 1e-12);
  EXPECT_EQ(CadPoly().boundingBox(), nullptr);
}

TEST(CadPolyTest, FlattenArcsStaysWithinTwoMillimetres) {
  CadPoly p = bulgingSquare();
  p.vertex(2).setVertexId(9);
  p.flattenArcs();
  EXPECT_GT(p.size(), 10u);
  const CadPoint centre(2, 1, 0);
  for (std::size_t i = 0; i < p.size(); ++i) {
    EXPECT_EQ(p.vertex(i).arcAngle(), 0.0);
    const CadPoint& v = p.vertex(i);
    if (v.getX() > 2.0 + 1e-9) {
      EXPECT_NEAR(v.distance2D(centre), 1.0, 1e-9);
    }
  }
  EXPECT_NEAR(p.area(false), 4.0 + kHalfPi, 0.002 * kPi);
  EXPECT_LT(p.area(false), 4.0 + kHalfPi);
  EXPECT_EQ(p.vertex(std::size_t(p.findVertexId(9))).getY(), 2.0);  // the end vertex stays
  // A tiny arc becomes one chord.
  CadPoly tiny = poly({{0, 0}, {0.002, 0, kPi}, {0.002, 1}});
  tiny.flattenArcs();
  EXPECT_EQ(tiny.size(), 3u);
}

TEST(CadPolyTest, EqualityDuplicatesAndNearestPoints) {
  CadPoly a = bulgingSquare();
  CadPoly b = bulgingSquare();
  EXPECT_TRUE(a.equals(b, kTolerance));
  b.vertex(2).setArcAngle(-kPi);
  EXPECT_FALSE(a.equals(b, kTolerance));
  b = a;
  b.vertex(0).z() = 1.0;
  EXPECT_FALSE(a.equals(b, kTolerance));
  EXPECT_TRUE(a.equals2D(b, kTolerance));

  CadPoly d = poly({{0, 0}, {0, 0.000001}, {1, 0}, {1, 1}, {0, 0}});
  EXPECT_TRUE(d.removeDuplicates(kTolerance));
  EXPECT_EQ(d.size(), 3u);
  EXPECT_FALSE(d.removeDuplicates(kTolerance));

  const auto near = a.nearestPoint(CadPoint(4, 1, 0), false, kTolerance);
  ASSERT_NE(near, nullptr);
  expectPoint(*near, 3, 1, 0, 1e-12);
  const auto nearPlan = a.nearestPoint2D(CadPoint(-1, 1, 5), false, kTolerance);
  expectPoint(*nearPlan, 0, 1, 0, 1e-12);
  EXPECT_EQ(poly({{0, 0}}).nearestPoint(CadPoint(), false, kTolerance), nullptr);
}

TEST(CadPolyTest, SetOrientationAndHeights) {
  CadPoly p = unitSquare();
  p.addHole(std::make_unique<CadPoly>(poly({{0.2, 0.2}, {0.8, 0.2}, {0.8, 0.8}})));
  p.setOrientation(1, false);
  EXPECT_EQ(p.orientation(), 1);
  EXPECT_EQ(p.hole(0).orientation(), 2);
  p.setOrientation(1, true);
  EXPECT_EQ(p.hole(0).orientation(), 1);
  p.setZ(Plane(CadPoint(0, 0, 1), Vector3(1, 0, 1)));  // z = 1 - x
  EXPECT_NEAR(p.vertex(0).getZ(), 1.0, 1e-12);
  EXPECT_NEAR(p.hole(0).vertex(1).getZ(), 0.2, 1e-12);
}

TEST(PolyListTest, CopiesAreDeep) {
  PolyList list;
  list.push_back(std::make_unique<CadPoly>(unitSquare()));
  list[0].addHole(std::make_unique<CadPoly>(poly({{0.2, 0.2}, {0.8, 0.2}, {0.8, 0.8}})));
  PolyList copy(list);
  copy[0].hole(0).vertex(0).x() = 9.0;
  EXPECT_EQ(list[0].hole(0).vertex(0).getX(), 0.2);
  const auto cloned = list.clone();
  EXPECT_TRUE((*cloned)[0].equals(list[0], kTolerance));
  PolyVector v;
  v.push_back(std::make_unique<CadPoly>(unitSquare()));
  PolyVector w;
  w = v;
  EXPECT_NE(&w[0], &v[0]);
}

}  // namespace
}  // namespace lunvik
