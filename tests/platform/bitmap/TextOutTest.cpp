// TextOutA with a fresh DC: black glyphs in white cells of 8x16 pixels, clipped to the target.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/bitmap/PngFile.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/gdi/SystemFont.h"
#include "platform/gdi/WinGdi.h"
#include "tests/support/test_files.h"

namespace {

constexpr std::uint16_t kBlue565 = 0x001F;  // the surface's colour before any text

struct Canvas {
  explicit Canvas(int w = 200, int h = 60) : pixels(std::size_t(w) * std::size_t(h), kBlue565) {
    target = platform::PixelTarget{pixels.data(), w, h, w * 2, 16};
  }
  std::uint16_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(target.width) + std::size_t(x)]; }
  std::vector<std::uint16_t> pixels;
  platform::PixelTarget target;
};

// Checks the cells of `text` drawn at (x, y): every pixel white or black, enough black ones,
// and the pixels right of and below the box untouched.
void expectTextBox(const Canvas& canvas, int x, int y, const std::string& text) {
  const int w = int(text.size()) * platform::kSystemFontCellWidth, h = platform::kSystemFontCellHeight;
  int dark = 0;
  for (int py = y; py < y + h; ++py) {
    for (int px = x; px < x + w; ++px) {
      const std::uint16_t p = canvas.at(px, py);
      ASSERT_TRUE(p == 0xFFFF || p == 0x0000) << px << "," << py << " = " << p;
      dark += p == 0;
    }
  }
  const int visible = int(text.size() - std::count(text.begin(), text.end(), ' '));
  EXPECT_GT(dark, visible * 12);  // a bold 16-pixel glyph has well over 12 set pixels
  EXPECT_LT(dark, w * h / 2);
  for (int py = y; py < y + h; ++py) EXPECT_EQ(canvas.at(x + w, py), kBlue565);
  for (int px = x; px < x + w; ++px) EXPECT_EQ(canvas.at(px, y + h), kBlue565);
}

TEST(TextOut, DrawsTheGreetingAndTheFrameRateLine) {
  // Two targets in one image: a window (rows 0-39) and a back buffer (rows 40-79).
  Canvas canvas(200, 80);
  platform::PixelTarget window = canvas.target, backBuffer = canvas.target;
  window.height = backBuffer.height = 40;
  backBuffer.bits = canvas.pixels.data() + 40 * 200;
  HDC paint = platform::createTargetDC(window);
  HDC surface = platform::createTargetDC(backBuffer);
  ASSERT_NE(paint, nullptr);
  ASSERT_NE(surface, nullptr);
  EXPECT_TRUE(TextOutA(paint, 10, 10, "Hello, World!", 13));
  EXPECT_TRUE(TextOutA(surface, 0, 0, "FPS =50.000000", 14));
  platform::releaseTargetDC(paint);
  platform::releaseTargetDC(surface);
  ASSERT_TRUE(platform::writePngTarget("text.png", canvas.target));

  expectTextBox(canvas, 10, 10, "Hello, World!");
  expectTextBox(canvas, 0, 40, "FPS =50.000000");
  EXPECT_EQ(canvas.at(9, 10), kBlue565);   // left of the box
  EXPECT_EQ(canvas.at(10, 9), kBlue565);   // above the box
  // The space's cell is all background; 'H' has its left stem in the first columns.
  for (int py = 10; py < 26; ++py)
    for (int px = 10 + 6 * 8; px < 10 + 7 * 8; ++px) EXPECT_EQ(canvas.at(px, py), 0xFFFF);
  int stem = 0;
  for (int py = 10; py < 26; ++py) stem += canvas.at(11, py) == 0;
  EXPECT_GE(stem, 8);
}

TEST(TextOut, GlyphsMatchTheEmbeddedFont) {
  Canvas canvas(8, 16);
  HDC dc = platform::createTargetDC(canvas.target);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "A", 1));
  platform::releaseTargetDC(dc);
  const std::uint8_t* glyph = platform::systemFontGlyph('A');
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.at(x, y) == 0, bool((glyph[y] >> (7 - x)) & 1)) << x << "," << y;
}

TEST(TextOut, ClipsToTheTargetOnEverySide) {
  Canvas canvas(20, 10);
  HDC dc = platform::createTargetDC(canvas.target);
  EXPECT_TRUE(TextOutA(dc, -5, -7, "WWWWWW", 6));
  EXPECT_TRUE(TextOutA(dc, 17, 4, "MM", 2));
  EXPECT_TRUE(TextOutA(dc, -0x7FFFFFFF, 0x7FFFFFF0, "X", 1));
  EXPECT_TRUE(TextOutA(dc, 0x7FFFFFF0, 0, "XXXXXXXX", 8));
  EXPECT_TRUE(TextOutA(dc, 0, 0, "", 0));
  EXPECT_TRUE(TextOutA(dc, 0, 0, nullptr, 0));
  EXPECT_FALSE(TextOutA(dc, 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutA(dc, 0, 0, "abc", -1));
  // Rows 0-8 lie inside the first line's cells (y -7 to 8, x -5 to 42): all drawn.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const std::uint16_t p = canvas.at(x, y);
      if (y <= 8) {
        EXPECT_TRUE(p == 0 || p == 0xFFFF) << x << "," << y;
      } else if (x < 17) {
        EXPECT_EQ(p, kBlue565) << x << "," << y;
      }
    }
  platform::releaseTargetDC(dc);
  EXPECT_FALSE(TextOutA(dc, 0, 0, "late", 4));  // the DC is gone
}

TEST(TextOut, DrawsIntoThirtyTwoBitTargets) {
  std::vector<std::uint32_t> pixels(16 * 16, 0x00123456);
  const platform::PixelTarget target{pixels.data(), 16, 16, 64, 32};
  HDC dc = platform::createTargetDC(target);
  ASSERT_NE(dc, nullptr);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "|", 1));
  platform::releaseTargetDC(dc);
  int white = 0, black = 0;
  for (int i = 0; i < 16 * 16; ++i) {
    const int x = i % 16;
    if (x < 8) {
      white += pixels[std::size_t(i)] == 0x00FFFFFFu;
      black += pixels[std::size_t(i)] == 0;
    } else {
      EXPECT_EQ(pixels[std::size_t(i)], 0x00123456u);
    }
  }
  EXPECT_EQ(white + black, 8 * 16);
  EXPECT_GT(black, 8);
}

TEST(TargetDC, RefusesUnusableTargets) {
  std::uint16_t pixel = 0;
  EXPECT_EQ(platform::createTargetDC(platform::PixelTarget{nullptr, 1, 1, 2, 16}), nullptr);
  EXPECT_EQ(platform::createTargetDC(platform::PixelTarget{&pixel, 0, 1, 2, 16}), nullptr);
  EXPECT_EQ(platform::createTargetDC(platform::PixelTarget{&pixel, 2, 1, 2, 16}), nullptr);  // pitch too small
  EXPECT_EQ(platform::createTargetDC(platform::PixelTarget{&pixel, 1, 1, 3, 24}), nullptr);
}

TEST(PngFile, WritesAndReadsBackA565Target) {
  std::vector<std::uint16_t> pixels = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
  const platform::PixelTarget target{pixels.data(), 3, 2, 6, 16};
  ASSERT_TRUE(platform::writePngTarget("small.png", target));
  platform::RgbaImage image;
  ASSERT_TRUE(platform::readPngRgba("small.png", image));
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  const std::uint8_t expected[6][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}, {132, 130, 132}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(image.pixels[std::size_t(i) * 4 + 0], expected[i][0]) << i;
    EXPECT_EQ(image.pixels[std::size_t(i) * 4 + 1], expected[i][1]) << i;
    EXPECT_EQ(image.pixels[std::size_t(i) * 4 + 2], expected[i][2]) << i;
    EXPECT_EQ(image.pixels[std::size_t(i) * 4 + 3], 255) << i;
  }
  EXPECT_FALSE(platform::readPngRgba("missing.png", image));
  EXPECT_TRUE(image.pixels.empty());
  ASSERT_TRUE(qeltest::writeFileText("broken.png", "\x89PNG\r\n\x1a\n garbage"));
  EXPECT_FALSE(platform::readPngRgba("broken.png", image));
  EXPECT_FALSE(platform::writePngTarget("nowhere/deep/x.png", target));
}

}  // namespace
