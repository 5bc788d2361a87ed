// BmpWriter: little-endian header fields, then the rows from the bottom of the image up.
#include "tools/assetgen/BmpWriter.h"

namespace assetgen {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// File header and info header for `bits` per pixel and `tableEntries` colours.
std::vector<std::uint8_t> headers(int width, int height, int bits, std::uint32_t tableEntries) {
  const std::uint32_t rowBytes = ((std::uint32_t(width) * std::uint32_t(bits) + 31) / 32) * 4;
  const std::uint32_t imageBytes = rowBytes * std::uint32_t(height);
  const std::uint32_t offset = 54 + 4 * tableEntries;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + imageBytes);  // bfSize
  put32(out, 0);                    // bfReserved1, bfReserved2
  put32(out, offset);               // bfOffBits
  put32(out, 40);                   // biSize
  put32(out, std::uint32_t(width));
  put32(out, std::uint32_t(height));  // positive: bottom row first
  put16(out, 1);                      // biPlanes
  put16(out, std::uint32_t(bits));
  put32(out, 0);                      // BI_RGB
  put32(out, imageBytes);
  put32(out, 2835);                   // 72 dots per inch
  put32(out, 2835);
  put32(out, tableEntries);           // biClrUsed
  put32(out, 0);                      // biClrImportant
  return out;
}

}  // namespace

std::vector<std::uint8_t> encodeBmp24(const RgbImage& image) {
  std::vector<std::uint8_t> out = headers(image.width, image.height, 24, 0);
  const int padding = (4 - (image.width * 3) % 4) % 4;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Vec3& c = image.at(x, y);
      out.push_back(toByte(c.z));
      out.push_back(toByte(c.y));
      out.push_back(toByte(c.x));
    }
    out.insert(out.end(), std::size_t(padding), 0);
  }
  return out;
}

std::vector<std::uint8_t> encodeBmp8(const IndexedImage& image) {
  std::vector<std::uint8_t> out = headers(image.width, image.height, 8, std::uint32_t(image.palette.size()));
  for (const Vec3& c : image.palette) {
    out.push_back(toByte(c.z));
    out.push_back(toByte(c.y));
    out.push_back(toByte(c.x));
    out.push_back(0);
  }
  const int padding = (4 - image.width % 4) % 4;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) out.push_back(image.indices[std::size_t(y) * std::size_t(image.width) + std::size_t(x)]);
    out.insert(out.end(), std::size_t(padding), 0);
  }
  return out;
}

}  // namespace assetgen
