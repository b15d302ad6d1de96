// Helpers shared by the geometry tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "geometry/cad_point.h"
#include "geometry/cad_poly.h"
#include "geometry/tolerance.h"

namespace lunvik::testing {

constexpr double kEps = 1e-9;

inline void expectPoint(const CadPoint& p, double x, double y, double z, double eps = 1e-7) {
  EXPECT_NEAR(p.getX(), x, eps);
  EXPECT_NEAR(p.getY(), y, eps);
  EXPECT_NEAR(p.getZ(), z, eps);
}

struct V {
  double x;
  double y;
  double arc = 0.0;
};

// A closed polygon of the vertices (z 0).
inline CadPoly poly(std::initializer_list<V> vertices) {
  CadPoly p;
  for (const V& v : vertices) p.add(v.x, v.y, v.arc);
  return p;
}

// A regular polygon of n vertices around (cx, cy).
inline CadPoly regular(int n, double radius, double cx = 0.0, double cy = 0.0) {
  CadPoly p(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double a = kTwoPi * i / n;
    p.add(cx + radius * std::cos(a), cy + radius * std::sin(a));
  }
  return p;
}

}  // namespace lunvik::testing
