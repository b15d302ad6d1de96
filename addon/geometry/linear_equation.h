// A line in plan: a.x + b.y + c = 0.
#pragma once

#include <memory>
#include <optional>

#include "geometry/cad_point.h"

namespace lunvik {

class CadLine;
class InterPoint;

// A directed line in plan, a.x + b.y + c = 0; the left side of the direction is where
// a.x + b.y + c < 0.
class LinearEquation {
 public:
  LinearEquation(double a, double b, double c) : a_(a), b_(b), c_(c) {}
  // Through p with direction (dx, dy), scaled so that the smaller of |a|, |b| is 1.
  LinearEquation(const CadPoint& p, double dx, double dy);

  // Through p and q (direction q - p in plan); null when they coincide in plan.
  static std::unique_ptr<LinearEquation> fromPoints(const CadPoint& p, const CadPoint& q);
  // Through the line's start and end; null for a line without plan length.
  static std::unique_ptr<LinearEquation> fromLine(const CadLine& line);
  // Through p with the direction (cos angle, sin angle).
  static std::unique_ptr<LinearEquation> fromAngle(double angle, const CadPoint& p);
  // As fromPoints, held on the stack.
  static std::optional<LinearEquation> between(const CadPoint& p, const CadPoint& q);

  double a() const { return a_; }
  double b() const { return b_; }
  double c() const { return c_; }
  // The equation through the point with a' = b, b' = -a (turned right, not re-normalised).
  LinearEquation perpendicular(const CadPoint& point) const;
  // Equal slopes within the tolerance (or both vertical).
  bool isParallel(const LinearEquation& other, double tolerance) const;
  // The crossing point (z 0, codes 0); null when parallel.
  std::unique_ptr<InterPoint> intersect(const LinearEquation& other, double tolerance) const;
  // As intersect without allocating: false when parallel.
  bool intersectAt(const LinearEquation& other, double tolerance, double& x, double& y) const;
  // The foot of the perpendicular from the point (z 0); the point itself when there is none.
  CadPoint footPoint(const CadPoint& point) const;
  // Plan distance from the point to its foot point.
  double distance(const CadPoint& point) const;
  // 0 degenerate, 4 on the line, 1 on the left, 16 on the right.
  int side(const CadPoint& point, double tolerance) const;
  // The direction angle in [0, 2pi).
  double angle() const;

 private:
  double a_;
  double b_;
  double c_;
};

}  // namespace lunvik
