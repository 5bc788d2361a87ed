#include "platform/bitmap/BmpHeaders.h"

#include "platform/bitmap/BmpBitfields.h"
#include "platform/bitmap/ByteReader.h"
#include "platform/bitmap/DibSection.h"

namespace platform {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

bool isKnownInfoSize(std::uint32_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool compressionFitsDepth(std::uint32_t compression, int bitsPerPixel) {
  switch (compression) {
    case kBiRgb: return true;
    case kBiRle8: return bitsPerPixel == 8;
    case kBiRle4: return bitsPerPixel == 4;
    case kBiBitfields: return bitsPerPixel == 16 || bitsPerPixel == 32;
    default: return false;  // JPEG, PNG and the rest are for printers, not GDI
  }
}

}  // namespace

bool readBmpLayout(const std::uint8_t* file, std::size_t size, BmpLayout& layout) {
  layout = BmpLayout{};
  if (!spanFits(0, kFileHeaderSize + 4, size) || file[0] != 'B' || file[1] != 'M') return false;
  layout.bitsOffset = readLe32(file + 10);
  const std::uint8_t* info = file + kFileHeaderSize;
  const std::uint32_t infoSize = readLe32(info);
  if (infoSize != 12 && !isKnownInfoSize(infoSize)) return false;
  if (!spanFits(kFileHeaderSize, infoSize, size)) return false;

  std::int64_t width = 0, height = 0;
  int planes = 0;
  std::uint32_t colourUsed = 0;
  std::uint64_t tableOffset = kFileHeaderSize + infoSize;
  if (infoSize == 12) {  // OS/2 core header: 16-bit unsigned sizes, 3-byte table entries
    width = readLe16(info + 4);
    height = readLe16(info + 6);
    planes = readLe16(info + 8);
    layout.bitsPerPixel = readLe16(info + 10);
    layout.tableEntrySize = 3;
    if (layout.bitsPerPixel == 16 || layout.bitsPerPixel == 32) return false;
  } else {
    width = std::int32_t(readLe32(info + 4));
    height = std::int32_t(readLe32(info + 8));
    planes = readLe16(info + 12);
    layout.bitsPerPixel = readLe16(info + 14);
    layout.compression = readLe32(info + 16);
    layout.bitsSize = readLe32(info + 20);
    colourUsed = readLe32(info + 32);
  }
  const int bpp = layout.bitsPerPixel;
  if (planes != 1) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  if (!compressionFitsDepth(layout.compression, bpp)) return false;
  if (width < 1 || height == 0) return false;
  layout.topDown = height < 0;
  if (layout.topDown) height = -height;
  if (layout.topDown && (layout.compression == kBiRle8 || layout.compression == kBiRle4)) return false;
  // Both sides are below 2^31 here; the product is checked before anything is allocated.
  const std::uint64_t pixelBytes = std::uint64_t(dibStride(width, bpp)) * std::uint64_t(height);
  if (pixelBytes > kMaxDibBytes) return false;
  layout.width = int(width);
  layout.height = int(height);

  if (bpp == 16 || bpp == 32) {
    if (layout.compression == kBiBitfields) {
      // A 40-byte header is followed by the three masks; longer headers hold them.
      const std::uint64_t maskOffset = infoSize == 40 ? tableOffset : kFileHeaderSize + 40;
      if (!spanFits(maskOffset, 12, size)) return false;
      for (int i = 0; i < 3; ++i) layout.masks[i] = readLe32(file + maskOffset + 4 * i);
      if (infoSize == 40) tableOffset += 12;
      for (std::uint32_t mask : layout.masks)
        if (!isUsableMask(mask, bpp)) return false;
    } else {
      defaultMasks(bpp, layout.masks);
    }
  }

  if (bpp <= 8) {
    const std::uint32_t full = 1u << bpp;
    // A count of 0 means the full table; more entries than pixel values can name are ignored.
    layout.tableEntries = int(colourUsed == 0 || colourUsed > full ? full : colourUsed);
    if (!spanFits(tableOffset, std::uint64_t(layout.tableEntries) * layout.tableEntrySize, size)) return false;
  }
  layout.tableOffset = std::uint32_t(tableOffset);
  if (layout.bitsOffset > size) return false;
  return true;
}

}  // namespace platform
