#include "app/FrameMatrices.h"

#include <cmath>

Matrix4 yawMatrix(float angle) {
  Matrix4 m = IdentityMatrix;
  const float c = std::cos(angle), s = std::sin(angle);
  m._11 = c;
  m._13 = -s;
  m._31 = s;
  m._33 = c;
  return m;
}

Matrix4 rollMatrix(float angle) {
  Matrix4 m = IdentityMatrix;
  const float c = std::cos(angle), s = std::sin(angle);
  m._11 = c;
  m._12 = s;
  m._21 = -s;
  m._22 = c;
  return m;
}

Matrix4 moveMatrix(float x, float y, float z) {
  Matrix4 m = IdentityMatrix;
  m._41 = x;
  m._42 = y;
  m._43 = z;
  return m;
}

Matrix4 viewFromCamera(const Matrix4& q) {
  Matrix4 v = IdentityMatrix;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) v.at(r, c) = q.at(c, r);
  v._14 = v._24 = v._34 = 0.0f;
  const Vector3 p(q._41, q._42, q._43);
  v._41 = -dotProduct(p, Vector3(q._11, q._12, q._13));
  v._42 = -dotProduct(p, Vector3(q._21, q._22, q._23));
  v._43 = -dotProduct(p, Vector3(q._31, q._32, q._33));
  v._44 = 1.0f;
  return v;
}
