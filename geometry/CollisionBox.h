// CollisionBox: an axis-aligned box as eight corners and a fixed table of 12 triangles
// (36 indices), so that a box can be tested against mesh triangles like any other mesh.
#pragma once

#include <cstdint>

#include "geometry/math/Vector3.h"

// Corner k has x from the maximum for k in {1, 2, 5, 6}, y for {2, 3, 6, 7}, z for k >= 4.
// Triangles: (0,3,2) (0,2,1) (0,1,5) (0,5,4) (1,2,6) (1,6,5) (2,3,7) (2,7,6) (3,0,4) (3,4,7) (4,5,6) (4,6,7).
extern const std::uint16_t kCollisionBoxTriangles[36];

struct CollisionBox {
  Vector3 corners[8];
  const std::uint16_t* triangles = kCollisionBoxTriangles;

  CollisionBox() = default;
  // The box from minimum corner `low` to maximum corner `high`.
  CollisionBox(const Vector3& low, const Vector3& high);
};
