// The BMP decoder on hand-made files: layouts, compressions and every kind of refusal.
#include <gtest/gtest.h>

#include "platform/bitmap/BmpDecoder.h"
#include "platform/bitmap/DibPixels.h"
#include "tests/platform/bitmap/BmpBuilder.h"

namespace {

using bmptest::BmpSpec;
using bmptest::buildBmp;

bool decode(const std::vector<std::uint8_t>& bytes, platform::DibSection& dib) {
  return platform::decodeBmp(bytes.data(), bytes.size(), dib);
}

BmpSpec eightBit() {  // 3x2, bottom-up, rows padded to 4 bytes
  BmpSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.colours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  spec.pixels = {1, 2, 3, 0, /* top row: */ 3, 2, 1, 0};
  return spec;
}

TEST(BmpDecoder, ReadsIndexedRowsBottomUpAndTopDown) {
  platform::DibSection dib;
  ASSERT_TRUE(decode(buildBmp(eightBit()), dib));
  EXPECT_EQ(dib.width, 3);
  EXPECT_EQ(dib.height, 2);
  EXPECT_EQ(dib.stride, 4);
  EXPECT_EQ(dib.colourCount, 4);
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0x0000FFu);  // top row is the second stored row
  EXPECT_EQ(platform::dibPixel(dib, 0, 1), 0xFF0000u);

  BmpSpec topDown = eightBit();
  topDown.height = -2;
  ASSERT_TRUE(decode(buildBmp(topDown), dib));
  EXPECT_TRUE(dib.topDown);
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0xFF0000u);
  EXPECT_EQ(platform::dibPixel(dib, 2, 0), 0x0000FFu);
}

TEST(BmpDecoder, ReadsOs2CoreHeadersAndLowDepths) {
  BmpSpec spec;
  spec.headerSize = 12;
  spec.width = 10;
  spec.height = 1;
  spec.bitsPerPixel = 1;
  spec.colours = {0x102030, 0xA0B0C0};
  spec.pixels = {0xA0, 0x40, 0, 0};  // 1010 0000 01..
  platform::DibSection dib;
  ASSERT_TRUE(decode(buildBmp(spec), dib));
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0xA0B0C0u);
  EXPECT_EQ(platform::dibPixel(dib, 1, 0), 0x102030u);
  EXPECT_EQ(platform::dibPixel(dib, 2, 0), 0xA0B0C0u);
  EXPECT_EQ(platform::dibPixel(dib, 9, 0), 0xA0B0C0u);

  BmpSpec nibbles;
  nibbles.width = 3;
  nibbles.height = 1;
  nibbles.bitsPerPixel = 4;
  nibbles.colours = {0x000000, 0x111111, 0x222222};
  nibbles.pixels = {0x21, 0xF0, 0, 0};  // index 15 is past the table: black
  ASSERT_TRUE(decode(buildBmp(nibbles), dib));
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0x222222u);
  EXPECT_EQ(platform::dibPixel(dib, 1, 0), 0x111111u);
  EXPECT_EQ(platform::dibPixel(dib, 2, 0), 0x000000u);
}

TEST(BmpDecoder, ReadsPackedPixelsThroughTheirMasks) {
  BmpSpec spec;
  spec.width = 2;
  spec.height = 1;
  spec.bitsPerPixel = 16;
  spec.pixels = {0x00, 0x7C, 0xFF, 0xFF};  // 555 default: pure red, then all ones
  platform::DibSection dib;
  ASSERT_TRUE(decode(buildBmp(spec), dib));
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0xFF0000u);
  EXPECT_EQ(platform::dibPixel(dib, 1, 0), 0xFFFFFFu);

  spec.compression = 3;  // BI_BITFIELDS 565 after a 40-byte header
  spec.masks = {0xF800, 0x07E0, 0x001F};
  spec.pixels = {0xE0, 0x07, 0x1F, 0x00};
  ASSERT_TRUE(decode(buildBmp(spec), dib));
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0x00FF00u);
  EXPECT_EQ(platform::dibPixel(dib, 1, 0), 0x0000FFu);

  BmpSpec v5;  // 32-bit masks inside a v5 header, channels in an unusual order
  v5.headerSize = 124;
  v5.width = 1;
  v5.height = 1;
  v5.bitsPerPixel = 32;
  v5.compression = 3;
  v5.masks = {0x000000FF, 0xFF000000, 0x0000FF00};
  v5.pixels = {0x11, 0x22, 0x33, 0x44};
  ASSERT_TRUE(decode(buildBmp(v5), dib));
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0x114422u);

  v5.masks = {0x00F0F000, 0xFF000000, 0x000000FF};  // red not contiguous
  EXPECT_FALSE(decode(buildBmp(v5), dib));
}

TEST(BmpDecoder, ExpandsRle8WithRunsAbsoluteRunsDeltaAndEarlyEnds) {
  BmpSpec spec;
  spec.width = 6;
  spec.height = 3;
  spec.compression = 1;
  spec.colours = {0x000000, 0x111111, 0x222222, 0x333333};
  spec.pixels = {
      3, 1,                // bottom row: 1 1 1
      0, 3, 2, 3, 2, 0,    // absolute run 2 3 2, padded to a word
      0, 0,                // end of line
      0, 2, 1, 1,          // delta: right 1, up 1 -> top row, x = 1
      9, 3,                // run of 9 crossing the right edge: clipped
      0, 1,                // end of bitmap (middle row keeps index 0)
  };
  platform::DibSection dib;
  ASSERT_TRUE(decode(buildBmp(spec), dib));
  EXPECT_EQ(dib.stride, 8);
  const std::uint32_t bottom[6] = {0x111111, 0x111111, 0x111111, 0x222222, 0x333333, 0x222222};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(platform::dibPixel(dib, x, 2), bottom[x]) << x;
  for (int x = 0; x < 6; ++x) EXPECT_EQ(platform::dibPixel(dib, x, 1), 0u) << x;
  EXPECT_EQ(platform::dibPixel(dib, 0, 0), 0u);
  for (int x = 1; x < 6; ++x) EXPECT_EQ(platform::dibPixel(dib, x, 0), 0x333333u) << x;
}

TEST(BmpDecoder, ExpandsRle4Nibbles) {
  BmpSpec spec;
  spec.width = 7;
  spec.height = 1;
  spec.bitsPerPixel = 4;
  spec.compression = 2;
  spec.colours = {0x000000, 0x111111, 0x222222};
  spec.pixels = {3, 0x12, 0, 3, 0x21, 0x20, 0, 1};  // run 1 2 1, absolute 2 1 2, end
  platform::DibSection dib;
  ASSERT_TRUE(decode(buildBmp(spec), dib));
  const std::uint32_t expected[7] = {0x111111, 0x222222, 0x111111, 0x222222, 0x111111, 0x222222, 0};
  for (int x = 0; x < 7; ++x) EXPECT_EQ(platform::dibPixel(dib, x, 0), expected[x]) << x;
}

TEST(BmpDecoder, RefusesMalformedHeaders) {
  const std::vector<void (*)(BmpSpec&)> faults = {
      [](BmpSpec& s) { s.width = 0; },
      [](BmpSpec& s) { s.width = -3; },
      [](BmpSpec& s) { s.height = 0; },
      [](BmpSpec& s) { s.bitsPerPixel = 2; },
      [](BmpSpec& s) { s.headerSize = 64; },   // OS/2 2.x: not a header GDI reads
      [](BmpSpec& s) { s.compression = 2; },   // RLE4 on an 8-bit image
      [](BmpSpec& s) { s.compression = 4; },   // JPEG
      [](BmpSpec& s) { s.compression = 1, s.height = -2, s.pixels = {0, 1}; },  // top-down RLE
  };
  platform::DibSection dib;
  for (std::size_t i = 0; i < faults.size(); ++i) {
    BmpSpec spec = eightBit();
    faults[i](spec);
    EXPECT_FALSE(decode(buildBmp(spec), dib)) << i;
    EXPECT_TRUE(dib.bits.empty()) << i;
  }
  std::vector<std::uint8_t> bytes = buildBmp(eightBit());
  bytes[26] = 2;  // planes
  EXPECT_FALSE(decode(bytes, dib));
  bytes = buildBmp(eightBit());
  bytes[0] = 'X';
  EXPECT_FALSE(decode(bytes, dib));
}

TEST(BmpDecoder, RefusesAbsurdSizesBeforeAllocating) {
  BmpSpec spec;
  spec.width = 0x7FFFFFFF;
  spec.height = 0x7FFFFFFF;
  spec.bitsPerPixel = 32;
  spec.compression = 0;
  spec.pixels = {1, 2, 3, 4};
  platform::DibSection dib;
  EXPECT_FALSE(decode(buildBmp(spec), dib));
  spec.width = 16384;  // 1 GiB of pixels, even though the RLE data would be tiny
  spec.height = -16384;
  EXPECT_FALSE(decode(buildBmp(spec), dib));
  spec.height = INT32_MIN;
  EXPECT_FALSE(decode(buildBmp(spec), dib));
}

TEST(BmpDecoder, RefusesEveryTruncationOfAValidFile) {
  BmpSpec rle;
  rle.width = 4;
  rle.height = 2;
  rle.compression = 1;
  rle.colours = {0, 0xFFFFFF};
  rle.pixels = {4, 1, 0, 0, 0, 4, 1, 0, 1, 0, 0, 1};
  for (const BmpSpec& spec : {eightBit(), rle}) {
    const std::vector<std::uint8_t> bytes = buildBmp(spec);
    platform::DibSection dib;
    ASSERT_TRUE(decode(bytes, dib));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      // A fresh copy of exactly `size` bytes, so that the sanitizer catches a read past it.
      const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(size));
      EXPECT_FALSE(platform::decodeBmp(cut.data(), cut.size(), dib)) << size;
    }
  }
}

TEST(BmpDecoder, ClampsAnOversizedColourCountAndReadsPastNoTable) {
  BmpSpec spec = eightBit();
  spec.colourUsed = 0x40000000;  // absurd count; only what 8 bits can index is read
  spec.colours.resize(256, 0x123456);
  platform::DibSection dib;
  ASSERT_TRUE(decode(buildBmp(spec), dib));
  EXPECT_EQ(dib.colourCount, 256);

  spec = eightBit();
  spec.colourUsed = 200;  // claims more entries than the file holds before its end
  spec.pixels.clear();
  EXPECT_FALSE(decode(buildBmp(spec), dib));
}

}  // namespace
