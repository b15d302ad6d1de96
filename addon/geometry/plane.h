// A plane: every point p with n.p = d.
#pragma once

#include <memory>

#include "geometry/cad_point.h"
#include "geometry/vector3.h"

namespace lunvik {

class CadLine;
class InterPoint;
class Matrix3x3;
class Matrix4x4;

// The plane of all points p with n.p = d; the ground plane (n = (0, 0, 1), d = 0) by default.
class Plane {
 public:
  Plane() = default;
  // Through the point with normal unit(normal).
  Plane(const CadPoint& point, const Vector3& normal);
  Plane(const Plane&) = default;
  Plane& operator=(const Plane&) = default;

  virtual ~Plane();
  // A translated copy.
  virtual Plane operator+(const CadPoint& offset) const;
  // Translation by the offset; the normal stays.
  virtual Plane& operator+=(const CadPoint& offset);
  virtual Plane operator*(const Matrix4x4& m) const;
  virtual Plane operator*(const Matrix3x3& m) const;
  virtual Plane operator*(double s) const;
  // The image of the plane under m (translation included); the normal is made unit.
  virtual Plane& operator*=(const Matrix4x4& m);
  // The image of the plane under m; the normal is made unit.
  virtual Plane& operator*=(const Matrix3x3& m);
  // The plane through the points scaled by s about the origin: d := d.s, the normal stays.
  virtual Plane& operator*=(double s);

  // From a normal and an offset; null when the normal is zero.
  static std::unique_ptr<Plane> fromNormal(const Vector3& normal, double offset);
  // Through a point with a normal; null when the normal is zero.
  static std::unique_ptr<Plane> fromPoint(const CadPoint& point, const Vector3& normal);
  // Through three points, n = unit((p1 - p2) x (p3 - p2)); null for collinear points.
  static std::unique_ptr<Plane> through(const CadPoint& p1, const CadPoint& p2, const CadPoint& p3);

  // The offset d.
  double getOffset() const { return d_; }
  // The normal n.
  Vector3& normal() { return n_; }
  const Vector3& normal() const { return n_; }
  // 1 below the plane, 16 above, 4 on it (within the tolerance).
  int side(const CadPoint& point, double tolerance) const;
  // The foot point of the point on the plane.
  CadPoint project(const CadPoint& point) const;
  // Signed distance (n.p - d) / |n|.
  double distance(const CadPoint& point) const;
  // The normals are parallel.
  bool isParallel(const Plane& plane, double tolerance) const;
  // Replaces the normal by v itself (not normalised) unless v is zero; d stays.
  void setNormal(const Vector3& v);
  // Where the line meets the plane; null when it runs parallel to it.
  std::unique_ptr<InterPoint> intersect(const CadLine& line, double tolerance) const;
  // As intersect(line) without allocating: false when the line runs parallel.
  bool intersectAt(const CadLine& line, double tolerance, CadPoint& out) const;
  // The line where the two planes meet; null when they are parallel.
  std::unique_ptr<CadLine> intersect(const Plane& plane) const;
  // The z of the plane over the point's plan position; the point's z for a vertical plane.
  double heightAt(const CadPoint& point, double tolerance) const;

 private:
  Vector3 n_{0.0, 0.0, 1.0};
  double d_ = 0.0;
};

}  // namespace lunvik
