#include "geometry/poly_edge.h"

#include <cmath>

#include "geometry/intersect_list.h"
#include "geometry/matrix.h"

namespace lunvik {

namespace {

double wrapAngle(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0.0 ? a + kTwoPi : a;
}

}  // namespace

PolyEdge::~PolyEdge() = default;

CadPoint& PolyEdge::start() { return start_; }
const CadPoint& PolyEdge::start() const { return start_; }
PolyPoint& PolyEdge::end() { return end_; }
const PolyPoint& PolyEdge::end() const { return end_; }

void PolyEdge::stretchStart(const CadPoint& point) { start_ = point; }

void PolyEdge::stretchEnd(const CadPoint& point) {
  end_ = PolyPoint(point, end_.arcAngle(), end_.vertexId());
}

bool PolyEdge::isArc() const { return end_.isArc(kTolerance); }
CadLine PolyEdge::line() const { return CadLine(start_, end_); }
CadArc PolyEdge::arc() const { return CadArc(start_, end_); }

int PolyEdge::locate2D(const CadPoint& point, double tolerance) const {
  return isArc() ? arc().locate2D(point, tolerance) : line().locate2D(point, tolerance);
}

int PolyEdge::locate(const CadPoint& point, double tolerance) const {
  return isArc() ? arc().locate(point, tolerance) : line().locate(point, tolerance);
}

CadPoint PolyEdge::footPoint(const CadPoint& point, double) const {
  return isArc() ? arc().nearestPointOnCircle(point) : line().footPoint(point);
}

CadPoint PolyEdge::nearestPoint(const CadPoint& point, double tolerance) const {
  return isArc() ? arc().nearestPoint(point, tolerance) : line().nearestPoint(point);
}

CadPoint PolyEdge::nearestPoint2D(const CadPoint& point, double tolerance) const {
  if (!isArc()) return line().nearestPoint2D(point);
  const CadArc a = arc();
  // In plan: the point taken to the height of the arc's plan plane.
  const CadPoint level(point.getX(), point.getY(), a.centre().getZ());
  return a.nearestPoint(level, tolerance);
}

CadPoint PolyEdge::midpoint() const { return isArc() ? arc().midpoint() : line().midpoint(); }
CadPoint PolyEdge::centre() const { return isArc() ? arc().centre() : line().midpoint(); }
double PolyEdge::radius() const { return isArc() ? arc().radius() : 0.0; }
double PolyEdge::chordLength() const { return end_.distance(start_); }
double PolyEdge::azimuth() const { return start_.azimuth(end_); }
double PolyEdge::altitude() const { return start_.altitude(end_); }

double PolyEdge::startDirection() const {
  if (!isArc()) return azimuth();
  const CadArc a = arc();
  return a.startAngle() + (a.sweep() > 0.0 ? kHalfPi : -kHalfPi);
}

double PolyEdge::endDirection() const {
  if (!isArc()) return azimuth();
  const CadArc a = arc();
  return a.endAngle() + (a.sweep() > 0.0 ? kHalfPi : -kHalfPi);
}

int PolyEdge::intersect(const PolyEdge& edge, IntersectList& list, double tolerance) const {
  if (edge.isArc()) return intersect(edge.arc(), list, tolerance);
  return intersect(edge.line(), list, tolerance);
}

int PolyEdge::intersect(const CadLine& line, IntersectList& list, double tolerance) const {
  if (isArc()) return arc().intersect2D(line, list, tolerance);
  return this->line().intersect2D(line, list, tolerance);
}

int PolyEdge::intersect(const CadArc& arc, IntersectList& list, double tolerance) const {
  if (isArc()) return this->arc().intersect2D(arc, list, tolerance);
  // The arc computes its own code first: it plays the other side for the call.
  list.toggleSwapped();
  const int n = arc.intersect2D(line(), list, tolerance);
  list.toggleSwapped();
  return n;
}

void PolyEdge::setZ(double z) {
  start_.z() = z;
  end_.z() = z;
}

void PolyEdge::offset(double distance) {
  if (!isArc()) {
    const double angle = azimuth() + kHalfPi;
    start_.movePolar(distance, angle);
    end_.movePolar(distance, angle);
    return;
  }
  CadArc a = arc();
  a.addRadius(end_.arcAngle() > 0.0 ? -distance : distance);
  start_ = a.startPoint();
  end_ = PolyPoint(a.endPoint(), end_.arcAngle(), end_.vertexId());
}

void PolyEdge::extendEnd(double length) {
  if (std::fabs(length) <= kTolerance) return;
  if (!isArc()) {
    end_.movePolar(length, azimuth(), altitude());
    return;
  }
  CadArc a = arc();
  double sweep = a.sweep() + (a.sweep() > 0.0 ? 1.0 : -1.0) * length / a.radius();
  if (sweep > kTwoPi) sweep = kTwoPi;
  if (sweep < -kTwoPi) sweep = -kTwoPi;
  a.setSweep(sweep);
  end_ = PolyPoint(a.endPoint(), sweep, end_.vertexId());
}

void PolyEdge::trimTo(const CadPoint& point, bool atEnd) {
  if (!isArc()) {
    const CadPoint foot = line().footPoint(point);
    if (atEnd) {
      end_ = PolyPoint(foot, end_.arcAngle(), end_.vertexId());
    } else {
      start_ = foot;
    }
    return;
  }
  const CadArc a = arc();
  const CadPoint foot = a.nearestPointOnCircle(point);
  const double f = a.angleAt(foot);
  const bool ccw = a.sweep() > 0.0;
  double sweep = 0.0;
  if (atEnd) {
    sweep = ccw ? wrapAngle(f - a.startAngle()) : -wrapAngle(a.startAngle() - f);
    end_ = PolyPoint(foot, sweep, end_.vertexId());
  } else {
    const double e = a.endAngle();
    sweep = ccw ? wrapAngle(e - f) : -wrapAngle(f - e);
    start_ = foot;
    end_.setArcAngle(sweep);
  }
}

bool PolyEdge::equals(const PolyEdge& edge, double tolerance) const {
  return start_.equals(edge.start_, tolerance) && end_.equals(edge.end_, tolerance) &&
         std::fabs(end_.arcAngle() - edge.end_.arcAngle()) <= tolerance;
}

bool PolyEdge::equals2D(const PolyEdge& edge, double tolerance) const {
  return start_.equals2D(edge.start_, tolerance) && end_.equals2D(edge.end_, tolerance) &&
         std::fabs(end_.arcAngle() - edge.end_.arcAngle()) <= tolerance;
}

PolyEdge PolyEdge::operator+(const CadPoint& offset) const {
  PolyEdge e(*this);
  e += offset;
  return e;
}

PolyEdge& PolyEdge::operator+=(const CadPoint& offset) {
  start_ += offset;
  end_ += offset;
  return *this;
}

PolyEdge PolyEdge::operator-(const CadPoint& offset) const {
  PolyEdge e(*this);
  e -= offset;
  return e;
}

PolyEdge& PolyEdge::operator-=(const CadPoint& offset) {
  start_ -= offset;
  end_ -= offset;
  return *this;
}

PolyEdge PolyEdge::operator*(const Matrix3x3& m) const {
  PolyEdge e(*this);
  e *= m;
  return e;
}

PolyEdge PolyEdge::operator*(double s) const {
  PolyEdge e(*this);
  e *= s;
  return e;
}

PolyEdge& PolyEdge::operator*=(const Matrix3x3& m) {
  start_ *= m;
  end_ *= m;
  if (m.determinant() < 0.0) end_.setArcAngle(-end_.arcAngle());
  return *this;
}

PolyEdge& PolyEdge::operator*=(double s) {
  start_ *= s;
  end_ *= s;
  return *this;
}

void PolyEdge::movePolar(double length, double angle) {
  start_.movePolar(length, angle);
  end_.movePolar(length, angle);
}

void PolyEdge::movePolar(double length, double azimuth, double altitude) {
  start_.movePolar(length, azimuth, altitude);
  end_.movePolar(length, azimuth, altitude);
}

void PolyEdge::reverse() {
  const CadPoint oldStart = start_;
  start_ = CadPoint(end_);
  end_ = PolyPoint(oldStart, -end_.arcAngle(), 0);
}

}  // namespace lunvik
