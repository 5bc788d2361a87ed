#include "geometry/math/Matrix4.h"

#include <cmath>

Matrix4 product(const Matrix4& a, const Matrix4& b) {
  Matrix4 result;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.at(i, k) * b.at(k, j);
      result.at(i, j) = sum;
    }
  }
  return result;
}

Matrix4 rotationXMatrix(float angle) {
  Matrix4 m = IdentityMatrix;
  float c = std::cos(angle);
  float s = std::sin(angle);
  m._22 = c;
  m._23 = s;
  m._32 = -s;
  m._33 = c;
  return m;
}

Matrix4 rotationYMatrix(float angle) {
  Matrix4 m = IdentityMatrix;
  const float c = std::cos(angle), s = std::sin(angle);
  m._11 = c;
  m._13 = -s;
  m._31 = s;
  m._33 = c;
  return m;
}

Matrix4 rotationZMatrix(float angle) {
  Matrix4 m = IdentityMatrix;
  const float c = std::cos(angle), s = std::sin(angle);
  m._11 = c;
  m._12 = s;
  m._21 = -s;
  m._22 = c;
  return m;
}

Matrix4 translationMatrix(float x, float y, float z) {
  Matrix4 m = IdentityMatrix;
  m._41 = x;
  m._42 = y;
  m._43 = z;
  return m;
}

Matrix4 scalingMatrix(float x, float y, float z) {
  Matrix4 m = IdentityMatrix;
  m._11 = x;
  m._22 = y;
  m._33 = z;
  return m;
}

Matrix4 rigidInverse(const Matrix4& q) {
  Matrix4 v = IdentityMatrix;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) v.at(r, c) = q.at(c, r);
  const Vector3 p(q._41, q._42, q._43);
  v._41 = -dotProduct(p, Vector3(q._11, q._12, q._13));
  v._42 = -dotProduct(p, Vector3(q._21, q._22, q._23));
  v._43 = -dotProduct(p, Vector3(q._31, q._32, q._33));
  return v;
}

Matrix4 rotationFromVector(Vector3 v, float scale) {
  double len = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
  if (!(len > 1e-7)) return IdentityMatrix;
  double angle = len * scale;
  double c = std::cos(angle);
  double s = std::sin(angle);
  double t = 1.0 - c;
  double inv = 1.0 / len;
  double nx = v.x * inv, ny = v.y * inv, nz = v.z * inv;
  return Matrix4(float(c + t * nx * nx), float(t * nx * ny + s * nz), float(t * nx * nz - s * ny), 0.0f,
                 float(t * nx * ny - s * nz), float(c + t * ny * ny), float(t * ny * nz + s * nx), 0.0f,
                 float(t * nx * nz + s * ny), float(t * ny * nz - s * nx), float(c + t * nz * nz), 0.0f,
                 0.0f, 0.0f, 0.0f, 1.0f);
}
