// Terrain: hills from summed noise, raised at the edges, then blended to fixed levels in the
// basin round the origin and on the pot's plateau.
#include "tools/assetgen/Terrain.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/Noise.h"

namespace assetgen {

double terrainHeight(double x, double z) {
  const double gx = x / kTerrainCell + kTerrainGrid / 2, gz = z / kTerrainCell + kTerrainGrid / 2;
  double h = (tiledFbm(gx / 8.0, gz / 8.0, 8, 8, 4, 71) - 0.5) * 60.0;
  const double edge = std::min(std::min(gx, kTerrainGrid - 1 - gx), std::min(gz, kTerrainGrid - 1 - gz));
  h += 18.0 * (1.0 - smoothstep(0.0, 9.0, edge));
  const double basin = 1.0 - smoothstep(60.0, 140.0, std::sqrt(x * x + z * z));
  h = h + (-6.0 - h) * basin;
  const double dx = x - 120.0, dz = z - 150.0;
  const double plateau = 1.0 - smoothstep(45.0, 95.0, std::sqrt(dx * dx + dz * dz));
  h = h + (5.0 - h) * plateau;
  return std::clamp(h, -25.0, 25.0);
}

std::uint8_t terrainByte(int row, int column) {
  const double x = (column - kTerrainGrid / 2) * kTerrainCell, z = (row - kTerrainGrid / 2) * kTerrainCell;
  const double value = std::round(terrainHeight(x, z) / kTerrainScale + 128.0);
  return std::uint8_t(std::clamp(value, 0.0, 255.0));
}

RgbImage paintHeightMap() {
  RgbImage image(kTerrainGrid, kTerrainGrid);
  for (int row = 0; row < kTerrainGrid; ++row) {
    for (int column = 0; column < kTerrainGrid; ++column) {
      const double grey = terrainByte(row, column) / 255.0;
      image.at(column, kTerrainGrid - 1 - row) = {grey, grey, grey};
    }
  }
  return image;
}

}  // namespace assetgen
