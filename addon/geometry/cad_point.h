// A point in model space, in metres.
#pragma once

#include <memory>

#include "geometry/tolerance.h"
#include "platform/geometry_records.h"

namespace lunvik {

class Matrix3x3;
class Matrix4x4;

// A point (x, y, z). Every accessor reads through the virtual getters so that subclasses
// can intercept them.
class CadPoint {
 public:
  CadPoint() = default;
  CadPoint(double x, double y, double z) : x_(x), y_(y), z_(z) {}
  // From a plan coordinate and a height.
  CadPoint(const platform::Coord2D& coord, double z) : x_(coord.x), y_(coord.y), z_(z) {}
  // From a model-space coordinate.
  explicit CadPoint(const platform::Coord3D& coord) : x_(coord.x), y_(coord.y), z_(coord.z) {}
  CadPoint(const CadPoint&) = default;
  CadPoint& operator=(const CadPoint&) = default;

  virtual ~CadPoint();
  // A heap copy of the same class.
  virtual std::unique_ptr<CadPoint> clone() const;
  // equals(p, 0.00001).
  virtual bool operator==(const CadPoint& p) const;
  virtual bool operator!=(const CadPoint& p) const;
  // Coordinate-wise sum.
  virtual CadPoint operator+(const CadPoint& p) const;
  virtual CadPoint& operator+=(const CadPoint& p);
  // Coordinate-wise difference.
  virtual CadPoint operator-(const CadPoint& p) const;
  virtual CadPoint& operator-=(const CadPoint& p);
  // (x, y, z, 1) multiplied by m; x, y, z of the result taken as they are (no division by w).
  virtual CadPoint operator*(const Matrix4x4& m) const;
  // m applied to the point.
  virtual CadPoint operator*(const Matrix3x3& m) const;
  // Every coordinate times s.
  virtual CadPoint operator*(double s) const;
  virtual CadPoint& operator*=(const Matrix4x4& m);
  virtual CadPoint& operator*=(const Matrix3x3& m);
  virtual CadPoint& operator*=(double s);
  // Every coordinate divided by s (no guard against 0).
  virtual CadPoint operator/(double s) const;
  virtual CadPoint& operator/=(double s);
  // x for 0, y for 1, z for any other index.
  virtual double& operator[](int index);
  virtual const double& operator[](int index) const;
  // The plan coordinate record (x, y).
  virtual platform::Coord2D getCoord() const;
  // The model-space coordinate record (x, y, z).
  virtual platform::Coord3D getCoord3D() const;
  virtual platform::Coord3D getCoord3D();
  virtual double getX() const;
  virtual double& x();
  virtual double getY() const;
  virtual double& y();
  virtual double getZ() const;
  virtual double& z();
  // |dx| and |dy| each within the tolerance (not the distance).
  virtual bool equals2D(const CadPoint& p, double tolerance) const;
  // Plan distance.
  virtual double distance2D(const CadPoint& p) const;
  // distance(p) within the tolerance.
  virtual bool equals(const CadPoint& p, double tolerance) const;
  // Distance in space.
  virtual double distance(const CadPoint& p) const;
  // Plan direction from this point to p, in [0, 2pi); 0 to the point itself.
  virtual double azimuth(const CadPoint& p) const;
  // Angle of elevation from this point to p, in [-pi/2, pi/2].
  virtual double altitude(const CadPoint& p) const;
  // Moves the point by a polar offset in space.
  virtual void movePolar(double length, double azimuth, double altitude);
  // Moves the point by a polar offset in plan.
  virtual void movePolar(double length, double angle);

 protected:
  double x_ = 0.0;
  double y_ = 0.0;
  double z_ = 0.0;

  // Polygons read their vertices' stored coordinates directly on their scan paths.
  friend class CadPoly;
};

// The plan direction of (dx, dy) by the kernel's azimuth rule, in [0, 2pi).
double planAzimuth(double dx, double dy);

}  // namespace lunvik
