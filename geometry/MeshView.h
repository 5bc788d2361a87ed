// MeshView and TerrainView: read-only views of an actor's mesh arrays, so that the collision
// tests work on plain data. The arrays belong to the caller; a view never frees anything.
#pragma once

#include <cstdint>

#include "geometry/math/MeshVertex.h"
#include "geometry/math/Vector3.h"

// An indexed triangle list: three 16-bit indices per triangle, model space.
struct MeshView {
  const MeshVertex* vertices = nullptr;
  std::int32_t vertexCount = 0;
  const std::uint16_t* indices = nullptr;
  std::int32_t indexCount = 0;
};

// A square height-map grid, vertex i * gridSize + j at row i, column j, plus where it lies.
struct TerrainView {
  const MeshVertex* vertices = nullptr;
  std::int32_t vertexCount = 0;
  std::int32_t gridSize = 0;  // vertices per side
  float cellSize = 0.0f;      // distance between neighbouring vertices on x and z
  Vector3 position{0.0f, 0.0f, 0.0f};  // the terrain's translation, world space
};
