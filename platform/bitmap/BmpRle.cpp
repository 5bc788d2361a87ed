#include "platform/bitmap/BmpRle.h"

namespace platform {
namespace {

// Writes palette indices into one bottom-up DIB, dropping those outside it.
struct RleCursor {
  DibSection& dib;
  bool fourBit;
  long long x = 0;
  long long y = 0;  // stored row, counted from the bottom

  void put(std::uint8_t index) {
    if (x < dib.width && y < dib.height) {
      std::uint8_t* row = dib.bits.data() + std::size_t(y) * dib.stride;
      if (!fourBit) {
        row[x] = index;
      } else {
        std::uint8_t& byte = row[x >> 1];
        byte = (x & 1) ? std::uint8_t((byte & 0xF0) | (index & 0x0F)) : std::uint8_t((byte & 0x0F) | (index << 4));
      }
    }
    ++x;
  }
};

}  // namespace

bool expandRle(const std::uint8_t* data, std::size_t size, bool fourBit, DibSection& dib) {
  RleCursor cursor{dib, fourBit};
  std::size_t at = 0;
  while (size - at >= 2) {
    const std::uint8_t count = data[at];
    const std::uint8_t code = data[at + 1];
    at += 2;
    if (count > 0) {  // encoded run: `count` pixels of one byte (two alternating nibbles for RLE4)
      for (int i = 0; i < count; ++i)
        cursor.put(fourBit ? std::uint8_t((i & 1) ? (code & 0x0F) : (code >> 4)) : code);
      continue;
    }
    if (code == 0) {  // end of line
      cursor.x = 0;
      ++cursor.y;
    } else if (code == 1) {  // end of bitmap
      return true;
    } else if (code == 2) {  // delta: move right and up
      if (size - at < 2) return false;
      cursor.x += data[at];
      cursor.y += data[at + 1];
      at += 2;
    } else {  // absolute run of `code` pixels, padded to a 16-bit boundary
      const std::size_t bytes = fourBit ? (code + 1u) / 2u : code;
      const std::size_t padded = (bytes + 1u) & ~std::size_t(1);
      if (size - at < bytes) return false;
      for (int i = 0; i < code; ++i) {
        const std::uint8_t byte = data[at + (fourBit ? i / 2 : i)];
        cursor.put(fourBit ? std::uint8_t((i & 1) ? (byte & 0x0F) : (byte >> 4)) : byte);
      }
      at += padded <= size - at ? padded : size - at;
    }
  }
  return false;  // ran out of data before the end-of-bitmap code
}

}  // namespace platform
