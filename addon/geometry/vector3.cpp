#include "geometry/vector3.h"

#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/matrix.h"

namespace lunvik {

Vector3::Vector3(const CadLine& line) : Vector3(Vector3(line.end()) - Vector3(line.start())) {}

Vector3& Vector3::operator=(const CadPoint& p) {
  x = p.getX();
  y = p.getY();
  z = p.getZ();
  return *this;
}

Vector3& Vector3::operator*=(double s) {
  x *= s;
  y *= s;
  z *= s;
  return *this;
}

Vector3 Vector3::operator*(double s) const { return Vector3(x * s, y * s, z * s); }

Vector3& Vector3::operator*=(const Matrix3x3& m) { return *this = *this * m; }

Vector3 Vector3::operator*(const Matrix3x3& m) const {
  return Vector3(m(0, 0) * x + m(0, 1) * y + m(0, 2) * z, m(1, 0) * x + m(1, 1) * y + m(1, 2) * z,
                 m(2, 0) * x + m(2, 1) * y + m(2, 2) * z);
}

Vector3& Vector3::operator*=(const Matrix4x4& m) {
  const Vector4 r = Vector4(*this) * m;
  x = r.x;
  y = r.y;
  z = r.z;
  return *this;
}

double Vector3::length() const { return std::sqrt(x * x + y * y + z * z); }

Vector3 Vector3::unit() const {
  const double l = length();
  return l == 0.0 ? *this : Vector3(x / l, y / l, z / l);
}

double Vector3::azimuth() const { return CadPoint().azimuth(toPoint()); }
double Vector3::altitude() const { return CadPoint().altitude(toPoint()); }

double Vector3::angle(const Vector3& v) const {
  const double l1 = length(), l2 = v.length();
  if (l1 <= kTolerance || l2 <= kTolerance) return 0.0;
  double c = dot(v) / (l1 * l2);
  // Rounding can push the cosine of (anti)parallel vectors just past 1.
  if (c > 1.0) c = 1.0;
  if (c < -1.0) c = -1.0;
  return std::acos(c);
}

bool Vector3::isZero(double tolerance) const {
  return std::fabs(x) <= tolerance && std::fabs(y) <= tolerance && std::fabs(z) <= tolerance;
}

bool Vector3::isParallel(const Vector3& v, double tolerance) const {
  if (isZero(tolerance) || v.isZero(tolerance)) return false;
  return cross(v).isZero(tolerance);
}

bool Vector3::isPerpendicular(const Vector3& v, double tolerance) const {
  if (isZero(tolerance) || v.isZero(tolerance)) return false;
  return std::fabs(dot(v)) <= tolerance;
}

Vector4& Vector4::operator=(const CadPoint& p) {
  x = p.getX();
  y = p.getY();
  z = p.getZ();
  w = 1.0;
  return *this;
}

Vector4 Vector4::operator*(const Matrix4x4& m) const {
  const double v[4] = {x, y, z, w};
  double r[4];
  for (int i = 0; i < 4; ++i) r[i] = m(i, 0) * v[0] + m(i, 1) * v[1] + m(i, 2) * v[2] + m(i, 3) * v[3];
  return Vector4(r[0], r[1], r[2], r[3]);
}

}  // namespace lunvik
