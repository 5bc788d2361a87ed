// Noise: a 32-bit integer mix of the lattice coordinates and seed, smoothstep-weighted
// bilinear interpolation between lattice values, coordinates wrapped by the period.
#include "tools/assetgen/Noise.h"

#include <cmath>

namespace assetgen {

double latticeValue(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x9E3779B9u;
  h ^= std::uint32_t(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= std::uint32_t(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return double(h >> 8) / double(1u << 24);
}

static int wrap(int i, int period) {
  const int m = i % period;
  return m < 0 ? m + period : m;
}

double tiledNoise(double x, double y, int periodX, int periodY, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = int(fx), iy = int(fy);
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
  const int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
  const double a = latticeValue(x0, y0, seed), b = latticeValue(x1, y0, seed);
  const double c = latticeValue(x0, y1, seed), d = latticeValue(x1, y1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double tiledFbm(double x, double y, int periodX, int periodY, int octaves, std::uint32_t seed) {
  double sum = 0, weight = 1, total = 0, scale = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += weight * tiledNoise(x * scale, y * scale, periodX * int(scale), periodY * int(scale), seed + std::uint32_t(o) * 101u);
    total += weight;
    weight *= 0.5;
    scale *= 2;
  }
  return sum / total;
}

}  // namespace assetgen
