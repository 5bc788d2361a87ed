// Vector3: three 32-bit floats laid out exactly like Direct3D's D3DVECTOR, so arrays of them
// sit unchanged inside vertex records. Plain value type; nothing here allocates.
#pragma once

#include <cstddef>

struct Vector3 {
  float x;
  float y;  // up in world space
  float z;

  Vector3() = default;  // uninitialised, like the Direct3D structure
  constexpr Vector3(float vx, float vy, float vz) : x(vx), y(vy), z(vz) {}
};

static_assert(sizeof(Vector3) == 12, "Vector3 must match D3DVECTOR");
static_assert(offsetof(Vector3, x) == 0 && offsetof(Vector3, y) == 4 && offsetof(Vector3, z) == 8,
              "Vector3 must match D3DVECTOR");

// u x v, first argument on the left.
constexpr Vector3 crossProduct(const Vector3& u, const Vector3& v) {
  return Vector3(u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x);
}

// Component-wise division; s = 0 is not tested (callers divide by a known non-zero length).
constexpr Vector3 operator/(const Vector3& v, float s) { return Vector3(v.x / s, v.y / s, v.z / s); }

// Small conveniences so that callers need not spell every component out.
constexpr Vector3 operator+(const Vector3& a, const Vector3& b) { return Vector3(a.x + b.x, a.y + b.y, a.z + b.z); }
constexpr Vector3 operator-(const Vector3& a, const Vector3& b) { return Vector3(a.x - b.x, a.y - b.y, a.z - b.z); }
constexpr Vector3 operator-(const Vector3& v) { return Vector3(-v.x, -v.y, -v.z); }
constexpr Vector3 operator*(const Vector3& v, float s) { return Vector3(v.x * s, v.y * s, v.z * s); }
constexpr Vector3 operator*(float s, const Vector3& v) { return v * s; }
constexpr float dotProduct(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
