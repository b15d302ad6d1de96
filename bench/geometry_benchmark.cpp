// Geometry kernel benchmarks: point location and line intersection on polygons of 10 to
// 10,000 vertices (straight, with arc edges, with holes), area, orientation, levelling and
// arcs through three points; beside them Boost.Geometry's within on the same polygons.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "geometry/cad_arc.h"
#include "geometry/cad_cube.h"
#include "geometry/cad_line.h"
#include "geometry/cad_poly.h"
#include "geometry/intersect_list.h"
#include "geometry/leveller.h"
#include "geometry/poly_list.h"

#ifdef TRESTLAR_HAVE_BOOST
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#endif

namespace {

using namespace lunvik;

enum Shape { kStraight, kArcs, kHoles };

// A star-shaped ring of n vertices around (cx, cy), counter-clockwise; every fourth edge is
// a gentle arc when asked.
CadPoly star(int n, double radius, double cx, double cy, bool arcs, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> jitter(0.92, 1.0);
  CadPoly p(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double a = kTwoPi * i / n;
    const double r = radius * jitter(rng);
    p.add(cx + r * std::cos(a), cy + r * std::sin(a), arcs && i % 4 == 0 ? 0.2 : 0.0);
  }
  return p;
}

CadPoly polygon(int n, Shape shape) {
  CadPoly p = star(n, 10.0, 0.0, 0.0, shape == kArcs, 17u);
  if (shape == kHoles) {
    // Four holes of n/10 vertices each (at least 3), clockwise.
    const int m = std::max(3, n / 10);
    const double at[4][2] = {{4, 0}, {-4, 0}, {0, 4}, {0, -4}};
    for (int k = 0; k < 4; ++k) {
      CadPoly h = star(m, 2.0, at[k][0], at[k][1], false, 100u + unsigned(k));
      h.reverse();
      p.addHole(std::make_unique<CadPoly>(h));
    }
  }
  return p;
}

// Query points spread over the polygon's box.
std::vector<CadPoint> queries(const CadPoly& p) {
  const auto box = p.boundingBox();
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> x(box->min().getX(), box->max().getX());
  std::uniform_real_distribution<double> y(box->min().getY(), box->max().getY());
  std::vector<CadPoint> points;
  for (int i = 0; i < 64; ++i) points.emplace_back(x(rng), y(rng), 0.0);
  return points;
}

// Winding-number answer on the flattened polygon, for the sanity checks.
bool insideByWinding(const CadPoly& flat, const CadPoint& q) {
  auto winding = [&](const CadPoly& ring) {
    int w = 0;
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
      const CadPoint& a = ring.vertex(i);
      const CadPoint& b = ring.vertex((i + 1) % n);
      const double cross = (b.getX() - a.getX()) * (q.getY() - a.getY()) - (q.getX() - a.getX()) * (b.getY() - a.getY());
      if (a.getY() <= q.getY()) {
        if (b.getY() > q.getY() && cross > 0) ++w;
      } else if (b.getY() <= q.getY() && cross < 0) {
        --w;
      }
    }
    return w;
  };
  if (winding(flat) == 0) return false;
  for (std::size_t h = 0; h < flat.holeCount(); ++h)
    if (winding(flat.hole(h)) != 0) return false;
  return true;
}

void locate(benchmark::State& state, Shape shape) {
  const CadPoly p = polygon(int(state.range(0)), shape);
  const std::vector<CadPoint> points = queries(p);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(p.locate(points[i], kTolerance));
    i = (i + 1) % points.size();
  }
  // Every answer must match the winding number of the flattened polygon (arc edges bend
  // by at most 2 mm there, so points that close to an arc are left out).
  CadPoly flat = p;
  flat.flattenArcs();
  for (const CadPoint& q : points) {
    const auto near = flat.nearestPoint2D(q, true, kTolerance);
    if (near && near->distance2D(q) < 0.01) continue;
    const bool inside = p.locate(q, kTolerance) == kLocInside;
    if (inside != insideByWinding(flat, q)) {
      state.SkipWithError("locate disagrees with the winding number");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Locate(benchmark::State& state) { locate(state, kStraight); }
void BM_LocateArcs(benchmark::State& state) { locate(state, kArcs); }
void BM_LocateHoles(benchmark::State& state) { locate(state, kHoles); }
BENCHMARK(BM_Locate)->RangeMultiplier(10)->Range(10, 10000);
BENCHMARK(BM_LocateArcs)->RangeMultiplier(10)->Range(10, 10000);
BENCHMARK(BM_LocateHoles)->RangeMultiplier(10)->Range(10, 10000);

void intersectLine(benchmark::State& state, Shape shape) {
  const CadPoly p = polygon(int(state.range(0)), shape);
  // A line across the middle: it crosses the outline twice (and each hole it meets twice).
  const CadLine line(CadPoint(-20.0, 0.3, 0.0), CadPoint(20.0, 0.7, 0.0));
  std::size_t added = 0;
  for (auto _ : state) {
    IntersectList list(Intercept{kLocStart | kLocOn | kLocEnd, 0, 0}, Intercept{kLocStart | kLocOn | kLocEnd, 0, 0});
    added = std::size_t(p.intersect(line, list, kTolerance));
    benchmark::DoNotOptimize(added);
  }
  // A line through a vertex meets both of its edges there: count such doubles once. The
  // line runs from outside to outside, so it crosses every closed ring an even number of
  // times (jagged rings more than twice).
  IntersectList list(Intercept{kLocStart | kLocOn | kLocEnd, 0, 0}, Intercept{kLocStart | kLocOn | kLocEnd, 0, 0});
  p.intersect(line, list, kTolerance);
  list.removeDuplicates(kTolerance);
  const std::size_t expected = shape == kHoles ? 6 : 2;
  if (added < expected || list.count() < expected || list.count() % 2 != 0)
    state.SkipWithError("wrong number of crossings");
  state.SetItemsProcessed(state.iterations());
}

void BM_IntersectLine(benchmark::State& state) { intersectLine(state, kStraight); }
void BM_IntersectLineArcs(benchmark::State& state) { intersectLine(state, kArcs); }
void BM_IntersectLineHoles(benchmark::State& state) { intersectLine(state, kHoles); }
BENCHMARK(BM_IntersectLine)->RangeMultiplier(10)->Range(10, 10000);
BENCHMARK(BM_IntersectLineArcs)->RangeMultiplier(10)->Range(10, 10000);
BENCHMARK(BM_IntersectLineHoles)->RangeMultiplier(10)->Range(10, 10000);

void BM_Area(benchmark::State& state) {
  const CadPoly p = polygon(int(state.range(0)), kArcs);
  double area = 0.0;
  for (auto _ : state) {
    area = p.area(true);
    benchmark::DoNotOptimize(area);
  }
  CadPoly flat = p;
  flat.flattenArcs();
  if (std::fabs(area - flat.area(true)) > 0.01 * area) state.SkipWithError("area disagrees with the flattened polygon");
}
BENCHMARK(BM_Area)->RangeMultiplier(10)->Range(10, 10000);

void BM_Orientation(benchmark::State& state) {
  const CadPoly p = polygon(int(state.range(0)), kArcs);
  int orientation = 0;
  for (auto _ : state) {
    orientation = p.orientation();
    benchmark::DoNotOptimize(orientation);
  }
  if (orientation != 2) state.SkipWithError("the counter-clockwise star reads clockwise");
}
BENCHMARK(BM_Orientation)->RangeMultiplier(10)->Range(10, 10000);

void BM_LevellerLevel(benchmark::State& state) {
  const Leveller leveller(Vector3(1.0, 2.0, 3.0), 0.7);
  CadPoint p(0.3, -1.2, 2.5);
  for (auto _ : state) {
    leveller.level(p);
    benchmark::DoNotOptimize(p);
  }
  Leveller back(leveller);
  back.invert();
  CadPoint d(1.0 / std::sqrt(14.0), 2.0 / std::sqrt(14.0), 3.0 / std::sqrt(14.0));
  leveller.level(d);
  if (std::fabs(d.getZ() - 1.0) > 1e-9) state.SkipWithError("the direction does not level onto +Z");
}
BENCHMARK(BM_LevellerLevel);

void BM_ArcThroughThreePoints(benchmark::State& state) {
  const CadPoint p1(1.0, 0.0, 0.5), p2(0.0, 1.0, 0.5), p3(-1.0, 0.0, 0.5);
  double radius = 0.0;
  for (auto _ : state) {
    const CadArc arc(p1, p2, p3);
    radius = arc.radius();
    benchmark::DoNotOptimize(radius);
  }
  if (std::fabs(radius - 1.0) > 1e-12) state.SkipWithError("wrong radius");
}
BENCHMARK(BM_ArcThroughThreePoints);

#ifdef TRESTLAR_HAVE_BOOST
namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint, false, false>;  // counter-clockwise, open

BoostPolygon toBoost(const CadPoly& p) {
  CadPoly flat = p;
  flat.flattenArcs();
  BoostPolygon b;
  for (std::size_t i = 0; i < flat.size(); ++i) b.outer().emplace_back(flat.vertex(i).getX(), flat.vertex(i).getY());
  for (std::size_t h = 0; h < flat.holeCount(); ++h) {
    b.inners().emplace_back();
    const CadPoly& hole = flat.hole(h);
    for (std::size_t i = 0; i < hole.size(); ++i) b.inners().back().emplace_back(hole.vertex(i).getX(), hole.vertex(i).getY());
  }
  return b;
}

void boostWithin(benchmark::State& state, Shape shape) {
  const CadPoly p = polygon(int(state.range(0)), shape);
  const BoostPolygon b = toBoost(p);
  std::vector<BoostPoint> points;
  for (const CadPoint& q : queries(p)) points.emplace_back(q.getX(), q.getY());
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(bg::within(points[i], b));
    i = (i + 1) % points.size();
  }
  const std::vector<CadPoint> ours = queries(p);
  for (std::size_t k = 0; k < ours.size(); ++k) {
    const auto near = p.nearestPoint2D(ours[k], true, kTolerance);
    if (near && near->distance2D(ours[k]) < 0.01) continue;
    if (bg::within(points[k], b) != (p.locate(ours[k], kTolerance) == kLocInside)) {
      state.SkipWithError("Boost.Geometry and locate disagree");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_BoostWithin(benchmark::State& state) { boostWithin(state, kStraight); }
void BM_BoostWithinArcs(benchmark::State& state) { boostWithin(state, kArcs); }
void BM_BoostWithinHoles(benchmark::State& state) { boostWithin(state, kHoles); }
BENCHMARK(BM_BoostWithin)->RangeMultiplier(10)->Range(10, 10000);
BENCHMARK(BM_BoostWithinArcs)->RangeMultiplier(10)->Range(10, 10000);
BENCHMARK(BM_BoostWithinHoles)->RangeMultiplier(10)->Range(10, 10000);
#endif

}  // namespace

BENCHMARK_MAIN();
