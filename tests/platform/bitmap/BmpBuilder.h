// Builds small BMP files in memory for the decoder and GDI tests.
#pragma once

#include <cstdint>
#include <vector>

namespace bmptest {

struct BmpSpec {
  int headerSize = 40;          // 12 (OS/2 core), 40, 108 or 124
  int width = 4;
  int height = 2;               // negative: top-down
  int bitsPerPixel = 8;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks;     // written after a 40-byte header or inside longer ones
  std::vector<std::uint32_t> colours;   // 0x00RRGGBB entries of the colour table
  std::uint32_t colourUsed = 0;         // biClrUsed; 0 writes colours.size()
  std::vector<std::uint8_t> pixels;     // the pixel data as stored (rows padded, or RLE)
};

inline void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

inline std::vector<std::uint8_t> buildBmp(const BmpSpec& spec) {
  std::vector<std::uint8_t> info;
  if (spec.headerSize == 12) {
    put32(info, 12);
    put16(info, std::uint32_t(spec.width));
    put16(info, std::uint32_t(spec.height));
    put16(info, 1);
    put16(info, std::uint32_t(spec.bitsPerPixel));
  } else {
    put32(info, std::uint32_t(spec.headerSize));
    put32(info, std::uint32_t(spec.width));
    put32(info, std::uint32_t(spec.height));
    put16(info, 1);
    put16(info, std::uint32_t(spec.bitsPerPixel));
    put32(info, spec.compression);
    put32(info, std::uint32_t(spec.pixels.size()));
    put32(info, 2835);
    put32(info, 2835);
    put32(info, spec.colourUsed != 0 ? spec.colourUsed : std::uint32_t(spec.colours.size()));
    put32(info, 0);
    if (spec.headerSize > 40) {
      for (std::size_t i = 0; i < 4; ++i) put32(info, i < spec.masks.size() ? spec.masks[i] : 0);
      while (int(info.size()) < spec.headerSize) info.push_back(0);
    } else {
      for (std::uint32_t mask : spec.masks) put32(info, mask);
    }
  }
  for (std::uint32_t c : spec.colours) {
    info.push_back(std::uint8_t(c));
    info.push_back(std::uint8_t(c >> 8));
    info.push_back(std::uint8_t(c >> 16));
    if (spec.headerSize != 12) info.push_back(0);
  }
  std::vector<std::uint8_t> file = {'B', 'M'};
  const std::uint32_t offset = 14 + std::uint32_t(info.size());
  put32(file, offset + std::uint32_t(spec.pixels.size()));
  put32(file, 0);
  put32(file, offset);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), spec.pixels.begin(), spec.pixels.end());
  return file;
}

}  // namespace bmptest
