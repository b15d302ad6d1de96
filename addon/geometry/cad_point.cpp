#include "geometry/cad_point.h"

#include <cmath>

#include "geometry/matrix.h"

namespace lunvik {

CadPoint::~CadPoint() = default;

std::unique_ptr<CadPoint> CadPoint::clone() const { return std::make_unique<CadPoint>(*this); }

bool CadPoint::operator==(const CadPoint& p) const { return equals(p, kTolerance); }
bool CadPoint::operator!=(const CadPoint& p) const { return !(*this == p); }

CadPoint CadPoint::operator+(const CadPoint& p) const {
  return CadPoint(getX() + p.getX(), getY() + p.getY(), getZ() + p.getZ());
}

CadPoint& CadPoint::operator+=(const CadPoint& p) {
  const double px = p.getX(), py = p.getY(), pz = p.getZ();
  x() += px;
  y() += py;
  z() += pz;
  return *this;
}

CadPoint CadPoint::operator-(const CadPoint& p) const {
  return CadPoint(getX() - p.getX(), getY() - p.getY(), getZ() - p.getZ());
}

CadPoint& CadPoint::operator-=(const CadPoint& p) {
  const double px = p.getX(), py = p.getY(), pz = p.getZ();
  x() -= px;
  y() -= py;
  z() -= pz;
  return *this;
}

CadPoint CadPoint::operator*(const Matrix4x4& m) const {
  const double v[4] = {getX(), getY(), getZ(), 1.0};
  double r[3];
  for (int i = 0; i < 3; ++i) r[i] = m(i, 0) * v[0] + m(i, 1) * v[1] + m(i, 2) * v[2] + m(i, 3) * v[3];
  return CadPoint(r[0], r[1], r[2]);
}

CadPoint CadPoint::operator*(const Matrix3x3& m) const {
  const double v[3] = {getX(), getY(), getZ()};
  double r[3];
  for (int i = 0; i < 3; ++i) r[i] = m(i, 0) * v[0] + m(i, 1) * v[1] + m(i, 2) * v[2];
  return CadPoint(r[0], r[1], r[2]);
}

CadPoint CadPoint::operator*(double s) const { return CadPoint(getX() * s, getY() * s, getZ() * s); }

CadPoint& CadPoint::operator*=(const Matrix4x4& m) {
  const CadPoint r = *this * m;
  x() = r.x_;
  y() = r.y_;
  z() = r.z_;
  return *this;
}

CadPoint& CadPoint::operator*=(const Matrix3x3& m) {
  const CadPoint r = *this * m;
  x() = r.x_;
  y() = r.y_;
  z() = r.z_;
  return *this;
}

CadPoint& CadPoint::operator*=(double s) {
  x() *= s;
  y() *= s;
  z() *= s;
  return *this;
}

CadPoint CadPoint::operator/(double s) const { return CadPoint(getX() / s, getY() / s, getZ() / s); }

CadPoint& CadPoint::operator/=(double s) {
  x() /= s;
  y() /= s;
  z() /= s;
  return *this;
}

double& CadPoint::operator[](int index) { return index == 0 ? x() : index == 1 ? y() : z(); }

const double& CadPoint::operator[](int index) const {
  return index == 0 ? x_ : index == 1 ? y_ : z_;
}

platform::Coord2D CadPoint::getCoord() const { return platform::Coord2D{getX(), getY()}; }
platform::Coord3D CadPoint::getCoord3D() const { return platform::Coord3D{getX(), getY(), getZ()}; }
platform::Coord3D CadPoint::getCoord3D() { return static_cast<const CadPoint&>(*this).getCoord3D(); }

double CadPoint::getX() const { return x_; }
double& CadPoint::x() { return x_; }
double CadPoint::getY() const { return y_; }
double& CadPoint::y() { return y_; }
double CadPoint::getZ() const { return z_; }
double& CadPoint::z() { return z_; }

bool CadPoint::equals2D(const CadPoint& p, double tolerance) const {
  return std::fabs(getX() - p.getX()) <= tolerance && std::fabs(getY() - p.getY()) <= tolerance;
}

double CadPoint::distance2D(const CadPoint& p) const {
  return std::hypot(p.getX() - getX(), p.getY() - getY());
}

bool CadPoint::equals(const CadPoint& p, double tolerance) const { return distance(p) <= tolerance; }

double CadPoint::distance(const CadPoint& p) const {
  const double dx = p.getX() - getX(), dy = p.getY() - getY(), dz = p.getZ() - getZ();
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double planAzimuth(double dx, double dy) {
  if (std::fabs(dx) <= kTolerance) {
    if (std::fabs(dy) <= kTolerance) return 0.0;
    return dy > kTolerance ? kHalfPi : 3.0 * kHalfPi;
  }
  const double a = std::atan(dy / dx);
  if (dx < 0.0) return a + kPi;
  return a < 0.0 ? a + kTwoPi : a;
}

double CadPoint::azimuth(const CadPoint& p) const {
  return planAzimuth(p.getX() - getX(), p.getY() - getY());
}

double CadPoint::altitude(const CadPoint& p) const {
  const double h = distance2D(p);
  const double dz = p.getZ() - getZ();
  if (h <= kTolerance) {
    if (std::fabs(dz) <= kTolerance) return 0.0;
    return dz > kTolerance ? kHalfPi : -kHalfPi;
  }
  return std::atan(dz / h);
}

void CadPoint::movePolar(double length, double azimuth, double altitude) {
  const double h = std::fabs(std::cos(altitude)) * length;
  x() += h * std::cos(azimuth);
  y() += h * std::sin(azimuth);
  z() += length * std::sin(altitude);
}

void CadPoint::movePolar(double length, double angle) {
  x() += length * std::cos(angle);
  y() += length * std::sin(angle);
}

}  // namespace lunvik
