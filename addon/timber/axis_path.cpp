#include "timber/axis_path.h"

#include <algorithm>
#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/tolerance.h"

namespace varnholt {

using lunvik::CadPoint;
using lunvik::kPi;
using lunvik::kTolerance;

namespace {

// Beyond this many segments a finer division buys nothing but time.
constexpr int kMaxArcSegments = 4096;

CadPoint lerp(const CadPoint& a, const CadPoint& b, double t) {
  return CadPoint(a.getX() + (b.getX() - a.getX()) * t, a.getY() + (b.getY() - a.getY()) * t,
                  a.getZ() + (b.getZ() - a.getZ()) * t);
}

// A point of a bend of chord c laid along x: its x and its rise at the fraction u.
void bendPoint(double chord, double angle, double radius, double sign, double u, double& x, double& rise) {
  double phi = -angle / 2 + u * angle;
  x = chord / 2 + radius * std::sin(phi);
  rise = sign * (radius * std::cos(phi) - radius * std::cos(angle / 2));
}

// Segments of a bend by the rounded rule, at least two.
int bendSegments(double angle, double radius, double tolerance) {
  if (tolerance <= kTolerance || tolerance >= radius) return 2;
  double step = 2 * std::acos((radius - tolerance) / radius);
  if (step <= kTolerance) return kMaxArcSegments;
  return std::min(kMaxArcSegments, std::max(2, int(std::lround(angle / step))));
}

}  // namespace

std::vector<CadPoint> straightAxis(double length) { return {CadPoint(0, 0, 0), CadPoint(length, 0, 0)}; }

bool bendArc(double chord, double rise, double& angle, double& radius) {
  if (chord <= kTolerance || rise <= kTolerance) return false;
  angle = 4 * (kPi / 2 - std::atan(chord / (2 * rise)));
  radius = chord / (2 * std::sin(angle / 2));
  return true;
}

int arcSegments(double angle, double radius, double tolerance, int minimum) {
  if (radius <= kTolerance) return minimum;
  if (tolerance <= kTolerance || tolerance >= radius) return minimum;
  double step = 2 * std::acos((radius - tolerance) / radius);
  if (step <= kTolerance) return kMaxArcSegments;
  int n = int(std::ceil(std::fabs(angle) / step - kTolerance));
  return std::min(kMaxArcSegments, std::max(minimum, n));
}

std::vector<CadPoint> curvedAxis(double length, double tolerance) {
  double radius = length / 2;
  if (radius <= kTolerance) return straightAxis(length);
  int n = arcSegments(kPi, radius, tolerance, 2);
  std::vector<CadPoint> points;
  points.reserve(std::size_t(n) + 1);
  // The arc is laid out in x-y and stood up into x-z.
  for (int i = 0; i <= n; ++i) {
    double phi = kPi - kPi * double(i) / double(n);
    double x = radius + radius * std::cos(phi), y = radius * std::sin(phi);
    if (i == 0) x = 0;
    if (i == n) x = length;
    points.emplace_back(x, 0.0, std::fabs(y) <= 1e-12 ? 0.0 : y);
  }
  return points;
}

std::vector<CadPoint> profiledAxis(const ProfiledAxis& axis) {
  std::vector<CadPoint> points;
  double c = axis.length;
  double tolerance = axis.tolerance;
  bool plan = std::fabs(axis.hPath) > kTolerance, elevation = std::fabs(axis.vPath) > kTolerance;
  if (!plan && !elevation) {
    points = {CadPoint(0, 0, 0), CadPoint(c, axis.hEnd, axis.vEnd)};
  } else {
    double sh = axis.hPath < 0 ? -1.0 : 1.0, sv = axis.vPath < 0 ? -1.0 : 1.0;
    double thetaV = 0, radiusV = 0, thetaH = 0, radiusH = 0;
    bool hasV = elevation && bendArc(c, std::fabs(axis.vPath), thetaV, radiusV);
    // With both bends the plan bend runs over the developed elevation arc.
    double planChord = hasV ? radiusV * thetaV : c;
    bool hasH = plan && bendArc(planChord, std::fabs(axis.hPath), thetaH, radiusH);
    int n = 2;
    if (hasV) n = std::max(n, bendSegments(thetaV, radiusV, tolerance));
    if (hasH) n = std::max(n, bendSegments(thetaH, radiusH, tolerance));
    points.reserve(std::size_t(n) + 3);
    for (int i = 0; i <= n; ++i) {
      double u = double(i) / double(n);
      double x = c * u, y = 0, z = 0;
      if (hasV) bendPoint(c, thetaV, radiusV, sv, u, x, z);
      if (hasH) {
        double xp = 0;
        bendPoint(planChord, thetaH, radiusH, sh, u, xp, y);
        x = hasV ? xp * c / planChord : xp;
      }
      points.emplace_back(x + 0.0, y + axis.hEnd * u, z + axis.vEnd * u);
    }
    if (std::fabs(axis.startExtend) > kTolerance) {
      CadPoint d = points[1] - points[0];
      double len = d.distance(CadPoint());
      if (len > kTolerance) points.insert(points.begin(), points[0] - d * (axis.startExtend / len));
    }
    if (std::fabs(axis.endExtend) > kTolerance) {
      std::size_t k = points.size() - 1;
      CadPoint d = points[k] - points[k - 1];
      double len = d.distance(CadPoint());
      if (len > kTolerance) points.push_back(points[k] + d * (axis.endExtend / len));
    }
  }
  double ct = std::cos(axis.twist), st = std::sin(axis.twist);
  for (CadPoint& p : points) {
    double y = p.getY(), z = p.getZ();
    p = CadPoint(p.getX() + axis.start.getX(), y * ct - z * st + axis.start.getY(), y * st + z * ct + axis.start.getZ());
  }
  return points;
}

AxisWalk::AxisWalk(const std::vector<CadPoint>& points) {
  if (points.size() < 2) return;
  segments_.reserve(points.size() - 1);
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    Segment s;
    s.start = s.clippedStart = points[i];
    s.end = s.clippedEnd = points[i + 1];
    segments_.push_back(s);
  }
}

double AxisWalk::totalLength() const {
  double total = 0;
  for (const Segment& s : segments_) total += s.length();
  return total;
}

CadPoint AxisWalk::pointAt(double distance) const {
  if (segments_.empty()) return CadPoint();
  if (distance <= 0) return segments_.front().start;
  for (const Segment& s : segments_) {
    double len = s.length();
    if (distance <= len) return len > 0 ? lerp(s.start, s.end, distance / len) : s.start;
    distance -= len;
  }
  return segments_.back().end;
}

void AxisWalk::clip(const SplitPlane& plane, double tolerance) {
  for (Segment& s : segments_) {
    if (!s.present) continue;
    bool a = plane.cutsAway(s.clippedStart, tolerance), b = plane.cutsAway(s.clippedEnd, tolerance);
    if (a && b) {
      s.present = false;
    } else if (a || b) {
      double d1 = plane.distance(s.clippedStart), d2 = plane.distance(s.clippedEnd);
      CadPoint crossing = lerp(s.clippedStart, s.clippedEnd, d1 / (d1 - d2));
      (a ? s.clippedStart : s.clippedEnd) = crossing;
    }
  }
}

bool AxisWalk::clippedExtent(double& startDistance, double& endDistance, CadPoint& first, CadPoint& last) const {
  std::size_t n = segments_.size(), f = 0;
  while (f < n && !segments_[f].present) ++f;
  if (f == n) return false;
  std::size_t l = n - 1;
  while (!segments_[l].present) --l;
  double start = 0;
  for (std::size_t i = 0; i < f; ++i) start += segments_[i].length();
  start += segments_[f].start.distance(segments_[f].clippedStart);
  double end = totalLength();
  for (std::size_t i = l + 1; i < n; ++i) end -= segments_[i].length();
  end -= segments_[l].clippedEnd.distance(segments_[l].end);
  startDistance = start;
  endDistance = end;
  first = segments_[f].clippedStart;
  last = segments_[l].clippedEnd;
  return true;
}

bool AxisWalk::developedLength(const std::vector<CadPoint>& vertices, double& length) const {
  if (segments_.empty() || vertices.empty()) return false;
  std::size_t earlySeg = 0, lateSeg = 0;
  double earlyAlong = 0, lateAlong = 0;
  bool any = false;
  for (const CadPoint& v : vertices) {
    std::size_t best = 0;
    double bestDistance = 0, bestAlong = 0;
    for (std::size_t i = 0; i < segments_.size(); ++i) {
      const Segment& s = segments_[i];
      lunvik::CadLine line(s.start, s.end);
      CadPoint foot = s.length() > kTolerance ? line.nearestPoint(v) : s.start;
      double d = foot.distance(v);
      if (i == 0 || d < bestDistance - kTolerance) {
        best = i;
        bestDistance = d;
        bestAlong = s.start.distance(foot);
      }
    }
    if (!any || best < earlySeg || (best == earlySeg && bestAlong < earlyAlong)) {
      earlySeg = best;
      earlyAlong = bestAlong;
    }
    if (!any || best > lateSeg || (best == lateSeg && bestAlong > lateAlong)) {
      lateSeg = best;
      lateAlong = bestAlong;
    }
    any = true;
  }
  double total = segments_[earlySeg].length() - earlyAlong;
  for (std::size_t i = earlySeg + 1; i <= lateSeg; ++i) total += segments_[i].length();
  total -= segments_[lateSeg].length() - lateAlong;
  length = total;
  return true;
}

std::unique_ptr<lunvik::CadPoly> polylineOf(const std::vector<CadPoint>& points) {
  auto poly = std::make_unique<lunvik::CadPoly>(points.size(), 0, false);
  for (const CadPoint& p : points) poly->push_back(new lunvik::PolyPoint(p, 0.0, 0));
  return poly;
}

std::vector<CadPoint> pointsOf(const lunvik::CadPoly& polyline) {
  std::vector<CadPoint> points;
  points.reserve(polyline.vertexCount());
  for (std::size_t i = 0; i < polyline.vertexCount(); ++i) points.push_back(polyline.vertex(i));
  return points;
}

}  // namespace varnholt
