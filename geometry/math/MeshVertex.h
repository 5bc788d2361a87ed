// MeshVertex: one vertex of an engine mesh, laid out exactly like Direct3D's D3DVERTEX
// (position, normal, texture coordinates; 32 bytes), so vertex arrays go to the device as they are.
// Shared by the .x reader, the procedural meshes and the actors.
#pragma once

#include <cstddef>

struct MeshVertex {
  float x, y, z;     // position, model space
  float nx, ny, nz;  // normal, model space
  float tu, tv;      // texture coordinates
};

static_assert(sizeof(MeshVertex) == 32, "MeshVertex must match D3DVERTEX");
static_assert(offsetof(MeshVertex, nx) == 12 && offsetof(MeshVertex, tu) == 24,
              "MeshVertex must match D3DVERTEX");
