#include "platform/bitmap/BmpDecoder.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/bitmap/BmpHeaders.h"
#include "platform/bitmap/BmpRle.h"
#include "platform/bitmap/ByteReader.h"
#include "platform/files/FileNames.h"

namespace platform {
namespace {

constexpr std::uint32_t kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;
constexpr long kMaxFileBytes = long(kMaxDibBytes) + (1 << 20);

void readColourTable(const std::uint8_t* file, const BmpLayout& layout, DibSection& dib) {
  dib.colourCount = layout.tableEntries;
  const std::uint8_t* entry = file + layout.tableOffset;
  for (int i = 0; i < layout.tableEntries; ++i, entry += layout.tableEntrySize) {
    dib.colours[i].blue = entry[0];
    dib.colours[i].green = entry[1];
    dib.colours[i].red = entry[2];
    dib.colours[i].reserved = 0;
  }
}

}  // namespace

bool decodeBmp(const std::uint8_t* file, std::size_t size, DibSection& dib) {
  dib = DibSection{};
  BmpLayout layout;
  if (file == nullptr || !readBmpLayout(file, size, layout)) return false;

  const bool rle = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  const std::uint64_t stride = std::uint64_t(dibStride(layout.width, layout.bitsPerPixel));
  const std::uint64_t pixelBytes = stride * std::uint64_t(layout.height);
  if (!rle && !spanFits(layout.bitsOffset, pixelBytes, size)) return false;  // truncated

  DibSection out;
  out.width = layout.width;
  out.height = layout.height;
  out.topDown = layout.topDown;
  out.bitsPerPixel = layout.bitsPerPixel;
  out.compression = layout.compression == kBiBitfields ? kBiBitfields : 0;
  std::memcpy(out.masks, layout.masks, sizeof out.masks);
  out.stride = int(stride);
  readColourTable(file, layout, out);
  out.bits.assign(std::size_t(pixelBytes), 0);

  if (rle) {
    std::size_t available = size - layout.bitsOffset;
    if (layout.bitsSize != 0 && layout.bitsSize < available) available = layout.bitsSize;
    if (!expandRle(file + layout.bitsOffset, available, layout.compression == kBiRle4, out)) return false;
  } else {
    std::memcpy(out.bits.data(), file + layout.bitsOffset, std::size_t(pixelBytes));
  }
  dib = std::move(out);
  return true;
}

bool loadBmpFile(const char* name, DibSection& dib) {
  dib = DibSection{};
  if (name == nullptr) return false;
  std::FILE* stream = openFile(name, "rb");
  if (stream == nullptr) return false;
  std::vector<std::uint8_t> bytes;
  bool ok = std::fseek(stream, 0, SEEK_END) == 0;
  const long length = ok ? std::ftell(stream) : -1;
  ok = ok && length >= 0 && length <= kMaxFileBytes && std::fseek(stream, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(std::size_t(length));
    ok = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  }
  std::fclose(stream);
  return ok && decodeBmp(bytes.data(), bytes.size(), dib);
}

}  // namespace platform
