// 3x3 and 4x4 matrices, row-major, acting on column vectors (M.v; M.N is M after N).
#pragma once

#include "platform/geometry_records.h"

namespace lunvik {

// A 3x3 matrix; the identity by default.
class Matrix3x3 {
 public:
  Matrix3x3();
  // The diagonal matrix (a, b, c).
  Matrix3x3(double a, double b, double c);
  Matrix3x3(const Matrix3x3&) = default;
  Matrix3x3& operator=(const Matrix3x3&) = default;
  virtual ~Matrix3x3() = default;

  // Rotation about X by alpha (right-hand rule).
  static Matrix3x3 rotationX(double alpha);
  // Rotation about Y by alpha.
  static Matrix3x3 rotationY(double alpha);
  // Rotation about Z by alpha.
  static Matrix3x3 rotationZ(double alpha);

  // Element (row, column); an index beyond 2 throws std::out_of_range.
  double& operator()(int row, int column);
  double operator()(int row, int column) const;
  // this . m
  Matrix3x3 operator*(const Matrix3x3& m) const;
  // this := this . m
  Matrix3x3& operator*=(const Matrix3x3& m);
  // adj / det, pivoting on the first column's element of greatest magnitude; the identity
  // when that element or its product with the determinant is within 0.00001 of 0.
  Matrix3x3 inverse() const;
  double determinant() const;
  Matrix3x3 transpose() const;

 private:
  double m_[9];
};

// A 4x4 matrix; all zeros by default.
class Matrix4x4 {
 public:
  Matrix4x4();
  // Rows 0..2 from the record; row 3 becomes (0, 0, 0, 1).
  explicit Matrix4x4(const platform::TransformRecord& record);
  Matrix4x4(const Matrix4x4&) = default;
  Matrix4x4& operator=(const Matrix4x4&) = default;
  virtual ~Matrix4x4() = default;

  // The identity matrix.
  static Matrix4x4 identity();
  // Makes this matrix the identity.
  void setIdentity();

  // Element (row, column); an index beyond 3 throws std::out_of_range.
  double& operator()(int row, int column);
  double operator()(int row, int column) const;
  // Every element within 0.000001 of the other's.
  bool operator==(const Matrix4x4& m) const;
  bool operator!=(const Matrix4x4& m) const { return !(*this == m); }
  // this . m
  Matrix4x4 operator*(const Matrix4x4& m) const;

 private:
  double m_[16];
};

}  // namespace lunvik
