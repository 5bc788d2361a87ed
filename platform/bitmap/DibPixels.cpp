#include "platform/bitmap/DibPixels.h"

#include "platform/bitmap/BmpBitfields.h"
#include "platform/bitmap/ByteReader.h"

namespace platform {
namespace {

std::uint32_t tableColour(const DibSection& dib, unsigned index) {
  if (index >= unsigned(dib.colourCount)) return 0;
  const DibColour& c = dib.colours[index];
  return (std::uint32_t(c.red) << 16) | (std::uint32_t(c.green) << 8) | c.blue;
}

void readIndexed(const DibSection& dib, const std::uint8_t* row, int x, int count, std::uint32_t* out) {
  const int bpp = dib.bitsPerPixel;
  const unsigned perByte = 8u / unsigned(bpp);
  const unsigned valueMask = (1u << bpp) - 1;
  for (int i = 0; i < count; ++i) {
    const unsigned px = unsigned(x + i);
    const unsigned shift = 8u - unsigned(bpp) * (px % perByte + 1);  // leftmost pixel in the high bits
    out[i] = tableColour(dib, (row[px / perByte] >> shift) & valueMask);
  }
}

void readPacked(const DibSection& dib, const std::uint8_t* row, int x, int count, std::uint32_t* out) {
  const ChannelMask r = describeMask(dib.masks[0]), g = describeMask(dib.masks[1]), b = describeMask(dib.masks[2]);
  const bool wide = dib.bitsPerPixel == 32;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* p = row + std::size_t(x + i) * (wide ? 4 : 2);
    const std::uint32_t pixel = wide ? readLe32(p) : readLe16(p);
    out[i] = (std::uint32_t(channelTo8(pixel, r)) << 16) | (std::uint32_t(channelTo8(pixel, g)) << 8) | channelTo8(pixel, b);
  }
}

void readTriples(const std::uint8_t* row, int x, int count, std::uint32_t* out) {
  const std::uint8_t* p = row + std::size_t(x) * 3;
  for (int i = 0; i < count; ++i, p += 3) out[i] = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

}  // namespace

void readDibRow(const DibSection& dib, int y, int x, int count, std::uint32_t* colours) {
  const std::uint8_t* row = dib.row(y);
  switch (dib.bitsPerPixel) {
    case 1:
    case 4:
    case 8: readIndexed(dib, row, x, count, colours); break;
    case 16:
    case 32: readPacked(dib, row, x, count, colours); break;
    case 24: readTriples(row, x, count, colours); break;
    default:
      for (int i = 0; i < count; ++i) colours[i] = 0;
  }
}

std::uint32_t dibPixel(const DibSection& dib, int x, int y) {
  if (x < 0 || y < 0 || x >= dib.width || y >= dib.height) return 0;
  std::uint32_t colour = 0;
  readDibRow(dib, y, x, 1, &colour);
  return colour;
}

}  // namespace platform
