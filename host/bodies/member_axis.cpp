#include "host/bodies/member_axis.h"

#include <algorithm>
#include <cmath>

namespace standin {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Lengths and rises within this are nothing.
constexpr double kTolerance = 0.00001;
// Beyond this many segments a finer division buys nothing but time.
constexpr int kMaxSegments = 4096;

// Angle and radius of the arc of a bend of chord c and rise s; false when either is nothing.
bool bendArc(double chord, double rise, double& angle, double& radius) {
  if (chord <= kTolerance || rise <= kTolerance) return false;
  angle = 4 * (kPi / 2 - std::atan(chord / (2 * rise)));
  radius = chord / (2 * std::sin(angle / 2));
  return true;
}

// Equal segments that keep an arc within the tolerance of its chords, rounded, at least two.
int bendSegments(double angle, double radius, double tolerance) {
  if (tolerance <= kTolerance || tolerance >= radius) return 2;
  double step = 2 * std::acos((radius - tolerance) / radius);
  if (step <= kTolerance) return kMaxSegments;
  return std::min(kMaxSegments, std::max(2, int(std::lround(angle / step))));
}

// The point of a bend laid along x at the fraction u: its x and its rise.
void bendPoint(double chord, double angle, double radius, double sign, double u, double& x, double& rise) {
  double phi = -angle / 2 + u * angle;
  x = chord / 2 + radius * std::sin(phi);
  rise = sign * (radius * std::cos(phi) - radius * std::cos(angle / 2));
}

}  // namespace

MemberAxis memberAxisOf(const ParameterValues& values) {
  MemberAxis axis;
  axis.length = values.number("length", 1.0);
  axis.hPath = values.number("hPath", 0);
  axis.vPath = values.number("vPath", 0);
  axis.hEnd = values.number("hEnd", 0);
  axis.vEnd = values.number("vEnd", 0);
  axis.startExtend = values.number("startExtend", 0);
  axis.endExtend = values.number("endExtend", 0);
  axis.twist = values.number("twist", 0);
  axis.tolerance = values.number("arcToler", 0.002);
  return axis;
}

bool isPlainAxis(const MemberAxis& axis) {
  return std::fabs(axis.hPath) <= kTolerance && std::fabs(axis.vPath) <= kTolerance &&
         std::fabs(axis.hEnd) <= kTolerance && std::fabs(axis.vEnd) <= kTolerance;
}

std::vector<Vec3> axisPoints(const MemberAxis& axis) {
  const double c = axis.length;
  const bool plan = std::fabs(axis.hPath) > kTolerance, elevation = std::fabs(axis.vPath) > kTolerance;
  if (!plan && !elevation) return {Vec3{0, 0, 0}, Vec3{c, axis.hEnd, axis.vEnd}};
  const double sh = axis.hPath < 0 ? -1.0 : 1.0, sv = axis.vPath < 0 ? -1.0 : 1.0;
  double thetaV = 0, radiusV = 0, thetaH = 0, radiusH = 0;
  const bool hasV = elevation && bendArc(c, std::fabs(axis.vPath), thetaV, radiusV);
  // With both bends the plan bend runs over the developed elevation arc.
  const double planChord = hasV ? radiusV * thetaV : c;
  const bool hasH = plan && bendArc(planChord, std::fabs(axis.hPath), thetaH, radiusH);
  int n = 2;
  if (hasV) n = std::max(n, bendSegments(thetaV, radiusV, axis.tolerance));
  if (hasH) n = std::max(n, bendSegments(thetaH, radiusH, axis.tolerance));
  std::vector<Vec3> points;
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
    points.push_back({x, y + axis.hEnd * u, z + axis.vEnd * u});
  }
  // A straight piece of the given length beyond `end`, along the segment from `from`.
  auto extension = [](const Vec3& from, const Vec3& end, double by, Vec3& out) {
    Vec3 d{end.x - from.x, end.y - from.y, end.z - from.z};
    double len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (len <= kTolerance) return false;
    out = {end.x + d.x * (by / len), end.y + d.y * (by / len), end.z + d.z * (by / len)};
    return true;
  };
  Vec3 extra;
  if (std::fabs(axis.startExtend) > kTolerance && extension(points[1], points[0], axis.startExtend, extra))
    points.insert(points.begin(), extra);
  if (std::fabs(axis.endExtend) > kTolerance &&
      extension(points[points.size() - 2], points.back(), axis.endExtend, extra))
    points.push_back(extra);
  return points;
}

Vec3 turnedAboutX(const Vec3& p, double angle) {
  double c = std::cos(angle), s = std::sin(angle);
  return {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
}

}  // namespace standin
