// TerrainActor: the height-map ground, a square grid mesh built from the pixel rows of an
// uncompressed 24-bit BMP file read directly (not through GDI), and the surface terrainContact
// keeps objects above. The file is checked before anything is read from it: when it cannot be
// used (missing, short, not a 24-bit BMP, smaller than the grid) a line goes to the debug log
// and the grid is built flat at height 0, so the scene keeps a ground to stand on. A grid size
// outside 2 to 256 (16-bit indices) is refused with a log line and leaves no mesh.
#pragma once

#include <cstdint>

#include "actors/MeshActor.h"
#include "geometry/MeshView.h"

class TerrainActor : public MeshActor {
 public:
  ~TerrainActor() override;

  // Builds the grid of gridSize x gridSize vertices from `fileName`. 1 when the heights came
  // from the file; 0 for flat ground or no terrain (logged).
  int buildTerrain(const char* fileName, std::int32_t gridSize, float cellSize, float heightScale);
  // The grid as plain data for terrainContact.
  TerrainView terrainView() const;

  std::uint8_t* heights = nullptr;  // owned: the file's pixel rows as stored; null when flat
  std::int32_t gridSize = 0;        // vertices per side
  float cellSize = 0.0f;            // distance between neighbouring vertices on x and z
  float heightScale = 0.0f;         // world height per pixel step

 private:
  void freeHeights();
  // Reads the pixel rows into `heights`; the log line and 0 when the file cannot be used.
  int readHeights(const char* fileName, std::int32_t& rowBytes, std::int32_t& width, std::int32_t& rows);
};
