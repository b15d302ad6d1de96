#include "geometry/cad_cube.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace lunvik {

namespace {

// The box's corners normalised, without changing the box.
void ordered(const CadPoint& a, const CadPoint& b, CadPoint& lo, CadPoint& hi) {
  lo = CadPoint(std::min(a.getX(), b.getX()), std::min(a.getY(), b.getY()), std::min(a.getZ(), b.getZ()));
  hi = CadPoint(std::max(a.getX(), b.getX()), std::max(a.getY(), b.getY()), std::max(a.getZ(), b.getZ()));
}

bool near(double v, double a, double b, double tolerance) {
  return std::fabs(v - a) <= tolerance || std::fabs(v - b) <= tolerance;
}

}  // namespace

CadCube::~CadCube() = default;

CadPoint& CadCube::min() { return first_; }
CadPoint& CadCube::max() { return second_; }

CadPoint CadCube::centre() const { return (first_ + second_) / 2.0; }

CadPoint CadCube::anchorPoint(int anchor) const {
  CadPoint lo, hi;
  ordered(first_, second_, lo, hi);
  const double w = hi.getX() - lo.getX(), d = hi.getY() - lo.getY();
  return lo + CadPoint(w * (anchor % 3) / 2.0, d * ((anchor / 3) % 3) / 2.0, 0.0);
}

double CadCube::size(int axis) const {
  switch (axis) {
    case 0: return width();
    case 1: return depth();
    case 2: return height();
    default: throw std::out_of_range("");
  }
}

double CadCube::width() const { return std::fabs(second_.getX() - first_.getX()); }
double CadCube::depth() const { return std::fabs(second_.getY() - first_.getY()); }
double CadCube::height() const { return std::fabs(second_.getZ() - first_.getZ()); }
double CadCube::maxDimension() const { return std::max({width(), depth(), height()}); }

void CadCube::setMin(const CadPoint& point) { first_ = point; }
void CadCube::setMax(const CadPoint& point) { second_ = point; }

void CadCube::centreAt(const CadPoint& point) {
  const CadPoint shift = point - centre();
  first_ += shift;
  second_ += shift;
}

void CadCube::add(const CadCube& box) {
  add(box.first_);
  add(box.second_);
}

void CadCube::add(const CadPoint& point) {
  normalise();
  first_ = CadPoint(std::min(first_.getX(), point.getX()), std::min(first_.getY(), point.getY()),
                    std::min(first_.getZ(), point.getZ()));
  second_ = CadPoint(std::max(second_.getX(), point.getX()), std::max(second_.getY(), point.getY()),
                     std::max(second_.getZ(), point.getZ()));
}

void CadCube::normalise() {
  CadPoint lo, hi;
  ordered(first_, second_, lo, hi);
  first_ = lo;
  second_ = hi;
}

void CadCube::scale(double factor) {
  const CadPoint c = centre();
  first_ = c + (first_ - c) * factor;
  second_ = c + (second_ - c) * factor;
}

void CadCube::grow(double margin) {
  normalise();
  const CadPoint m(margin, margin, margin);
  first_ -= m;
  second_ += m;
}

bool CadCube::operator==(const CadCube& box) const { return equals(box, kTolerance); }
bool CadCube::operator!=(const CadCube& box) const { return !(*this == box); }

CadCube CadCube::operator+(const CadPoint& offset) const {
  CadCube b(*this);
  b += offset;
  return b;
}

CadCube& CadCube::operator+=(const CadPoint& offset) {
  first_ += offset;
  second_ += offset;
  return *this;
}

CadCube CadCube::operator-(const CadPoint& offset) const {
  CadCube b(*this);
  b -= offset;
  return b;
}

CadCube& CadCube::operator-=(const CadPoint& offset) {
  first_ -= offset;
  second_ -= offset;
  return *this;
}

CadCube CadCube::operator*(double s) const {
  CadCube b(*this);
  b *= s;
  return b;
}

CadCube& CadCube::operator*=(double s) {
  first_ *= s;
  second_ *= s;
  return *this;
}

platform::BoxRecord CadCube::getBox() const {
  CadPoint lo, hi;
  ordered(first_, second_, lo, hi);
  return platform::BoxRecord{lo.getX(), lo.getY(), hi.getX(), hi.getY()};
}

bool CadCube::equals(const CadCube& box, double) const {
  return first_.equals(box.first_, kTolerance) && second_.equals(box.second_, kTolerance);
}

int CadCube::locate(const CadPoint& point, double tolerance) const {
  const double x = point.getX(), y = point.getY(), z = point.getZ();
  const CadPoint& a = first_;
  const CadPoint& b = second_;
  if (x < a.getX() - tolerance || x > b.getX() + tolerance || y < a.getY() - tolerance ||
      y > b.getY() + tolerance || z < a.getZ() - tolerance || z > b.getZ() + tolerance)
    return kLocOutside;
  if (!near(x, a.getX(), b.getX(), tolerance)) return kLocInside;
  if (!near(y, a.getY(), b.getY(), tolerance)) return kLocInside;
  return near(z, a.getZ(), b.getZ(), tolerance) ? kLocOn : kLocInside;
}

bool CadCube::equals2D(const CadCube& box, double) const {
  return first_.equals2D(box.first_, kTolerance) && second_.equals2D(box.second_, kTolerance);
}

int CadCube::locate2D(const CadPoint& point, double tolerance) const {
  const double x = point.getX(), y = point.getY();
  const CadPoint& a = first_;
  const CadPoint& b = second_;
  if (x < a.getX() - tolerance || x > b.getX() + tolerance || y < a.getY() - tolerance ||
      y > b.getY() + tolerance)
    return kLocOutside;
  if (!near(x, a.getX(), b.getX(), tolerance)) return kLocInside;
  return near(y, a.getY(), b.getY(), tolerance) ? kLocOn : kLocInside;
}

bool CadCube::overlaps(const CadCube& box) const {
  CadPoint a0, a1, b0, b1;
  ordered(first_, second_, a0, a1);
  ordered(box.first_, box.second_, b0, b1);
  for (int i = 0; i < 3; ++i)
    if (a0[i] > b1[i] + kTolerance || b0[i] > a1[i] + kTolerance) return false;
  return true;
}

bool CadCube::overlaps2D(const CadCube& box) const {
  CadPoint a0, a1, b0, b1;
  ordered(first_, second_, a0, a1);
  ordered(box.first_, box.second_, b0, b1);
  for (int i = 0; i < 2; ++i)
    if (a0[i] > b1[i] + kTolerance || b0[i] > a1[i] + kTolerance) return false;
  return true;
}

double CadCube::area() const { return width() * depth(); }
double CadCube::volume() const { return width() * depth() * height(); }

}  // namespace lunvik
