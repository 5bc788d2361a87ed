// BmpWriter: uncompressed Windows BMP files (BITMAPFILEHEADER + 40-byte BITMAPINFOHEADER),
// rows stored bottom-up (positive height), each row padded to a multiple of 4 bytes.
//   24-bit: no colour table, pixel data at offset 54, bytes blue, green, red.
//   8-bit:  a colour table of palette.size() entries (biClrUsed), then one index per pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/Image.h"

namespace assetgen {

std::vector<std::uint8_t> encodeBmp24(const RgbImage& image);
std::vector<std::uint8_t> encodeBmp8(const IndexedImage& image);

}  // namespace assetgen
