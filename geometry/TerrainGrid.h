// TerrainGrid: the square grid mesh of the height-map terrain. Vertex i * a + j (row i, column j)
// sits at x = (j - a/2) * cellSize, z = (i - a/2) * cellSize with its height taken from the first
// byte of pixel (i, j) of a 24-bit bitmap; all normals point straight up. Each cell becomes two
// triangles. Grid sizes run from 2 to 256 (a * a vertices must fit 16-bit indices).
#pragma once

#include <cstdint>

#include "geometry/math/MeshVertex.h"

inline constexpr std::int32_t kMinTerrainGridSize = 2;
inline constexpr std::int32_t kMaxTerrainGridSize = 256;

// Pixel rows of a 24-bit bitmap as stored in the file (bottom row first for a positive height).
struct HeightSamples {
  const std::uint8_t* pixels = nullptr;
  std::int32_t rowBytes = 0;  // stored row length, a multiple of 4
  std::int32_t width = 0;     // pixels per row
  std::int32_t rows = 0;      // number of stored rows
};

// True when a grid of this size can be built (2 to 256 vertices per side).
bool isTerrainGridSizeValid(std::int32_t gridSize);
// True when the samples hold at least gridSize x gridSize pixels in complete rows.
bool heightSamplesCover(const HeightSamples& samples, std::int32_t gridSize);
// a * a; the grid size must be valid.
std::int32_t terrainVertexCount(std::int32_t gridSize);
// 6 * (a - 1)^2; the grid size must be valid.
std::int32_t terrainIndexCount(std::int32_t gridSize);
// Writes the 6 (a - 1)^2 indices: per cell (i, j), row by row, the triangles
// (i*a+j, (i+1)*a+j, i*a+j+1) and ((i+1)*a+j, (i+1)*a+j+1, i*a+j+1).
void buildTerrainIndices(std::uint16_t* indices, std::int32_t gridSize);
// Writes the a * a vertices; tu and tv are left as they are. `samples` null, or not covering the
// grid, gives flat ground at height 0 (the height of pixel byte 128).
void buildTerrainVertices(MeshVertex* vertices, std::int32_t gridSize, float cellSize, float heightScale,
                          const HeightSamples* samples);
// tu = x / scale, tv = z / scale for every vertex; nothing else changes. A null array does nothing.
void planarTexCoords(MeshVertex* vertices, std::int32_t vertexCount, float scale);
