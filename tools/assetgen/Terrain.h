// The height map land.bmp: a 64 x 64 grid where grid row i gives z = (i - 32) * 20 and column
// j gives x = (j - 32) * 20, height (byte - 128) * 0.2. Low ground (y = -6) around the origin
// where the arm and the player start, a plateau at y = 5 under the pot at (120, 5, 150),
// rolling hills elsewhere and mountains along the edges. Stored grey (blue = green = red).
#pragma once

#include <cstdint>

#include "tools/assetgen/Image.h"

namespace assetgen {

constexpr int kTerrainGrid = 64;
constexpr double kTerrainCell = 20.0;
constexpr double kTerrainScale = 0.2;

// Intended height at world (x, z), before quantising to a byte.
double terrainHeight(double x, double z);
// The byte stored for grid row i, column j.
std::uint8_t terrainByte(int row, int column);
// The grey image; image row 0 (top) is grid row 63, as a bottom-up BMP stores row 0 first.
RgbImage paintHeightMap();

}  // namespace assetgen
