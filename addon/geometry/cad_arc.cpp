#include "geometry/cad_arc.h"

#include <algorithm>
#include <cmath>

#include "geometry/cad_cube.h"
#include "geometry/cad_line.h"
#include "geometry/intersect_list.h"
#include "geometry/leveller.h"
#include "geometry/linear_equation.h"
#include "geometry/matrix.h"
#include "geometry/plane.h"
#include "geometry/poly_point.h"

namespace lunvik {

namespace {

// The angle brought into [0, 2pi).
double wrapAngle(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0.0 ? a + kTwoPi : a;
}

double clampUnit(double v) { return std::max(-1.0, std::min(1.0, v)); }

}  // namespace

CadArc::CadArc(const CadPoint& centre, const Vector3& axis, double radius, double startAngle,
               double sweep)
    : centre_(centre), axis_(axis), radius_(radius), startAngle_(startAngle), sweep_(sweep) {}

CadArc::CadArc(const CadPoint& centre, const CadPoint& start, const CadPoint& end, bool clockwise)
    : centre_(centre) {
  radius_ = centre.distance2D(start);
  startAngle_ = centre.azimuth(start);
  sweep_ = centre.azimuth(end) - startAngle_;
  if (clockwise && sweep_ > 0.0) sweep_ -= kTwoPi;
  if (!clockwise && sweep_ < 0.0) sweep_ += kTwoPi;
}

CadArc::CadArc(const CadPoint& start, const PolyPoint& end) : centre_(start) {
  const double angle = end.arcAngle();
  if (std::fabs(angle) <= kTolerance || start.equals2D(end, kTolerance)) return;
  sweep_ = angle;
  const double half = std::fabs(angle) / 2.0;
  radius_ = start.distance2D(end) / (2.0 * std::sin(half));
  const double sign = angle > 0.0 ? 1.0 : -1.0;
  centre_.movePolar(radius_, start.azimuth(end) + sign * (kHalfPi - half));
  startAngle_ = centre_.azimuth(start);
}

CadArc::CadArc(const CadPoint& p1, const CadPoint& p2, const CadPoint& p3) {
  auto plane = Plane::through(p1, p2, p3);
  if (!plane) return;
  axis_ = plane->normal();
  if (axis_.z < 0.0) axis_ = -axis_;
  Leveller lev(axis_, 0.0);
  CadPoint q1(p1), q2(p2), q3(p3);
  lev.level(q1);
  lev.level(q2);
  lev.level(q3);
  const auto chord1 = LinearEquation::between(q1, q2);
  const auto chord2 = LinearEquation::between(q2, q3);
  if (!chord1 || !chord2) return;
  const LinearEquation bisector1 = chord1->perpendicular((q1 + q2) / 2.0);
  const LinearEquation bisector2 = chord2->perpendicular((q2 + q3) / 2.0);
  double x = 0.0, y = 0.0;
  if (!bisector1.intersectAt(bisector2, kTolerance, x, y)) return;
  // The levelled points share one height: the centre takes it, so that levelling it back
  // puts it in the plane of the three points.
  CadPoint c(x, y, q1.getZ());
  radius_ = c.distance2D(q1);
  startAngle_ = c.azimuth(q1);
  sweep_ = wrapAngle(c.azimuth(q3) - startAngle_ + kTwoPi);
  const auto chord = LinearEquation::between(q1, q3);
  if (chord && chord->side(q2, kTolerance) == kLocOutside) sweep_ -= kTwoPi;
  lev.invert();
  lev.level(c);
  centre_ = c;
}

CadArc::~CadArc() = default;

std::unique_ptr<CadArc> CadArc::clone() const { return std::make_unique<CadArc>(*this); }

CadPoint& CadArc::centre() { return centre_; }
const CadPoint& CadArc::centre() const { return centre_; }
Vector3& CadArc::axis() { return axis_; }

CadPoint CadArc::pointAt(double angle) const {
  CadPoint c(centre_);
  if (isPlanar()) {
    c.movePolar(radius_, angle);
    return c;
  }
  Leveller lev;
  leveller(lev, 0.0);
  lev.level(c);
  c.movePolar(radius_, angle);
  lev.invert();
  lev.level(c);
  return c;
}

double CadArc::angleAt(const CadPoint& point) const {
  if (isPlanar()) return centre_.azimuth(point);
  Leveller lev;
  leveller(lev, 0.0);
  CadPoint c(centre_), p(point);
  lev.level(c);
  lev.level(p);
  return c.azimuth(p);
}

void CadArc::range(double& low, double& span) const {
  if (sweep_ >= 0.0) {
    low = wrapAngle(startAngle_);
    span = sweep_;
  } else {
    low = wrapAngle(startAngle_ + sweep_);
    span = -sweep_;
  }
}

CadPoint CadArc::startPoint() const { return pointAt(startAngle_); }

PolyPoint CadArc::endPoint() const { return PolyPoint(pointAt(startAngle_ + sweep_), sweep_, 0); }

double CadArc::radius() const { return radius_; }
double CadArc::startAngle() const { return startAngle_; }
double CadArc::sweep() const { return sweep_; }
double CadArc::endAngle() const { return startAngle_ + sweep_; }
double CadArc::spare() const { return 0.0; }

bool CadArc::isValid(double tolerance) const {
  return radius_ > tolerance && std::fabs(sweep_) > tolerance && !axis_.isZero(tolerance);
}

Plane CadArc::plane() const {
  if (axis_.isZero(kTolerance)) return Plane();
  return Plane(centre_, axis_);
}

std::unique_ptr<CadCube> CadArc::boundingBox() const {
  if (!axis_.isParallel(Vector3(0.0, 0.0, 1.0), kTolerance)) return nullptr;
  auto box = std::make_unique<CadCube>(startPoint(), endPoint());
  box->normalise();
  double low = startAngle_, high = startAngle_ + sweep_;
  if (sweep_ < 0.0) std::swap(low, high);
  if (high < low) high += kTwoPi;
  double h = std::fmod(low, kHalfPi);
  if (h < 0.0) h += kHalfPi;
  if (h <= kTolerance || std::fabs(h - kHalfPi) <= kTolerance) h = 0.0;
  for (double q = h == 0.0 ? low : low - h + kHalfPi; q < high; q += kHalfPi) box->add(pointAt(q));
  return box;
}

void CadArc::setAxis(const Vector3& v) { axis_ = v; }
void CadArc::setRadius(double r) { radius_ = r; }
void CadArc::addRadius(double dr) { radius_ += dr; }
void CadArc::setStartAngle(double a) { startAngle_ = a; }
void CadArc::setSweep(double s) { sweep_ = s; }
void CadArc::setEndAngle(double a) { sweep_ = a - startAngle_; }
void CadArc::turn(double da) { startAngle_ += da; }

bool CadArc::operator==(const CadArc& arc) const { return equals(arc, kTolerance); }
bool CadArc::operator!=(const CadArc& arc) const { return !(*this == arc); }

CadArc CadArc::operator+(const CadPoint& offset) const {
  CadArc a(*this);
  a += offset;
  return a;
}

CadArc& CadArc::operator+=(const CadPoint& offset) {
  centre() += offset;
  return *this;
}

CadArc CadArc::operator-(const CadPoint& offset) const {
  CadArc a(*this);
  a -= offset;
  return a;
}

CadArc& CadArc::operator-=(const CadPoint& offset) {
  centre() -= offset;
  return *this;
}

CadArc CadArc::operator*(const Matrix3x3& m) const {
  CadArc a(*this);
  a *= m;
  return a;
}

CadArc CadArc::operator*(double s) const {
  CadArc a(*this);
  a *= s;
  return a;
}

CadArc& CadArc::operator*=(const Matrix3x3& m) {
  // The start angle is re-measured from the mapped start point: a rotation or mirror turns
  // the arc about its own centre too, and a mirror reverses its sense about the axis.
  const CadPoint start = startPoint() * m;
  centre_ *= m;
  axis_ *= m;
  if (m.determinant() < 0.0) sweep_ = -sweep_;
  if (axis_.z < 0.0) {
    axis_ = -axis_;
    sweep_ = -sweep_;
  }
  radius_ = centre_.distance(start);
  startAngle_ = angleAt(start);
  return *this;
}

CadArc& CadArc::operator*=(double s) {
  centre_ *= s;
  radius_ *= std::fabs(s);
  if (s < 0.0) startAngle_ += kPi;
  return *this;
}

CadPoint CadArc::midpoint() const { return pointAt(startAngle_ + sweep_ / 2.0); }

int CadArc::intersect(const Plane& plane, IntersectList& list, double tolerance) const {
  const auto line = this->plane().intersect(plane);
  if (!line) return 0;
  Intercept& other = list.templ(list.listSide(1));
  const Intercept saved = other;
  other = Intercept();
  const int n = intersect(*line, list, tolerance);
  list.templ(list.listSide(1)) = saved;
  return n;
}

double CadArc::length() const { return std::fabs(sweep_) * radius_; }

bool CadArc::equals(const CadArc& arc, double tolerance) const {
  if (!centre_.equals(arc.centre_, tolerance) || !axis_.isParallel(arc.axis_, tolerance)) return false;
  if (std::fabs(radius_ - arc.radius_) > tolerance) return false;
  if (std::fabs(std::fabs(sweep_) - std::fabs(arc.sweep_)) > tolerance) return false;
  const double low1 = sweep_ < 0.0 ? startAngle_ + sweep_ : startAngle_;
  const double low2 = arc.sweep_ < 0.0 ? arc.startAngle_ + arc.sweep_ : arc.startAngle_;
  // Start angles that differ by whole turns describe the same arc.
  double d = wrapAngle(low1 - low2);
  if (d > kPi) d -= kTwoPi;
  return std::fabs(d) <= tolerance;
}

CadPoint CadArc::nearestPoint(const CadPoint& point, double tolerance) const {
  if (!isValid(tolerance)) return startPoint();
  Leveller lev;
  const bool planar = isPlanar();
  if (!planar) leveller(lev, 0.0);
  CadPoint c(centre_), p(point);
  if (!planar) {
    lev.level(c);
    lev.level(p);
  }
  // Every point of the circle is equally near to a point over the centre.
  if (c.distance2D(p) <= tolerance) return startPoint();
  const double f = c.azimuth(p);
  double low = 0.0, span = 0.0;
  range(low, span);
  if (wrapAngle(f - low) <= span) {
    c.movePolar(radius_, f);
    if (!planar) {
      lev.invert();
      lev.level(c);
    }
    return c;
  }
  const CadPoint s = startPoint();
  const CadPoint e = endPoint();
  return s.distance(point) <= e.distance(point) ? s : e;
}

CadPoint CadArc::nearestPointOnCircle(const CadPoint& point) const {
  Leveller lev;
  leveller(lev, 0.0);
  CadPoint c(centre_), p(point);
  lev.level(c);
  lev.level(p);
  const double angle = c.azimuth(p);
  c.movePolar(radius_, angle);
  lev.invert();
  lev.level(c);
  return c;
}

int CadArc::intersect(const CadArc& arc, IntersectList& list, double tolerance) const {
  if (centre_.equals(arc.centre_, tolerance)) return 0;
  const Plane p1 = plane(), p2 = arc.plane();
  if (p1.isParallel(p2, kTolerance)) {
    if (std::fabs(p2.distance(centre_)) > tolerance) return 0;
    return intersectCoplanar(arc, list, tolerance);
  }
  const auto line = p1.intersect(p2);
  if (!line) return 0;
  const int side = list.listSide(1);
  const int mask = list.templ(side).code;
  list.templ(side).code = 0;
  const int n = intersectCoplanar(*line, list, tolerance);
  list.templ(side).code = mask;
  int kept = n;
  for (int i = n - 1; i >= 0; --i) {
    InterPoint& p = list.at(std::size_t(i));
    const int code = arc.locate(p, kTolerance);
    p.intercept(side).code = code;
    if (!list.accepts(side, code)) {
      list.erase(std::size_t(i));
      --kept;
    }
  }
  return kept;
}

int CadArc::intersect(const CadLine& line, IntersectList& list, double tolerance) const {
  if (!isValid(tolerance)) return 0;
  const Vector3 dir(line);
  if (dir.isZero(0.0)) return 0;
  const Plane pl = plane();
  if (axis_.unit().isPerpendicular(dir.unit(), tolerance)) {
    // A line parallel to the arc's plane meets the arc only when it lies in that plane.
    if (std::fabs(pl.distance(line.start())) > tolerance) return 0;
    return intersectCoplanar(line, list, tolerance);
  }
  CadPoint p;
  if (!pl.intersectAt(line, 0.0, p)) return 0;
  const int a = locate(p, kTolerance);
  if (a == kLocNone || a == kLocOutside) return 0;
  const int b = list.wantsFor(1) ? line.locate(p, kTolerance) : 0;
  return list.add(new InterPoint(p, a, b)) ? 1 : 0;
}

int CadArc::locate(const CadPoint& point, double tolerance) const {
  if (!isValid(tolerance)) return kLocNone;
  if (std::fabs(plane().distance(point)) > tolerance) return kLocNone;
  return locate2D(point, tolerance);
}

bool CadArc::isConcentric(const CadArc& arc, double tolerance) const {
  return centre_.equals(arc.centre_, tolerance) && axis_.isParallel(arc.axis_, tolerance);
}

bool CadArc::isOnCircle(const CadPoint& point, double tolerance) const {
  return std::fabs(plane().distance(point)) <= tolerance &&
         std::fabs(centre_.distance(point) - radius_) <= tolerance;
}

bool CadArc::isSameCircle(const CadArc& arc, double tolerance) const {
  return isConcentric(arc, tolerance) && std::fabs(radius_ - arc.radius_) <= tolerance;
}

bool CadArc::equals2D(const CadArc& arc, double tolerance) const {
  CadArc moved(arc);
  moved.centre_.z() = centre_.getZ();
  return centre_.equals2D(arc.centre_, tolerance) && equals(moved, tolerance);
}

double CadArc::length2D() const { return length(); }

CadPoint CadArc::nearestPoint(const CadPoint& point) const { return nearestPointOnCircle(point); }

CadPoint CadArc::pointToward(const CadPoint& point, double tolerance) const {
  if (!isValid(tolerance) || point.equals2D(centre_, tolerance)) return startPoint();
  const CadLine ray(centre_, point);
  IntersectList list(Intercept{kLocAny, 0, 0}, Intercept{});
  intersect2D(ray, list, tolerance);
  if (list.count() == 0) return startPoint();
  const InterPoint* hit = &list.at(0);
  if (list.count() > 1 && list.at(1).distance2D(point) < hit->distance2D(point)) hit = &list.at(1);
  const int code = hit->first().code;
  if (code == kLocStart || code == kLocOn || code == kLocEnd) return CadPoint(*hit);
  const CadPoint s = startPoint();
  const CadPoint e = endPoint();
  return s.distance(*hit) <= e.distance(*hit) ? s : e;
}

int CadArc::intersect2D(const CadArc& arc, IntersectList& list, double tolerance) const {
  if (centre_.equals2D(arc.centre_, tolerance)) return 0;
  const Plane mine = plane(), theirs = arc.plane();
  if (!mine.isParallel(theirs, kTolerance)) return 0;
  CadArc copy(*this);
  if (std::fabs(theirs.distance(centre_)) > tolerance)
    copy.centre_.z() = theirs.heightAt(centre_, tolerance);
  return copy.intersectCoplanar(arc, list, tolerance);
}

int CadArc::intersect2D(const CadLine& line, IntersectList& list, double tolerance) const {
  const Plane pl = plane();
  const CadPoint up(0.0, 0.0, 1.0);
  CadPoint s, e;
  if (!pl.intersectAt(CadLine(line.start(), line.start() + up), kTolerance, s)) return 0;
  if (!pl.intersectAt(CadLine(line.end(), line.end() + up), kTolerance, e)) return 0;
  return intersectCoplanar(CadLine(s, e), list, tolerance);
}

int CadArc::locate2D(const CadPoint& point, double tolerance) const {
  if (!isValid(tolerance)) return kLocNone;
  const double d = centre_.distance2D(point);
  if (d - radius_ > tolerance) return kLocOutside;
  if (radius_ - d > tolerance) return kLocInside;
  if (point.equals2D(startPoint(), tolerance)) return kLocStart;
  if (point.equals2D(pointAt(startAngle_ + sweep_), tolerance)) return kLocEnd;
  double low = 0.0, span = 0.0;
  range(low, span);
  const double rel = wrapAngle(angleAt(point) - low);
  const double widen = tolerance / radius_;
  // Points just before the low end wrap round to nearly a full turn.
  if (rel <= span + widen || rel >= kTwoPi - widen) return kLocOn;
  return kLocOnCircle;
}

bool CadArc::hasSameCentre2D(const CadArc& arc, double tolerance) const {
  return centre_.equals2D(arc.centre_, tolerance);
}

bool CadArc::isOn2D(const CadPoint& point, double tolerance) const {
  const int c = locate2D(point, tolerance);
  return c == kLocStart || c == kLocOn || c == kLocEnd;
}

bool CadArc::isSameCircle2D(const CadArc& arc, double tolerance) const {
  return hasSameCentre2D(arc, tolerance) && std::fabs(radius_ - arc.radius_) <= kTolerance &&
         std::fmod(axis_.azimuth(), kPi) == std::fmod(arc.axis_.azimuth(), kPi) &&
         std::fabs(axis_.altitude()) == std::fabs(arc.axis_.altitude());
}

void CadArc::movePolar(double length, double angle) { centre().movePolar(length, angle); }

void CadArc::movePolar(double length, double azimuth, double altitude) {
  centre().movePolar(length, azimuth, altitude);
}

void CadArc::reverse() {
  startAngle_ += sweep_;
  sweep_ = -sweep_;
}

void CadArc::leveller(Leveller& leveller, double turn) const { leveller.set(axis_, turn, kTolerance); }

bool CadArc::addCrossing(const CadPoint& point, const CadArc& arc, const CadLine& line,
                         IntersectList& list, double tolerance) const {
  const int c1 = list.wantsFor(0) ? arc.locate2D(point, tolerance) : 0;
  const int c2 = list.wantsFor(1) ? line.locate2D(point, tolerance) : 0;
  if (!list.wouldAccept(c1, c2)) return false;
  return list.add(new InterPoint(point, c1, c2));
}

bool CadArc::addCrossing(const CadPoint& point, const CadArc& arc, const CadArc& other,
                         IntersectList& list, double tolerance) const {
  const int c1 = list.wantsFor(0) ? arc.locate2D(point, tolerance) : 0;
  const int c2 = list.wantsFor(1) ? other.locate2D(point, tolerance) : 0;
  if (!list.wouldAccept(c1, c2)) return false;
  return list.add(new InterPoint(point, c1, c2));
}

int CadArc::intersectCoplanar(const CadArc& arc, IntersectList& list, double tolerance) const {
  if (!isValid(tolerance) || !arc.isValid(tolerance)) return 0;
  Leveller lev;
  leveller(lev, 0.0);
  CadArc a(*this), b(arc);
  lev.level(a);
  lev.level(b);
  const CadPoint& c = a.centre_;
  const double dist = c.distance2D(b.centre_);
  const double r1 = a.radius_, r2 = b.radius_;
  const double e = c.azimuth(b.centre_);
  if (dist <= tolerance) return 0;
  if (dist - (r1 + r2) > tolerance || std::fabs(r1 - r2) - dist > kTolerance) return 0;
  CadPoint candidates[2];
  int count = 0;
  const bool outside = std::fabs(dist - (r1 + r2)) <= tolerance;
  const bool inside = std::fabs(dist - std::fabs(r1 - r2)) <= tolerance;
  if (outside || inside) {
    const double t = (!outside && r2 > r1) ? e + kPi : e;
    candidates[count] = c;
    candidates[count++].movePolar(r1, t);
  } else {
    const double theta = std::acos(clampUnit((dist * dist - r2 * r2 + r1 * r1) / (2.0 * dist) / r1));
    for (double t : {e + theta, e - theta}) {
      candidates[count] = c;
      candidates[count++].movePolar(r1, t);
    }
  }
  int added = 0;
  for (int i = 0; i < count; ++i)
    if (addCrossing(candidates[i], a, b, list, tolerance)) ++added;
  if (!lev.isIdentity()) {
    lev.invert();
    for (int i = 0; i < added; ++i) lev.level(list.at(std::size_t(i)));
  }
  return added;
}

int CadArc::intersectCoplanar(const CadLine& line, IntersectList& list, double tolerance) const {
  if (!isValid(tolerance)) return 0;
  Leveller lev;
  leveller(lev, 0.0);
  CadArc a(*this);
  CadLine l(line);
  lev.level(a);
  lev.level(l);
  if (!LinearEquation::between(l.start(), l.end())) return 0;
  const CadPoint& c = a.centre_;
  CadPoint foot = l.footPoint2D(c);
  foot.z() = c.getZ();
  const double d = c.distance2D(foot);
  const double r = a.radius_;
  if (d - r > tolerance) return 0;
  CadPoint candidates[2];
  int count = 0;
  // A line that passes the circle within the tolerance from outside touches it at the foot.
  if (std::fabs(d - r) <= tolerance * 0.01 || d > r) {
    candidates[count++] = foot;
  } else {
    double half = 0.0, base = 0.0;
    if (d <= tolerance) {
      half = kHalfPi;
      base = l.azimuth() + kHalfPi;
    } else {
      half = std::acos(clampUnit(d / r));
      base = c.azimuth(foot);
    }
    for (double t : {base + half, base - half}) {
      candidates[count] = c;
      candidates[count++].movePolar(r, t);
    }
  }
  int added = 0;
  for (int i = 0; i < count; ++i)
    if (addCrossing(candidates[i], a, l, list, tolerance)) ++added;
  if (!lev.isIdentity()) {
    lev.invert();
    for (int i = 0; i < added; ++i) lev.level(list.at(std::size_t(i)));
  }
  return added;
}

}  // namespace lunvik
