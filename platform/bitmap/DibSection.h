// A device-independent bitmap held in memory: what LoadImageA makes and GDI reads.
//
// The pixels keep the file's bit depth (1, 4, 8, 16, 24 or 32) and row order: bottom-up
// unless the file was top-down. Rows are `stride` bytes apart, a multiple of 4. 16- and
// 32-bit pixels are read through the three channel masks (BI_RGB stands for the default
// masks: 5-5-5 for 16 bits, 8-8-8 for 32 bits).
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct DibColour {  // a colour-table entry as stored by GDI: blue, green, red, reserved
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
};

struct DibSection {
  int width = 0;             // pixels, > 0
  int height = 0;            // pixels, > 0
  bool topDown = false;      // rows stored top row first
  int bitsPerPixel = 0;      // 1, 4, 8, 16, 24 or 32
  std::uint32_t compression = 0;   // BI_RGB or BI_BITFIELDS (RLE is always expanded)
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue (16 and 32 bits per pixel)
  int stride = 0;            // bytes per row
  int colourCount = 0;       // entries of `colours` in use (bits per pixel <= 8)
  DibColour colours[256];    // entries past colourCount are black
  std::vector<std::uint8_t> bits;  // stride * height bytes

  // Start of the row `y` counted from the top (0 <= y < height).
  const std::uint8_t* row(int y) const { return bits.data() + std::size_t(storedRow(y)) * stride; }
  std::uint8_t* row(int y) { return bits.data() + std::size_t(storedRow(y)) * stride; }
  int storedRow(int y) const { return topDown ? y : height - 1 - y; }
};

// Bytes per row of a DIB: whole 32-bit words.
inline long long dibStride(long long width, int bitsPerPixel) {
  return ((width * bitsPerPixel + 31) / 32) * 4;
}

}  // namespace platform
