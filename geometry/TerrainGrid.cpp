#include "geometry/TerrainGrid.h"

bool isTerrainGridSizeValid(std::int32_t gridSize) {
  return gridSize >= kMinTerrainGridSize && gridSize <= kMaxTerrainGridSize;
}

bool heightSamplesCover(const HeightSamples& samples, std::int32_t gridSize) {
  if (samples.pixels == nullptr || gridSize < 1) return false;
  // Column j reads byte 3j of its row, so a row needs 3a bytes of pixels (fillers excluded).
  return samples.width >= gridSize && samples.rows >= gridSize && samples.rowBytes >= 3 * samples.width;
}

std::int32_t terrainVertexCount(std::int32_t gridSize) { return gridSize * gridSize; }

std::int32_t terrainIndexCount(std::int32_t gridSize) { return (6 * gridSize - 6) * (gridSize - 1); }

void buildTerrainIndices(std::uint16_t* indices, std::int32_t gridSize) {
  const std::uint16_t a = static_cast<std::uint16_t>(gridSize);
  std::uint16_t* out = indices;
  for (std::uint16_t i = 0; i + 1 < a; ++i) {
    for (std::uint16_t j = 0; j + 1 < a; ++j) {
      const std::uint16_t here = static_cast<std::uint16_t>(i * a + j);  // (i, j)
      const std::uint16_t below = static_cast<std::uint16_t>(here + a);  // (i + 1, j)
      *out++ = here;
      *out++ = below;
      *out++ = static_cast<std::uint16_t>(here + 1);
      *out++ = below;
      *out++ = static_cast<std::uint16_t>(below + 1);
      *out++ = static_cast<std::uint16_t>(here + 1);
    }
  }
}

void buildTerrainVertices(MeshVertex* vertices, std::int32_t gridSize, float cellSize, float heightScale,
                          const HeightSamples* samples) {
  const bool hasHeights = samples != nullptr && heightSamplesCover(*samples, gridSize);
  const double half = gridSize * 0.5;
  MeshVertex* v = vertices;
  for (std::int32_t i = 0; i < gridSize; ++i) {
    const std::uint8_t* row = hasHeights ? samples->pixels + static_cast<std::size_t>(i) * samples->rowBytes : nullptr;
    for (std::int32_t j = 0; j < gridSize; ++j, ++v) {
      const unsigned p = hasHeights ? row[3 * j] : 128u;  // first byte of the pixel: blue
      v->x = static_cast<float>((j - half) * cellSize);
      v->y = static_cast<float>((p - 128.0) * heightScale);
      v->z = static_cast<float>((i - half) * cellSize);
      v->nx = 0.0f;
      v->ny = 1.0f;
      v->nz = 0.0f;
    }
  }
}

void planarTexCoords(MeshVertex* vertices, std::int32_t vertexCount, float scale) {
  if (vertices == nullptr) return;
  for (std::int32_t k = 0; k < vertexCount; ++k) {
    vertices[k].tu = vertices[k].x / scale;
    vertices[k].tv = vertices[k].z / scale;
  }
}
