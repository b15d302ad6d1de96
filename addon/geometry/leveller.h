// A composite rotation that turns a direction into the vertical (+Z) and then turns about Z.
#pragma once

#include <memory>

#include "geometry/rotater.h"
#include "geometry/vector3.h"

namespace lunvik {

class CadArc;
class CadLine;
class CadPoint;
class CadPoly;

// Maps its direction onto +Z: the tilt (about Y) first, the roll (about X) second, the turn
// (about Z) last. invert() makes it the exact inverse mapping.
class Leveller {
 public:
  // Direction (0, 0, 1), no turn.
  Leveller();
  Leveller(const Vector3& direction, double turn, double tolerance = kTolerance);
  Leveller(const Leveller&) = default;
  Leveller& operator=(const Leveller&) = default;

  virtual ~Leveller();
  // The direction that becomes vertical.
  virtual Vector3& direction();
  // Rebuilds the three rotations for the direction and the turn.
  virtual void set(const Vector3& direction, double turn, double tolerance);
  // Replaces the rotation about Z by one of -turn (tolerance 0.00001).
  virtual void setTurn(double turn);
  // Every vertex of the outline and of the holes.
  virtual void level(CadPoly& poly) const;
  // The arc's centre and its axis.
  virtual void level(CadArc& arc) const;
  // Both ends.
  virtual void level(CadLine& line) const;
  virtual void level(CadPoint& point) const;

  // A free vector, rotated as a point.
  void level(Vector3& v) const;
  // Exchanges the turn and the tilt and inverts all three rotations.
  void invert();
  // True when every rotation is inactive, so levelling changes nothing.
  bool isIdentity() const { return !tilt_.isActive() && !roll_.isActive() && !turn_.isActive(); }

 private:
  // The rotations are held by value so that levellers built on the stack never allocate.
  // After invert() the turn is applied first and the tilt last: the exchange of the two.
  Vector3 direction_{0.0, 0.0, 1.0};
  ZRotater turn_;
  YRotater tilt_;
  XRotater roll_;
  bool inverted_ = false;
};

}  // namespace lunvik
