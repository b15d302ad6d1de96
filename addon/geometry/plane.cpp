#include "geometry/plane.h"

#include <algorithm>
#include <cmath>

#include "geometry/cad_line.h"
#include "geometry/inter_point.h"
#include "geometry/matrix.h"

namespace lunvik {

namespace {

// The normal of the image of a plane under the linear map l: the inverse transpose of l
// applied to n (the cofactor matrix, signed by the determinant); l.n for a singular map.
Vector3 normalImage(const Matrix3x3& l, const Vector3& n) {
  const double det = l.determinant();
  if (std::fabs(det) <= 1e-12) return n * l;
  Matrix3x3 cof;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int r0 = (i + 1) % 3, r1 = (i + 2) % 3, c0 = (j + 1) % 3, c1 = (j + 2) % 3;
      cof(i, j) = l(r0, c0) * l(r1, c1) - l(r0, c1) * l(r1, c0);
    }
  Vector3 r = n * cof;
  return det < 0.0 ? -r : r;
}

}  // namespace

Plane::Plane(const CadPoint& point, const Vector3& normal)
    : n_(normal.unit()), d_(n_.dot(Vector3(point))) {}

Plane::~Plane() = default;

Plane Plane::operator+(const CadPoint& offset) const {
  Plane p(*this);
  p += offset;
  return p;
}

Plane& Plane::operator+=(const CadPoint& offset) {
  // A point of the plane: d.n / (n.n), which is d.n for a unit normal.
  const double nn = n_.dot(n_);
  if (nn == 0.0) return *this;
  const Vector3 onPlane = n_ * (d_ / nn) + Vector3(offset);
  d_ = n_.dot(onPlane);
  return *this;
}

Plane Plane::operator*(const Matrix4x4& m) const {
  Plane p(*this);
  p *= m;
  return p;
}

Plane Plane::operator*(const Matrix3x3& m) const {
  Plane p(*this);
  p *= m;
  return p;
}

Plane Plane::operator*(double s) const {
  Plane p(*this);
  p *= s;
  return p;
}

Plane& Plane::operator*=(const Matrix4x4& m) {
  // A normal is a direction: it takes the linear part only, never the translation.
  const double nn = n_.dot(n_);
  if (nn == 0.0) return *this;
  Vector3 onPlane = n_ * (d_ / nn);
  onPlane *= m;
  Matrix3x3 l;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) l(i, j) = m(i, j);
  const Vector3 n = normalImage(l, n_).unit();
  if (n.isZero(kTolerance)) return *this;
  n_ = n;
  d_ = n_.dot(onPlane);
  return *this;
}

Plane& Plane::operator*=(const Matrix3x3& m) {
  const double nn = n_.dot(n_);
  if (nn == 0.0) return *this;
  const Vector3 onPlane = (n_ * (d_ / nn)) * m;
  const Vector3 n = normalImage(m, n_).unit();
  if (n.isZero(kTolerance)) return *this;
  n_ = n;
  d_ = n_.dot(onPlane);
  return *this;
}

Plane& Plane::operator*=(double s) {
  d_ *= s;
  return *this;
}

std::unique_ptr<Plane> Plane::fromNormal(const Vector3& normal, double offset) {
  if (normal.isZero(kTolerance)) return nullptr;
  auto p = std::make_unique<Plane>();
  p->n_ = normal.unit();
  p->d_ = offset;
  return p;
}

std::unique_ptr<Plane> Plane::fromPoint(const CadPoint& point, const Vector3& normal) {
  if (normal.isZero(kTolerance)) return nullptr;
  return std::make_unique<Plane>(point, normal);
}

std::unique_ptr<Plane> Plane::through(const CadPoint& p1, const CadPoint& p2, const CadPoint& p3) {
  const Vector3 n = Vector3(p1 - p2).cross(Vector3(p3 - p2)).unit();
  if (n.isZero(kTolerance)) return nullptr;
  auto p = std::make_unique<Plane>();
  p->n_ = n;
  p->d_ = n.dot(Vector3(p1));
  return p;
}

int Plane::side(const CadPoint& point, double tolerance) const {
  const double v = n_.dot(Vector3(point));
  if (v < d_ - tolerance) return kLocOutside;
  if (v > d_ + tolerance) return kLocInside;
  return kLocOn;
}

CadPoint Plane::project(const CadPoint& point) const {
  const double nn = n_.dot(n_);
  if (nn == 0.0) return point;
  const double t = (d_ - n_.dot(Vector3(point))) / nn;
  return point + (n_ * t).toPoint();
}

double Plane::distance(const CadPoint& point) const {
  const double l = n_.length();
  return l == 0.0 ? 0.0 : (n_.dot(Vector3(point)) - d_) / l;
}

bool Plane::isParallel(const Plane& plane, double tolerance) const {
  return n_.isParallel(plane.n_, tolerance);
}

void Plane::setNormal(const Vector3& v) {
  if (!v.isZero(kTolerance)) n_ = v;
}

bool Plane::intersectAt(const CadLine& line, double tolerance, CadPoint& out) const {
  const Vector3 u = Vector3(line).unit();
  const double b = n_.dot(u);
  if (std::fabs(b) <= tolerance) return false;
  const double t = (d_ - n_.dot(Vector3(line.start()))) / b;
  out = line.start() + (u * t).toPoint();
  return true;
}

std::unique_ptr<InterPoint> Plane::intersect(const CadLine& line, double tolerance) const {
  CadPoint p;
  if (!intersectAt(line, tolerance, p)) return nullptr;
  return std::make_unique<InterPoint>(p, 0, 0);
}

std::unique_ptr<CadLine> Plane::intersect(const Plane& plane) const {
  const Vector3& a = n_;
  const Vector3& b = plane.n_;
  const Vector3 u = a.cross(b);
  if (u.isZero(kTolerance)) return nullptr;
  const double d1 = d_, d2 = plane.d_;
  CadPoint start;
  const double ax = std::fabs(u.x), ay = std::fabs(u.y), az = std::fabs(u.z);
  if (az >= std::max(ax, ay)) {
    start = CadPoint((d1 * b.y - d2 * a.y) / u.z, (a.x * d2 - b.x * d1) / u.z, 0.0);
  } else if (ay >= ax) {
    const double det = -u.y;
    start = CadPoint((d1 * b.z - d2 * a.z) / det, 0.0, (a.x * d2 - b.x * d1) / det);
  } else {
    start = CadPoint(0.0, (d1 * b.z - d2 * a.z) / u.x, (a.y * d2 - b.y * d1) / u.x);
  }
  return std::make_unique<CadLine>(start, start + u.toPoint());
}

double Plane::heightAt(const CadPoint& point, double tolerance) const {
  if (std::fabs(n_.z) <= tolerance) return point.getZ();
  const CadLine vertical(point, point + CadPoint(0.0, 0.0, 1.0));
  CadPoint p;
  if (!intersectAt(vertical, tolerance, p)) return point.getZ();
  return p.getZ();
}

}  // namespace lunvik
