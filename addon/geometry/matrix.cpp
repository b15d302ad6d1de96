#include "geometry/matrix.h"

#include <cmath>
#include <stdexcept>

#include "geometry/tolerance.h"

namespace lunvik {

namespace {
void checkIndex(int row, int column, int size) {
  if (row < 0 || row >= size || column < 0 || column >= size) throw std::out_of_range("");
}
}  // namespace

Matrix3x3::Matrix3x3() : Matrix3x3(1.0, 1.0, 1.0) {}

Matrix3x3::Matrix3x3(double a, double b, double c) : m_{a, 0, 0, 0, b, 0, 0, 0, c} {}

Matrix3x3 Matrix3x3::rotationX(double alpha) {
  Matrix3x3 r;
  const double c = std::cos(alpha), s = std::sin(alpha);
  r.m_[4] = c;
  r.m_[5] = -s;
  r.m_[7] = s;
  r.m_[8] = c;
  return r;
}

Matrix3x3 Matrix3x3::rotationY(double alpha) {
  Matrix3x3 r;
  const double c = std::cos(alpha), s = std::sin(alpha);
  r.m_[0] = c;
  r.m_[2] = s;
  r.m_[6] = -s;
  r.m_[8] = c;
  return r;
}

Matrix3x3 Matrix3x3::rotationZ(double alpha) {
  Matrix3x3 r;
  const double c = std::cos(alpha), s = std::sin(alpha);
  r.m_[0] = c;
  r.m_[1] = -s;
  r.m_[3] = s;
  r.m_[4] = c;
  return r;
}

double& Matrix3x3::operator()(int row, int column) {
  checkIndex(row, column, 3);
  return m_[row * 3 + column];
}

double Matrix3x3::operator()(int row, int column) const {
  checkIndex(row, column, 3);
  return m_[row * 3 + column];
}

Matrix3x3 Matrix3x3::operator*(const Matrix3x3& m) const {
  Matrix3x3 r(0.0, 0.0, 0.0);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double s = 0.0;
      for (int k = 0; k < 3; ++k) s += m_[i * 3 + k] * m.m_[k * 3 + j];
      r.m_[i * 3 + j] = s;
    }
  return r;
}

Matrix3x3& Matrix3x3::operator*=(const Matrix3x3& m) { return *this = *this * m; }

double Matrix3x3::determinant() const {
  const double* a = m_;
  return a[0] * (a[4] * a[8] - a[5] * a[7]) - a[1] * (a[3] * a[8] - a[5] * a[6]) +
         a[2] * (a[3] * a[7] - a[4] * a[6]);
}

Matrix3x3 Matrix3x3::transpose() const {
  Matrix3x3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.m_[i * 3 + j] = m_[j * 3 + i];
  return r;
}

Matrix3x3 Matrix3x3::inverse() const {
  // The pivot of the first column: on equal magnitudes row 2 wins over row 0, row 0 over row 1.
  double p = m_[6];
  if (std::fabs(m_[0]) > std::fabs(p)) p = m_[0];
  if (std::fabs(m_[3]) > std::fabs(p)) p = m_[3];
  const double det = determinant();
  if (std::fabs(p) <= kTolerance || std::fabs(p * det) <= kTolerance) return Matrix3x3();
  const double* a = m_;
  Matrix3x3 r;
  r.m_[0] = (a[4] * a[8] - a[5] * a[7]) / det;
  r.m_[1] = (a[2] * a[7] - a[1] * a[8]) / det;
  r.m_[2] = (a[1] * a[5] - a[2] * a[4]) / det;
  r.m_[3] = (a[5] * a[6] - a[3] * a[8]) / det;
  r.m_[4] = (a[0] * a[8] - a[2] * a[6]) / det;
  r.m_[5] = (a[2] * a[3] - a[0] * a[5]) / det;
  r.m_[6] = (a[3] * a[7] - a[4] * a[6]) / det;
  r.m_[7] = (a[1] * a[6] - a[0] * a[7]) / det;
  r.m_[8] = (a[0] * a[4] - a[1] * a[3]) / det;
  return r;
}

Matrix4x4::Matrix4x4() : m_{} {}

Matrix4x4::Matrix4x4(const platform::TransformRecord& record) : m_{} {
  for (int i = 0; i < 12; ++i) m_[i] = record.tmx[i];
  m_[15] = 1.0;
}

Matrix4x4 Matrix4x4::identity() {
  Matrix4x4 r;
  r.setIdentity();
  return r;
}

void Matrix4x4::setIdentity() {
  for (int i = 0; i < 16; ++i) m_[i] = (i % 5 == 0) ? 1.0 : 0.0;
}

double& Matrix4x4::operator()(int row, int column) {
  checkIndex(row, column, 4);
  return m_[row * 4 + column];
}

double Matrix4x4::operator()(int row, int column) const {
  checkIndex(row, column, 4);
  return m_[row * 4 + column];
}

bool Matrix4x4::operator==(const Matrix4x4& m) const {
  for (int i = 0; i < 16; ++i)
    if (std::fabs(m_[i] - m.m_[i]) > kMatrixTolerance) return false;
  return true;
}

Matrix4x4 Matrix4x4::operator*(const Matrix4x4& m) const {
  Matrix4x4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += m_[i * 4 + k] * m.m_[k * 4 + j];
      r.m_[i * 4 + j] = s;
    }
  return r;
}

}  // namespace lunvik
