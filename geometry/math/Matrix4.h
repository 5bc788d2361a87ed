// Matrix4: sixteen 32-bit floats laid out exactly like Direct3D's D3DMATRIX (row-major,
// fields _11 ... _44). Row-vector convention: a point p = (x, y, z, 1) becomes p' = p * M,
// so the translation sits in _41 _42 _43 and in A * B the transform A applies first.
// The first three rows of an object's matrix are its local axes in world space.
#pragma once

#include <cstddef>

#include "geometry/math/Vector3.h"

struct Matrix4 {
  float _11, _12, _13, _14;
  float _21, _22, _23, _24;
  float _31, _32, _33, _34;
  float _41, _42, _43, _44;

  Matrix4() = default;  // uninitialised, like the Direct3D structure
  // The arguments fill _11 ... _44 in order; the first four form the first row.
  constexpr Matrix4(float m11, float m12, float m13, float m14, float m21, float m22, float m23, float m24,
                    float m31, float m32, float m33, float m34, float m41, float m42, float m43, float m44)
      : _11(m11), _12(m12), _13(m13), _14(m14), _21(m21), _22(m22), _23(m23), _24(m24),
        _31(m31), _32(m32), _33(m33), _34(m34), _41(m41), _42(m42), _43(m43), _44(m44) {}

  // Element (row, column), both from 0: float number 4 * row + column.
  constexpr float& at(int row, int column) { return this->*kElements[4 * row + column]; }
  constexpr float at(int row, int column) const { return this->*kElements[4 * row + column]; }

 private:
  static constexpr float Matrix4::*kElements[16] = {
      &Matrix4::_11, &Matrix4::_12, &Matrix4::_13, &Matrix4::_14, &Matrix4::_21, &Matrix4::_22,
      &Matrix4::_23, &Matrix4::_24, &Matrix4::_31, &Matrix4::_32, &Matrix4::_33, &Matrix4::_34,
      &Matrix4::_41, &Matrix4::_42, &Matrix4::_43, &Matrix4::_44};
};

static_assert(sizeof(Matrix4) == 64, "Matrix4 must match D3DMATRIX");
static_assert(offsetof(Matrix4, _11) == 0 && offsetof(Matrix4, _14) == 12 && offsetof(Matrix4, _21) == 16 &&
                  offsetof(Matrix4, _33) == 40 && offsetof(Matrix4, _41) == 48 && offsetof(Matrix4, _44) == 60,
              "Matrix4 must match D3DMATRIX");

// The identity; fallback of rotationFromVector and starting value of object matrices.
inline constexpr Matrix4 IdentityMatrix(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
// Perspective with a 90-degree field of view on both axes, near plane 1, far plane at infinity.
inline constexpr Matrix4 DefaultProjectionMatrix(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0);

// a * b (a applied first). Each sum starts at 0 and adds k = 0..3 in order; the result is a
// fresh value, so it may be stored into either operand.
Matrix4 product(const Matrix4& a, const Matrix4& b);
inline Matrix4 operator*(const Matrix4& a, const Matrix4& b) { return product(a, b); }

// Rotation about x by `angle` radians: identity except _22 = cos, _23 = sin, _32 = -sin, _33 = cos.
Matrix4 rotationXMatrix(float angle);

// Rotation about y (a turn, seen from above): identity except _11 = cos, _13 = -sin, _31 = sin, _33 = cos.
Matrix4 rotationYMatrix(float angle);
// Rotation about z (a roll about the nose): identity except _11 = cos, _12 = sin, _21 = -sin, _22 = cos.
Matrix4 rotationZMatrix(float angle);
// The identity with the translation row (_41, _42, _43) = (x, y, z).
Matrix4 translationMatrix(float x, float y, float z);
// The identity with the diagonal (x, y, z, 1).
Matrix4 scalingMatrix(float x, float y, float z);
// Inverse of a rigid transform (rotation rows plus translation row), e.g. a camera's world
// transform turned into the view transform: transpose of the rotation, translation -p * R^T.
Matrix4 rigidInverse(const Matrix4& m);

// Rotation about the direction of v by the angle |v| * scale (row-vector form). A vector of
// length at most 1e-7 gives exactly IdentityMatrix.
Matrix4 rotationFromVector(Vector3 v, float scale);

// p * M for the point (p, 1), the translation row included.
constexpr Vector3 transformPoint(const Vector3& p, const Matrix4& m) {
  return Vector3(p.x * m._11 + p.y * m._21 + p.z * m._31 + m._41, p.x * m._12 + p.y * m._22 + p.z * m._32 + m._42,
                 p.x * m._13 + p.y * m._23 + p.z * m._33 + m._43);
}
