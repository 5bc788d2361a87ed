// HeightMapFile: the layout of a height-map bitmap file, read from its first 54 bytes (the BMP
// file header and a 40-byte info header). The pixel rows are taken from offset 54 as stored,
// so only an uncompressed 24-bit bitmap without colour table is accepted. Pure parsing over
// bytes; opening and reading the file is the caller's business.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kHeightMapHeaderBytes = 54;  // file header 14 + info header 40
inline constexpr std::int64_t kHeightMapPixelOffset = 54;

enum class HeightMapStatus {
  Ok,
  ShortHeader,     // fewer than 54 bytes, or not "BM" with a 40-byte (or larger) info header
  NotTrueColour,   // not 24 bits per pixel, or compressed
  BadDimensions,   // width or height zero, negative width, or rows too large to address
  ShortPixelData,  // the file ends before the last pixel row
};

struct HeightMapLayout {
  std::int32_t width = 0;     // biWidth
  std::int32_t height = 0;    // biHeight as stored (negative: top-down)
  std::int32_t rows = 0;      // abs(biHeight)
  std::int32_t rowBytes = 0;  // ((width * 24 + 31) / 32) * 4
  std::int32_t dataBytes = 0; // rowBytes * rows, read from offset 54
};

// Parses the header bytes and checks that `fileLength` bytes hold every pixel row.
// `layout` is filled only when the result is Ok.
HeightMapStatus readHeightMapLayout(const std::uint8_t* header, std::size_t headerLength, std::int64_t fileLength,
                                    HeightMapLayout& layout);
