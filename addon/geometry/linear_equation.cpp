#include "geometry/linear_equation.h"

#include <algorithm>
#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/inter_point.h"

namespace lunvik {

LinearEquation::LinearEquation(const CadPoint& p, double dx, double dy) {
  if (std::fabs(dx) <= kTolerance) {
    const double s = dy > 0.0 ? 1.0 : -1.0;
    a_ = s;
    b_ = 0.0;
    c_ = -s * p.getX();
  } else if (std::fabs(dy) <= kTolerance) {
    const double s = dx > 0.0 ? 1.0 : -1.0;
    a_ = 0.0;
    b_ = -s;
    c_ = s * p.getY();
  } else {
    const double m = std::min(std::fabs(dx), std::fabs(dy));
    a_ = dy / m;
    b_ = -dx / m;
    c_ = -a_ * p.getX() - b_ * p.getY();
  }
}

std::optional<LinearEquation> LinearEquation::between(const CadPoint& p, const CadPoint& q) {
  const double dx = q.getX() - p.getX(), dy = q.getY() - p.getY();
  if (std::fabs(dx) <= kTolerance && std::fabs(dy) <= kTolerance) return std::nullopt;
  return LinearEquation(p, dx, dy);
}

std::unique_ptr<LinearEquation> LinearEquation::fromPoints(const CadPoint& p, const CadPoint& q) {
  auto e = between(p, q);
  if (!e) return nullptr;
  return std::make_unique<LinearEquation>(*e);
}

std::unique_ptr<LinearEquation> LinearEquation::fromLine(const CadLine& line) {
  return fromPoints(line.start(), line.end());
}

std::unique_ptr<LinearEquation> LinearEquation::fromAngle(double angle, const CadPoint& p) {
  return std::make_unique<LinearEquation>(p, std::cos(angle), std::sin(angle));
}

LinearEquation LinearEquation::perpendicular(const CadPoint& point) const {
  const double a = b_, b = -a_;
  return LinearEquation(a, b, -a * point.getX() - b * point.getY());
}

bool LinearEquation::isParallel(const LinearEquation& other, double tolerance) const {
  const bool steep1 = std::fabs(b_) <= tolerance, steep2 = std::fabs(other.b_) <= tolerance;
  if (!steep1 && !steep2) return std::fabs(other.a_ / other.b_ - a_ / b_) <= tolerance;
  return steep1 && steep2;
}

bool LinearEquation::intersectAt(const LinearEquation& other, double tolerance, double& x,
                                 double& y) const {
  if (isParallel(other, tolerance)) return false;
  const double a1 = a_, b1 = b_, c1 = c_, a2 = other.a_, b2 = other.b_, c2 = other.c_;
  const double den = a2 * b1 - a1 * b2;
  if (den == 0.0) return false;
  y = (c2 * a1 - c1 * a2) / den;
  if (std::fabs(a1) > kTolerance) {
    x = (-y * b1 - c1) / a1;
  } else {
    x = (-y * b2 - c2) / a2;
  }
  return true;
}

std::unique_ptr<InterPoint> LinearEquation::intersect(const LinearEquation& other,
                                                      double tolerance) const {
  double x = 0.0, y = 0.0;
  if (!intersectAt(other, tolerance, x, y)) return nullptr;
  return std::make_unique<InterPoint>(CadPoint(x, y, 0.0), 0, 0);
}

CadPoint LinearEquation::footPoint(const CadPoint& point) const {
  double x = 0.0, y = 0.0;
  if (!intersectAt(perpendicular(point), kTolerance, x, y)) return point;
  return CadPoint(x, y, 0.0);
}

double LinearEquation::distance(const CadPoint& point) const {
  double x = 0.0, y = 0.0;
  if (!intersectAt(perpendicular(point), kTolerance, x, y)) return 0.0;
  return std::hypot(x - point.getX(), y - point.getY());
}

int LinearEquation::side(const CadPoint& point, double tolerance) const {
  if (std::fabs(a_) <= tolerance && std::fabs(b_) <= tolerance) return kLocNone;
  if (distance(point) <= tolerance) return kLocOn;
  return a_ * point.getX() + b_ * point.getY() + c_ < 0.0 ? kLocOutside : kLocInside;
}

double LinearEquation::angle() const {
  if (std::fabs(b_) <= kTolerance) return a_ > 0.0 ? kHalfPi : 3.0 * kHalfPi;
  if (std::fabs(a_) <= kTolerance) return b_ < 0.0 ? 0.0 : kPi;
  double t = std::atan(-a_ / b_);
  if (b_ > 0.0) t += kPi;
  if (t < -kTolerance) t += kTwoPi;
  return t;
}

}  // namespace lunvik
