// Height-map file layout: accepted headers and each refusal.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "geometry/HeightMapFile.h"

namespace {

using Header = std::array<std::uint8_t, 54>;

void put32(Header& h, int offset, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) h[offset + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

Header header(std::int32_t width, std::int32_t height, std::uint16_t bits = 24, std::uint32_t compression = 0) {
  Header h{};
  h[0] = 'B';
  h[1] = 'M';
  put32(h, 14, 40);
  put32(h, 18, static_cast<std::uint32_t>(width));
  put32(h, 22, static_cast<std::uint32_t>(height));
  h[26] = 1;
  h[28] = static_cast<std::uint8_t>(bits);
  h[29] = static_cast<std::uint8_t>(bits >> 8);
  put32(h, 30, compression);
  return h;
}

TEST(HeightMapFile, RowsArePaddedToFourBytesAndTopDownCounts) {
  HeightMapLayout layout;
  Header h = header(5, -3);
  ASSERT_EQ(readHeightMapLayout(h.data(), h.size(), 54 + 48, layout), HeightMapStatus::Ok);
  EXPECT_EQ(layout.rowBytes, 16);
  EXPECT_EQ(layout.rows, 3);
  EXPECT_EQ(layout.height, -3);
  EXPECT_EQ(layout.dataBytes, 48);
}

TEST(HeightMapFile, Refusals) {
  struct Case {
    const char* what;
    Header header;
    std::size_t headerLength;
    std::int64_t fileLength;
    HeightMapStatus expected;
  };
  Header notBmp = header(4, 4);
  notBmp[0] = 'P';
  Header smallInfo = header(4, 4);
  put32(smallInfo, 14, 12);
  const Case cases[] = {
      {"header cut short", header(4, 4), 30, 30, HeightMapStatus::ShortHeader},
      {"file shorter than header", header(4, 4), 54, 40, HeightMapStatus::ShortHeader},
      {"not BM", notBmp, 54, 54 + 48, HeightMapStatus::ShortHeader},
      {"core header", smallInfo, 54, 54 + 48, HeightMapStatus::ShortHeader},
      {"8-bit", header(4, 4, 8), 54, 1000, HeightMapStatus::NotTrueColour},
      {"32-bit", header(4, 4, 32), 54, 1000, HeightMapStatus::NotTrueColour},
      {"compressed", header(4, 4, 24, 3), 54, 1000, HeightMapStatus::NotTrueColour},
      {"zero width", header(0, 4), 54, 1000, HeightMapStatus::BadDimensions},
      {"negative width", header(-4, 4), 54, 1000, HeightMapStatus::BadDimensions},
      {"zero height", header(4, 0), 54, 1000, HeightMapStatus::BadDimensions},
      {"most negative height", header(4, INT32_MIN), 54, 1000, HeightMapStatus::BadDimensions},
      {"block beyond 2 GiB", header(0x7FFFFFFF, 0x7FFFFFFF), 54, 1000, HeightMapStatus::BadDimensions},
      {"last row missing a byte", header(4, 4), 54, 54 + 47, HeightMapStatus::ShortPixelData},
  };
  for (const Case& c : cases) {
    HeightMapLayout layout;
    layout.width = -7;
    EXPECT_EQ(readHeightMapLayout(c.header.data(), c.headerLength, c.fileLength, layout), c.expected) << c.what;
    EXPECT_EQ(layout.width, -7) << c.what << ": layout written on refusal";
  }
  HeightMapLayout layout;
  EXPECT_EQ(readHeightMapLayout(nullptr, 54, 1000, layout), HeightMapStatus::ShortHeader);
}

}  // namespace
