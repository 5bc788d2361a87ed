// Vector and matrix math: layout, globals, product, rotation builders.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "geometry/math/Matrix4.h"

namespace {

void expectNear(const Vector3& a, const Vector3& b, float tolerance = 1e-6f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

void expectEqual(const Matrix4& a, const Matrix4& b) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(a.at(r, c), b.at(r, c)) << "element " << r << "," << c;
}

Matrix4 sample() { return Matrix4(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16); }

TEST(Math, CrossProductOrder) {
  expectNear(crossProduct(Vector3(1, 0, 0), Vector3(0, 1, 0)), Vector3(0, 0, 1));
  expectNear(crossProduct(Vector3(0, 1, 0), Vector3(1, 0, 0)), Vector3(0, 0, -1));
  expectNear(Vector3(2, 4, 6) / 2.0f, Vector3(1, 2, 3));
}

TEST(Math, ProductWithIdentityAndIntoOperand) {
  Matrix4 a = sample();
  Matrix4 b = rotationXMatrix(0.3f);
  b._41 = 5;
  expectEqual(a * IdentityMatrix, a);
  expectEqual(IdentityMatrix * a, a);
  Matrix4 fresh = product(a, b);
  // Row 0 times column 1, summed in order: 1*b12 + 2*b22 + 3*b32 + 4*b42.
  EXPECT_FLOAT_EQ(fresh._12, 1 * b._12 + 2 * b._22 + 3 * b._32 + 4 * b._42);
  Matrix4 left = a;
  left = product(left, b);
  expectEqual(left, fresh);
  Matrix4 right = b;
  right = product(a, right);
  expectEqual(right, fresh);
}

TEST(Math, ProjectionMapsDepth) {
  Matrix4 p = DefaultProjectionMatrix;
  // (x, y, z, 1) * P: z' = z * _33 + _43, w' = z * _34 + _44.
  EXPECT_FLOAT_EQ(1 * p._33 + p._43, 0);
  EXPECT_FLOAT_EQ(1 * p._34 + p._44, 1);
  EXPECT_FLOAT_EQ(2 * p._33 + p._43, 1);
  EXPECT_FLOAT_EQ(2 * p._34 + p._44, 2);
}

TEST(Math, RotationFromVector) {
  for (float scale : {0.0f, 1.0f, 1e9f}) {
    expectEqual(rotationFromVector(Vector3(0, 0, 0), scale), IdentityMatrix);
    expectEqual(rotationFromVector(Vector3(5e-8f, 0, 0), scale), IdentityMatrix);
  }
  float half = std::numbers::pi_v<float> / 2;
  expectNear(transformPoint(Vector3(1, 0, 0), rotationFromVector(Vector3(0, 0, 1), half)), Vector3(0, 1, 0));
  // About x it is the pitch rotation, whatever the length of the axis vector.
  Matrix4 fromVector = rotationFromVector(Vector3(2, 0, 0), 0.35f);
  Matrix4 pitch = rotationXMatrix(0.7f);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(fromVector.at(r, c), pitch.at(r, c), 1e-6f);
  EXPECT_FLOAT_EQ(pitch._23, std::sin(0.7f));
  EXPECT_FLOAT_EQ(pitch._32, -std::sin(0.7f));
}

}  // namespace

TEST(Math, AxisRotationsTurnTheWayTheEngineSteers) {
  // A turn right about y takes the nose (+z) toward +x; a roll about z takes +x toward +y.
  const float a = 0.5f;
  Vector3 nose = transformPoint(Vector3(0, 0, 1), rotationYMatrix(a));
  EXPECT_NEAR(nose.x, std::sin(a), 1e-6f);
  EXPECT_NEAR(nose.z, std::cos(a), 1e-6f);
  Vector3 wing = transformPoint(Vector3(1, 0, 0), rotationZMatrix(a));
  EXPECT_NEAR(wing.y, std::sin(a), 1e-6f);
  EXPECT_NEAR(wing.x, std::cos(a), 1e-6f);
}

TEST(Math, RigidInverseUndoesACameraTransform) {
  const Matrix4 camera = rotationXMatrix(0.3f) * rotationYMatrix(-1.1f) * translationMatrix(4, 5, -6);
  const Matrix4 back = camera * rigidInverse(camera);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(back.at(r, c), IdentityMatrix.at(r, c), 1e-5f) << r << "," << c;
  // The camera's own position lands at the view-space origin.
  Vector3 eye = transformPoint(Vector3(4, 5, -6), rigidInverse(camera));
  EXPECT_NEAR(eye.x, 0.0f, 1e-5f);
  EXPECT_NEAR(eye.y, 0.0f, 1e-5f);
  EXPECT_NEAR(eye.z, 0.0f, 1e-5f);
}
