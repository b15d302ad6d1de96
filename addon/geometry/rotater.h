// Rotations about one coordinate axis through the origin.
#pragma once

#include <memory>

#include "geometry/tolerance.h"

namespace lunvik {

class CadArc;
class CadLine;
class CadPoint;
class CadPoly;
class Plane;
class Vector3;
class Vector4;

// A rotation about one coordinate axis (right-hand rule); inactive (leaving everything
// unchanged) while its angle is within the tolerance of 0.
class Rotater {
 public:
  Rotater(const Rotater&) = default;
  Rotater& operator=(const Rotater&) = default;

  virtual ~Rotater();
  // A heap copy of the same axis class.
  virtual std::unique_ptr<Rotater> clone() const = 0;
  // 0 for X, 1 for Y, 2 for Z.
  virtual int axis() const = 0;
  // The rotation angle (right-hand rule).
  virtual double getAngle() const;
  virtual bool isActive() const;
  // Stores the angle; active when |angle| exceeds the tolerance.
  virtual void setAngle(double angle, double tolerance);
  // Turns the rotation into its inverse.
  virtual void invert();
  // Rotates a point.
  virtual void rotate(CadPoint& point) const = 0;
  // Every vertex of the outline and of the holes.
  virtual void rotate(CadPoly& poly) const;
  // The normal; the offset stays.
  virtual void rotate(Plane& plane) const;
  // x, y, z as a point; w kept.
  virtual void rotate(Vector4& v) const;
  virtual void rotate(Vector3& v) const;
  // Both end points.
  virtual void rotate(CadLine& line) const;
  // Centre, axis and start point; the axis is kept pointing up (z >= 0).
  virtual void rotate(CadArc& arc) const;

 protected:
  Rotater() = default;
  // Turns the coordinate pair (u, v) by the stored sine and cosine.
  void turnPair(double& u, double& v) const {
    const double nu = u * cosine_ + v * sine_;
    v = -u * sine_ + v * cosine_;
    u = nu;
  }

  bool active_ = false;
  double angle_ = 0.0;   // stored angle
  double sine_ = 0.0;    // sin(-angle)
  double cosine_ = 1.0;  // cos(-angle)
};

// Rotation about X: y' = y cos a - z sin a, z' = y sin a + z cos a.
class XRotater : public Rotater {
 public:
  explicit XRotater(double angle = 0.0, double tolerance = kTolerance) { setAngle(angle, tolerance); }
  using Rotater::rotate;
  std::unique_ptr<Rotater> clone() const override;
  int axis() const override { return 0; }
  void rotate(CadPoint& point) const override;
};

// Rotation about Y: x' = x cos a + z sin a, z' = -x sin a + z cos a. The stored angle is -a,
// so that one sine and cosine pair serves all three axes.
class YRotater : public Rotater {
 public:
  explicit YRotater(double angle = 0.0, double tolerance = kTolerance) { setAngle(angle, tolerance); }
  using Rotater::rotate;
  std::unique_ptr<Rotater> clone() const override;
  int axis() const override { return 1; }
  double getAngle() const override;
  void setAngle(double angle, double tolerance) override;
  void rotate(CadPoint& point) const override;
};

// Rotation about Z: x' = x cos a - y sin a, y' = x sin a + y cos a.
class ZRotater : public Rotater {
 public:
  explicit ZRotater(double angle = 0.0, double tolerance = kTolerance) { setAngle(angle, tolerance); }
  using Rotater::rotate;
  std::unique_ptr<Rotater> clone() const override;
  int axis() const override { return 2; }
  void rotate(CadPoint& point) const override;
};

}  // namespace lunvik
