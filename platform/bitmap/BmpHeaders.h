// The headers of a BMP file: file header, info header (OS/2 core 12 bytes; Windows 40, 52,
// 56, 108 or 124 bytes) and the BI_BITFIELDS masks, checked and reduced to one layout.
//
// Refused (false): no "BM", a header that does not fit, an unknown header size, planes not
// 1, a bit depth GDI does not take, a compression that does not match the bit depth, a
// width below 1, a height of 0, RLE rows stored top-down, unusable masks, or a size whose
// pixels would pass kMaxDibBytes. Nothing is allocated here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Largest decoded pixel array accepted, in bytes.
constexpr std::uint64_t kMaxDibBytes = 64u << 20;

struct BmpLayout {
  int width = 0;
  int height = 0;              // positive
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;    // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS as in the file
  std::uint32_t masks[3] = {0, 0, 0};  // effective masks for 16/32 bits (defaults for BI_RGB)
  std::uint32_t tableOffset = 0;    // file offset of the colour table
  int tableEntrySize = 4;           // 3 for OS/2 core headers
  int tableEntries = 0;             // colour-table entries used (bits per pixel <= 8), <= 256
  std::uint32_t bitsOffset = 0;     // file offset of the pixels (bfOffBits)
  std::uint32_t bitsSize = 0;       // biSizeImage as given (0 allowed)
};

// Reads and checks the headers of the `size` bytes at `file`.
bool readBmpLayout(const std::uint8_t* file, std::size_t size, BmpLayout& layout);

}  // namespace platform
