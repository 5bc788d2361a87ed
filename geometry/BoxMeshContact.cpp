#include "geometry/BoxMeshContact.h"

#include <cmath>
#include <initializer_list>

#include "geometry/BoxOverlap.h"
#include "geometry/CollisionBox.h"
#include "geometry/TriangleTests.h"

namespace {

struct Frame {
  Vector3 axis[3];  // rows 0 to 2 of the mesh's matrix, world space
  Vector3 origin;   // row 3
};

// The cube around `position`, its corners brought into the mesh's model space.
CollisionBox boxInMeshSpace(const Vector3& position, const Frame& frame) {
  const Vector3 half(kCollisionHalfSize, kCollisionHalfSize, kCollisionHalfSize);
  CollisionBox box(position - half, position + half);
  for (Vector3& c : box.corners) {
    const Vector3 d = c - frame.origin;
    c = Vector3(dotProduct(d, frame.axis[0]), dotProduct(d, frame.axis[1]), dotProduct(d, frame.axis[2]));
  }
  return box;
}

Vector3 positionOf(const MeshVertex& v) { return Vector3(v.x, v.y, v.z); }

// Axis-aligned bounds of the box's corners in the mesh's model space, widened by a margin
// far above float rounding: a crossing point lies on both a box triangle and a mesh
// triangle, so a mesh triangle whose bounds miss these cannot touch the box.
struct Bounds {
  Vector3 low, high;
};

Bounds boundsOf(const CollisionBox& box) {
  constexpr float kMargin = 0.01f;
  Bounds b{box.corners[0], box.corners[0]};
  for (const Vector3& c : box.corners) {
    b.low = Vector3(std::fmin(b.low.x, c.x), std::fmin(b.low.y, c.y), std::fmin(b.low.z, c.z));
    b.high = Vector3(std::fmax(b.high.x, c.x), std::fmax(b.high.y, c.y), std::fmax(b.high.z, c.z));
  }
  b.low = b.low - Vector3(kMargin, kMargin, kMargin);
  b.high = b.high + Vector3(kMargin, kMargin, kMargin);
  return b;
}

// False only when the triangle lies wholly on one outer side of the bounds (NaN never rejects).
bool mayTouch(const Bounds& b, const Vector3& v0, const Vector3& v1, const Vector3& v2) {
  if (v0.x < b.low.x && v1.x < b.low.x && v2.x < b.low.x) return false;
  if (v0.x > b.high.x && v1.x > b.high.x && v2.x > b.high.x) return false;
  if (v0.y < b.low.y && v1.y < b.low.y && v2.y < b.low.y) return false;
  if (v0.y > b.high.y && v1.y > b.high.y && v2.y > b.high.y) return false;
  if (v0.z < b.low.z && v1.z < b.low.z && v2.z < b.low.z) return false;
  if (v0.z > b.high.z && v1.z > b.high.z && v2.z > b.high.z) return false;
  return true;
}

}  // namespace

bool boxMeshContact(Vector3& position, const Matrix4& meshFrame, const MeshView& mesh, bool resolve) {
  if (mesh.vertices == nullptr || mesh.indices == nullptr || mesh.indexCount < 3) return false;
  const Frame frame{{Vector3(meshFrame._11, meshFrame._12, meshFrame._13),
                     Vector3(meshFrame._21, meshFrame._22, meshFrame._23),
                     Vector3(meshFrame._31, meshFrame._32, meshFrame._33)},
                    Vector3(meshFrame._41, meshFrame._42, meshFrame._43)};
  CollisionBox box = boxInMeshSpace(position, frame);
  Bounds bounds = boundsOf(box);
  bool touched = false;
  const std::int32_t triangleCount = mesh.indexCount / 3;
  for (std::int32_t t = 0; t < triangleCount; ++t) {
    const std::uint16_t* tri = mesh.indices + 3 * t;
    if (tri[0] >= mesh.vertexCount || tri[1] >= mesh.vertexCount || tri[2] >= mesh.vertexCount) continue;
    const Vector3 v0 = positionOf(mesh.vertices[tri[0]]);
    const Vector3 v1 = positionOf(mesh.vertices[tri[1]]);
    const Vector3 v2 = positionOf(mesh.vertices[tri[2]]);
    if (!mayTouch(bounds, v0, v1, v2)) continue;
    for (int b = 0; b < 12; ++b) {
      const Vector3& c0 = box.corners[box.triangles[3 * b]];
      const Vector3& c1 = box.corners[box.triangles[3 * b + 1]];
      const Vector3& c2 = box.corners[box.triangles[3 * b + 2]];
      if (!edgesCrossTriangle(v0, v1, v2, c0, c1, c2) && !edgesCrossTriangle(c0, c1, c2, v0, v1, v2)) continue;
      touched = true;
      if (!resolve) continue;
      const Vector3 n = crossProduct(v1 - v0, v2 - v0);
      const float length = std::sqrt(dotProduct(n, n));
      if (!(length > 0.0f)) continue;  // no plane to push out of
      const Vector3 unit = n / length;
      // Depth of the box triangle's deepest corner behind the mesh triangle's plane (model space).
      float depth = 0.0f;
      for (const Vector3* c : {&c0, &c1, &c2}) depth = std::fmin(depth, dotProduct(*c - v0, unit));
      const Vector3 push = -depth * unit;
      position = position + push.x * frame.axis[0] + push.y * frame.axis[1] + push.z * frame.axis[2];
      box = boxInMeshSpace(position, frame);
      bounds = boundsOf(box);
    }
  }
  return touched;
}
