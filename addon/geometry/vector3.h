// Free vectors (Vector3) and homogeneous vectors (Vector4).
#pragma once

#include "geometry/cad_point.h"
#include "geometry/tolerance.h"
#include "platform/geometry_records.h"

namespace lunvik {

class CadLine;
class Matrix3x3;
class Matrix4x4;

// A free vector (x, y, z).
class Vector3 {
 public:
  Vector3() = default;
  Vector3(double x, double y, double z) : x(x), y(y), z(z) {}
  // The coordinates of a point.
  explicit Vector3(const CadPoint& p) : x(p.getX()), y(p.getY()), z(p.getZ()) {}
  // A model-space coordinate record.
  explicit Vector3(const platform::Coord3D& c) : x(c.x), y(c.y), z(c.z) {}
  // The direction of a line: end minus start.
  explicit Vector3(const CadLine& line);
  Vector3(const Vector3&) = default;
  Vector3& operator=(const Vector3&) = default;
  // Takes the coordinates of a point.
  Vector3& operator=(const CadPoint& p);
  virtual ~Vector3() = default;

  Vector3& operator*=(double s);
  Vector3 operator*(double s) const;
  // M applied to the vector.
  Vector3& operator*=(const Matrix3x3& m);
  Vector3 operator*(const Matrix3x3& m) const;
  // M applied with w = 1 (the translation is added too).
  Vector3& operator*=(const Matrix4x4& m);
  Vector3 operator+(const Vector3& v) const { return Vector3(x + v.x, y + v.y, z + v.z); }
  Vector3 operator-(const Vector3& v) const { return Vector3(x - v.x, y - v.y, z - v.z); }
  Vector3 operator-() const { return Vector3(-x, -y, -z); }

  // The Euclidean length.
  double length() const;
  double dot(const Vector3& v) const { return x * v.x + y * v.y + z * v.z; }
  // this x v.
  Vector3 cross(const Vector3& v) const {
    return Vector3(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
  }
  // A copy of unit length; an unchanged copy when the length is 0.
  Vector3 unit() const;
  // The plan direction of the vector, in [0, 2pi).
  double azimuth() const;
  // The elevation of the vector, in [-pi/2, pi/2].
  double altitude() const;
  // The angle to v in [0, pi]; 0 when either is shorter than the tolerance.
  double angle(const Vector3& v) const;
  // Every component within the tolerance of 0.
  bool isZero(double tolerance) const;
  // False for a zero vector; otherwise the cross product is zero (unnormalised).
  bool isParallel(const Vector3& v, double tolerance) const;
  // False for a zero vector; otherwise |dot| within the tolerance (unnormalised).
  bool isPerpendicular(const Vector3& v, double tolerance) const;
  // The vector as a point.
  CadPoint toPoint() const { return CadPoint(x, y, z); }

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// A homogeneous vector (x, y, z, w).
class Vector4 {
 public:
  Vector4() = default;
  Vector4(double x, double y, double z, double w) : x(x), y(y), z(z), w(w) {}
  // A point with w = 1.
  explicit Vector4(const CadPoint& p) : x(p.getX()), y(p.getY()), z(p.getZ()), w(1.0) {}
  // A free vector with w = 1.
  explicit Vector4(const Vector3& v) : x(v.x), y(v.y), z(v.z), w(1.0) {}
  Vector4(const Vector4&) = default;
  Vector4& operator=(const Vector4&) = default;
  // Takes the coordinates of a point and sets w = 1.
  Vector4& operator=(const CadPoint& p);
  virtual ~Vector4() = default;

  // M applied to all four components.
  Vector4 operator*(const Matrix4x4& m) const;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double w = 0.0;
};

}  // namespace lunvik
