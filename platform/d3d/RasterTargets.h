// The memory the software device reads and writes: an RGB565 colour target, a 16-bit depth
// buffer and RGB565 textures. Each is a borrowed view (pointer, pitch in bytes, size); the
// owner keeps the memory alive while the device uses it. A view with a null pointer or a
// non-positive size is "absent".
#pragma once

#include <cstdint>

namespace platform {

// 16-bit pixels, rows `pitch` bytes apart, top row first.
struct PixelView16 {
  std::uint16_t* bits = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;

  // True when the view can be read and written: bits set, size and pitch sensible.
  bool usable() const { return bits && width > 0 && height > 0 && pitch >= width * 2; }
  // Row y (0 = top); y must be inside the view.
  std::uint16_t* row(int y) const {
    return reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(bits) +
                                            static_cast<std::intptr_t>(y) * pitch);
  }
};

// One bit per pixel: bit (x & 7) of byte (x >> 3) of a row is pixel x. Rows are `pitch`
// bytes apart and keep at least four bytes from any pixel's byte to the row's end, so a
// 32-bit read or write at a pixel's byte stays inside the row.
struct PixelMask {
  std::uint8_t* bits = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;

  // The pitch that gives `width` pixels their bits and the spare bytes.
  static int pitchFor(int width) { return (width + 7) / 8 + 4; }
  // Row y (0 = top); y must be inside the view.
  std::uint8_t* row(int y) const { return bits + static_cast<std::intptr_t>(y) * pitch; }
};

typedef PixelView16 ColorTarget;  // RGB565
typedef PixelView16 DepthTarget;  // D16: stored value = round(z * 0xFFFF)

// An RGB565 texture, read only. The source colour key (DDCKEY_SRCBLT) is kept with it.
struct TextureImage {
  const std::uint16_t* bits = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
  bool hasColorKey = false;
  std::uint16_t colorKey = 0;  // raw 565 texel value that is discarded under COLORKEYENABLE
  // Optional: the texels as TexelPairs lays them out (TexelPairs::pitchFor(width) elements a
  // row), kept by the texture's owner; bilinear fetches read whole squares from it.
  const std::uint32_t* pairs = nullptr;

  bool usable() const { return bits && width > 0 && height > 0 && pitch >= width * 2; }
};

// 565 helpers: 8-bit channels truncate to 5/6 bits; expansion replicates the top bits.
inline std::uint16_t pack565(int r, int g, int b) {
  return static_cast<std::uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
}
inline int red565(std::uint16_t p) { int r = p >> 11; return (r << 3) | (r >> 2); }
inline int green565(std::uint16_t p) { int g = (p >> 5) & 63; return (g << 2) | (g >> 4); }
inline int blue565(std::uint16_t p) { int b = p & 31; return (b << 3) | (b >> 2); }
// 0x00RRGGBB of a 565 pixel, channels expanded.
inline std::uint32_t rgbOf565(std::uint16_t p) {
  return (static_cast<std::uint32_t>(red565(p)) << 16) | (green565(p) << 8) | blue565(p);
}

}  // namespace platform
