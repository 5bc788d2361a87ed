// Images as the generator paints them: top row first, colours as doubles in [0, 1] until
// they are encoded. IndexedImage carries colour-table indices for 8-bit BMP files.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/GenMath.h"

namespace assetgen {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Vec3> pixels;  // row-major, row 0 at the top; red, green, blue in [0, 1]

  RgbImage(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h)) {}
  Vec3& at(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
  const Vec3& at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;  // row-major, row 0 at the top
  std::vector<Vec3> palette;          // at most 256 colours

  IndexedImage(int w, int h) : width(w), height(h), indices(std::size_t(w) * std::size_t(h)) {}
};

// A channel value in [0, 1] as a byte, rounded; values outside are clamped.
inline std::uint8_t toByte(double value) { return std::uint8_t(clamp01(value) * 255.0 + 0.5); }

}  // namespace assetgen
