#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "geometry/matrix.h"
#include "geometry/tolerance.h"

namespace lunvik {
namespace {

void expectMatrix(const Matrix3x3& a, const Matrix3x3& b, double eps = 1e-12) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a(i, j), b(i, j), eps) << i << "," << j;
}

TEST(Matrix3x3Test, DefaultIsIdentityAndIndicesAreChecked) {
  const Matrix3x3 m;
  expectMatrix(m, Matrix3x3(1, 1, 1));
  EXPECT_THROW(m(3, 0), std::out_of_range);
  EXPECT_THROW(m(0, -1), std::out_of_range);
}

TEST(Matrix3x3Test, RotationsFollowTheRightHandRule) {
  const double a = 0.3;
  const Matrix3x3 x = Matrix3x3::rotationX(a), y = Matrix3x3::rotationY(a), z = Matrix3x3::rotationZ(a);
  EXPECT_NEAR(x(1, 2), -std::sin(a), 1e-15);
  EXPECT_NEAR(x(2, 1), std::sin(a), 1e-15);
  EXPECT_NEAR(y(0, 2), std::sin(a), 1e-15);
  EXPECT_NEAR(y(2, 0), -std::sin(a), 1e-15);
  EXPECT_NEAR(z(0, 1), -std::sin(a), 1e-15);
  EXPECT_NEAR(z(1, 0), std::sin(a), 1e-15);
}

TEST(Matrix3x3Test, ProductAppliesTheRightOperandFirst) {
  // Rz(90) . Rx(90) maps +Y first to +Z (Rx), and +Z stays under Rz.
  const Matrix3x3 m = Matrix3x3::rotationZ(kHalfPi) * Matrix3x3::rotationX(kHalfPi);
  EXPECT_NEAR(m(2, 1), 1.0, 1e-12);
  Matrix3x3 n = Matrix3x3::rotationZ(kHalfPi);
  n *= Matrix3x3::rotationX(kHalfPi);
  expectMatrix(m, n);
}

TEST(Matrix3x3Test, InverseOfARotationIsItsTranspose) {
  const Matrix3x3 r = Matrix3x3::rotationZ(0.7) * Matrix3x3::rotationY(-1.1) * Matrix3x3::rotationX(2.3);
  expectMatrix(r.inverse(), r.transpose());
  expectMatrix(r.inverse() * r, Matrix3x3());
}

struct SingularCase {
  const char* name;
  Matrix3x3 m;
};

TEST(Matrix3x3Test, InverseOfASingularMatrixIsTheIdentity) {
  Matrix3x3 rankTwo(1, 1, 0);
  Matrix3x3 zeroColumn(0, 1, 1);
  Matrix3x3 equalRows;
  for (int j = 0; j < 3; ++j) {
    equalRows(0, j) = 1.0 + j;
    equalRows(1, j) = 1.0 + j;
    equalRows(2, j) = 3.0 - j;
  }
  const SingularCase cases[] = {{"rank two", rankTwo}, {"zero first column", zeroColumn}, {"equal rows", equalRows}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expectMatrix(c.m.inverse(), Matrix3x3());
  }
}

TEST(Matrix3x3Test, InverseOfAGeneralMatrix) {
  Matrix3x3 m;
  const double v[9] = {2, 1, 0, 0, 3, 1, 1, 0, 4};
  for (int i = 0; i < 9; ++i) m(i / 3, i % 3) = v[i];
  expectMatrix(m * m.inverse(), Matrix3x3());
}

TEST(Matrix4x4Test, DefaultIsAllZerosAndTheRecordFillsThreeRows) {
  const Matrix4x4 zero;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(zero(i, j), 0.0);
  EXPECT_THROW(zero(4, 0), std::out_of_range);
  platform::TransformRecord record{};
  for (int i = 0; i < 12; ++i) record.tmx[i] = i + 1;
  const Matrix4x4 m(record);
  EXPECT_EQ(m(0, 3), 4.0);
  EXPECT_EQ(m(2, 0), 9.0);
  EXPECT_EQ(m(3, 0), 0.0);
  EXPECT_EQ(m(3, 3), 1.0);
}

TEST(Matrix4x4Test, EqualityUsesTheMatrixTolerance) {
  Matrix4x4 a = Matrix4x4::identity(), b = Matrix4x4::identity();
  b(1, 2) = 0.0000005;
  EXPECT_TRUE(a == b);
  b(1, 2) = 0.000002;
  EXPECT_FALSE(a == b);
}

}  // namespace
}  // namespace lunvik
