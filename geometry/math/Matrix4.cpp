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
