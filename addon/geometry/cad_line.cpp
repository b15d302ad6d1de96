#include "geometry/cad_line.h"

#include <cmath>
#include <utility>

#include "geometry/intersect_list.h"
#include "geometry/leveller.h"
#include "geometry/linear_equation.h"
#include "geometry/matrix.h"
#include "geometry/plane.h"
#include "geometry/vector3.h"

namespace lunvik {

CadLine::CadLine(const CadPoint& start, double length, double angle) : start_(start), end_(start) {
  end_.movePolar(length, angle);
}

CadLine::CadLine(const platform::SegmentRecord& record, double z)
    : start_(record.start, z), end_(record.end, z) {}

CadLine::~CadLine() = default;

CadPoint& CadLine::start() { return start_; }
const CadPoint& CadLine::start() const { return start_; }
CadPoint& CadLine::end() { return end_; }
const CadPoint& CadLine::end() const { return end_; }

bool CadLine::operator==(const CadLine& line) const { return equals(line, kTolerance); }
bool CadLine::operator!=(const CadLine& line) const { return !(*this == line); }

CadLine CadLine::operator+(const CadPoint& offset) const {
  CadLine l(*this);
  l += offset;
  return l;
}

CadLine& CadLine::operator+=(const CadPoint& offset) {
  start() += offset;
  end() += offset;
  return *this;
}

CadLine CadLine::operator-(const CadPoint& offset) const {
  CadLine l(*this);
  l -= offset;
  return l;
}

CadLine& CadLine::operator-=(const CadPoint& offset) {
  start() -= offset;
  end() -= offset;
  return *this;
}

CadLine CadLine::operator*(const Matrix3x3& m) const {
  CadLine l(*this);
  l *= m;
  return l;
}

CadLine CadLine::operator*(double s) const {
  CadLine l(*this);
  l *= s;
  return l;
}

CadLine& CadLine::operator*=(const Matrix3x3& m) {
  start() *= m;
  end() *= m;
  return *this;
}

CadLine& CadLine::operator*=(double s) {
  start() *= s;
  end() *= s;
  return *this;
}

platform::SegmentRecord CadLine::getCoords() const {
  return platform::SegmentRecord{start().getCoord(), end().getCoord()};
}

double CadLine::azimuth() const { return start().azimuth(end()); }
double CadLine::altitude() const { return start().altitude(end()); }
double CadLine::angle(const CadLine& line) const { return Vector3(*this).angle(Vector3(line)); }
CadPoint CadLine::midpoint() const { return (start() + end()) / 2.0; }

double CadLine::zAt(const CadPoint& point) const {
  const CadPoint& s = start();
  const CadPoint& e = end();
  if (std::fabs(e.getZ() - s.getZ()) <= kTolerance) return s.getZ();
  const Vector3 planDir(e.getX() - s.getX(), e.getY() - s.getY(), 0.0);
  auto plane = Plane::fromPoint(point, planDir);
  if (!plane) return s.getZ();
  CadPoint meet;
  if (!plane->intersectAt(*this, kTolerance, meet)) return s.getZ();
  return meet.getZ();
}

bool CadLine::equals(const CadLine& line, double) const {
  return (start().equals(line.start(), kTolerance) && end().equals(line.end(), kTolerance)) ||
         (start().equals(line.end(), kTolerance) && end().equals(line.start(), kTolerance));
}

double CadLine::length() const { return start().distance(end()); }

CadPoint CadLine::footPoint(const CadPoint& point) const {
  const Vector3 dir(*this);
  if (dir.isZero(kTolerance)) return start();
  const Plane plane(point, dir);
  CadPoint foot;
  if (!plane.intersectAt(*this, kTolerance, foot)) return start();
  return foot;
}

CadPoint CadLine::nearestPoint(const CadPoint& point) const {
  const CadPoint foot = footPoint(point);
  const int code = locate(foot, kTolerance);
  if (code == kLocInside) return start();
  if (code == kLocOutside) return end();
  return foot;
}

int CadLine::intersect(const CadLine& line, IntersectList& list, double tolerance) const {
  const CadPoint third = start() + (line.end() - line.start());
  auto plane = Plane::through(start(), end(), third);
  if (!plane) return 0;
  Leveller leveller(plane->normal(), 0.0);
  CadLine a(*this), b(line);
  leveller.level(a);
  leveller.level(b);
  const double ha = a.start().getZ(), hb = b.start().getZ();
  if (std::fabs(ha - hb) > tolerance) return 0;
  if (!a.intersect2D(b, list, tolerance)) return 0;
  InterPoint& p = list.at(0);
  p.z() = (ha + hb) / 2.0;
  leveller.invert();
  leveller.level(p);
  return 1;
}

int CadLine::locate(const CadPoint& point, double tolerance) const {
  const Vector3 dir(*this);
  if (dir.isZero(0.0)) return kLocNone;
  const Leveller leveller(dir, 0.0);
  CadPoint s = start(), p = point;
  leveller.level(s);
  leveller.level(p);
  if (s.distance2D(p) > kTolerance) return kLocNone;
  const int atStart = Plane(start(), dir).side(point, tolerance);
  if (atStart == kLocOn) return kLocStart;
  if (atStart == kLocOutside) return kLocInside;
  const int atEnd = Plane(end(), dir).side(point, tolerance);
  if (atEnd == kLocOutside) return kLocOn;
  if (atEnd == kLocOn) return kLocEnd;
  return kLocOutside;
}

bool CadLine::isParallel(const CadLine& line) const {
  return Vector3(*this).isParallel(Vector3(line), kTolerance);
}

bool CadLine::isOn(const CadPoint& point, double tolerance) const {
  const int c = locate(point, tolerance);
  return c == kLocStart || c == kLocOn || c == kLocEnd;
}

bool CadLine::isCollinear(const CadLine& line, double tolerance) const {
  return isParallel(line) && line.start().distance(footPoint(line.start())) <= tolerance;
}

bool CadLine::equals2D(const CadLine& line, double) const {
  return (start().equals2D(line.start(), kTolerance) && end().equals2D(line.end(), kTolerance)) ||
         (start().equals2D(line.end(), kTolerance) && end().equals2D(line.start(), kTolerance));
}

double CadLine::length2D() const { return start().distance2D(end()); }

double CadLine::turnAngle(const CadLine& line) const {
  double t = line.azimuth() - azimuth();
  if (t < 0.0) t += kTwoPi;
  return t;
}

CadPoint CadLine::footPoint2D(const CadPoint& point) const {
  const auto eq = LinearEquation::between(start(), end());
  if (!eq) return start();
  return eq->footPoint(point);
}

CadPoint CadLine::nearestPoint2D(const CadPoint& point) const {
  const CadPoint foot = footPoint2D(point);
  const int code = locate2D(foot, kTolerance);
  if (code == kLocInside) return start();
  if (code == kLocOutside) return end();
  return foot;
}

int CadLine::intersect2D(const CadLine& line, IntersectList& list, double tolerance) const {
  const auto e1 = LinearEquation::between(start(), end());
  const auto e2 = LinearEquation::between(line.start(), line.end());
  if (!e1 || !e2) return 0;
  double x = 0.0, y = 0.0;
  if (!e1->intersectAt(*e2, tolerance, x, y)) return 0;
  const CadPoint at(x, y, 0.0);
  const int c1 = list.wantsFor(0) ? locate2D(at, tolerance) : 0;
  const int c2 = list.wantsFor(1) ? line.locate2D(at, tolerance) : 0;
  // A rejected point is never made.
  if (!list.wouldAccept(c1, c2)) return 0;
  return list.add(new InterPoint(at, c1, c2)) ? 1 : 0;
}

int CadLine::locate2D(const CadPoint& point, double tolerance) const {
  if (point.equals2D(start(), tolerance)) return kLocStart;
  if (point.equals2D(end(), tolerance)) return kLocEnd;
  const auto eq = LinearEquation::between(start(), end());
  if (!eq) return kLocNone;
  if (eq->distance(point) > tolerance) return kLocNone;
  const LinearEquation across = eq->perpendicular(point);
  const int b = across.side(start(), tolerance);
  if (b == kLocOn) return kLocStart;
  const int e = across.side(end(), tolerance);
  if (e == kLocOn) return kLocEnd;
  if (b == e) return across.distance(end()) > across.distance(start()) ? kLocInside : kLocOutside;
  return kLocOn;
}

bool CadLine::isParallel2D(const CadLine& line, double tolerance) const {
  const auto e1 = LinearEquation::between(start(), end());
  const auto e2 = LinearEquation::between(line.start(), line.end());
  if (!e1 || !e2) return false;
  return e1->isParallel(*e2, tolerance);
}

bool CadLine::isOn2D(const CadPoint& point, double tolerance) const {
  const int c = locate2D(point, tolerance);
  return c == kLocStart || c == kLocOn || c == kLocEnd;
}

bool CadLine::isCollinear2D(const CadLine& line, double tolerance) const {
  return isParallel2D(line, tolerance) &&
         line.start().distance2D(footPoint2D(line.start())) <= tolerance;
}

void CadLine::movePolar(double length, double angle) {
  start().movePolar(length, angle);
  end().movePolar(length, angle);
}

void CadLine::movePolar(double length, double azimuth, double altitude) {
  start().movePolar(length, azimuth, altitude);
  end().movePolar(length, azimuth, altitude);
}

void CadLine::reverse() { std::swap(start_, end_); }

}  // namespace lunvik
