// The GDI bitmap calls as the texture loader uses them: LoadImageA, GetObjectA,
// CreateCompatibleDC, SelectObject, GetDIBColorTable, BitBlt into a 16-bit target, DeleteDC
// and DeleteObject, plus the handle rules that keep bad calls from crashing.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/bitmap/DibSection.h"
#include "platform/bitmap/LoadImage.h"
#include "platform/gdi/Brushes.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/gdi/WinGdi.h"
#include "tests/platform/bitmap/BmpBuilder.h"
#include "tests/support/test_files.h"

namespace {

constexpr UINT kLoadFlags = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE;

// A 16-bit RGB565 image a DC can draw into, filled with `fill`.
struct Target565 {
  Target565(int w, int h, std::uint16_t fill = 0) : pixels(std::size_t(w) * std::size_t(h), fill) {
    target = platform::PixelTarget{pixels.data(), w, h, w * 2, 16};
  }
  std::uint16_t at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(target.width) + std::size_t(x)]; }
  std::vector<std::uint16_t> pixels;
  platform::PixelTarget target;
};

// Writes a 4x2 8-bit BMP with a 3-entry table under `name` in the scratch directory.
void writePaletteBmp(const char* name) {
  bmptest::BmpSpec spec;
  spec.width = 4;
  spec.height = 2;
  spec.colours = {0xFF0000, 0x00FF00, 0x0C0804};
  spec.pixels = {0, 1, 2, 0, /* top: */ 2, 2, 1, 1};
  const std::vector<std::uint8_t> bytes = bmptest::buildBmp(spec);
  ASSERT_TRUE(qeltest::writeFileBytes(name, bytes.data(), bytes.size()));
}

TEST(GdiBitmap, LoadsThroughTheTextureLoaderSequence) {
  writePaletteBmp("bakuhatsu.bmp");
  // Kept as the HANDLE LoadImageA returns, as Windows code may (HGDIOBJ is void* there).
  HANDLE bitmap = LoadImageA(nullptr, "bakuhatsu.BMP", IMAGE_BITMAP, 0, 0, kLoadFlags);
  ASSERT_NE(bitmap, nullptr);  // found ignoring letter case

  BITMAP info;
  std::memset(&info, 0xCD, sizeof info);
  EXPECT_EQ(GetObjectA(bitmap, 24, &info), 24);  // the size the engine passes
  EXPECT_EQ(info.bmType, 0);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(info.bmWidthBytes, 4);
  EXPECT_EQ(info.bmPlanes, 1);
  EXPECT_EQ(info.bmBitsPixel, 8);
  EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), int(sizeof(BITMAP)));
  EXPECT_EQ(GetObjectA(bitmap, int(sizeof info), &info), int(sizeof(BITMAP)));
  EXPECT_NE(info.bmBits, nullptr);

  HDC memory = CreateCompatibleDC(nullptr);
  ASSERT_NE(memory, nullptr);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  EXPECT_NE(previous, nullptr);  // the memory DC's own 1x1 bitmap
  RGBQUAD table[256];
  std::memset(table, 0x77, sizeof table);
  EXPECT_EQ(GetDIBColorTable(memory, 0, 256, table), 3u);
  EXPECT_EQ(table[0].rgbRed, 0xFF);
  EXPECT_EQ(table[0].rgbBlue, 0x00);
  EXPECT_EQ(table[2].rgbRed, 0x0C);
  EXPECT_EQ(table[2].rgbGreen, 0x08);
  EXPECT_EQ(table[2].rgbBlue, 0x04);
  EXPECT_EQ(table[3].rgbRed, 0x77);  // untouched past the table
  EXPECT_EQ(GetDIBColorTable(memory, 1, 256, table), 2u);
  EXPECT_EQ(table[0].rgbGreen, 0xFF);
  EXPECT_EQ(GetDIBColorTable(memory, 3, 1, table), 0u);

  Target565 surface(4, 2, 0xAAAA);
  HDC surfaceDC = platform::createTargetDC(surface.target);
  ASSERT_NE(surfaceDC, nullptr);
  EXPECT_TRUE(BitBlt(surfaceDC, 0, 0, 4, 2, memory, 0, 0, SRCCOPY));
  EXPECT_EQ(surface.at(0, 0), 0x0840);  // (12, 8, 4) truncated to 5-6-5: (1, 2, 0)
  EXPECT_EQ(surface.at(2, 0), 0x07E0);
  EXPECT_EQ(surface.at(0, 1), 0xF800);
  EXPECT_EQ(surface.at(2, 1), 0x0840);
  platform::releaseTargetDC(surfaceDC);

  EXPECT_FALSE(DeleteObject(bitmap));  // still selected
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(GetObjectA(bitmap, 24, &info), 0);  // stale handle
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteDC(memory));
  EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(GdiBitmap, LoadImageRefusesWhatItCannotRead) {
  EXPECT_EQ(LoadImageA(nullptr, "missing.bmp", IMAGE_BITMAP, 0, 0, kLoadFlags), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, kLoadFlags), nullptr);
  ASSERT_TRUE(qeltest::writeFileText("text.bmp", "BM not really a bitmap"));
  EXPECT_EQ(LoadImageA(nullptr, "text.bmp", IMAGE_BITMAP, 0, 0, kLoadFlags), nullptr);
  writePaletteBmp("fine.bmp");
  EXPECT_EQ(LoadImageA(nullptr, "fine.bmp", IMAGE_ICON, 0, 0, kLoadFlags), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, "fine.bmp", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
}

TEST(GdiBitmap, BitBltClipsToBothSides) {
  platform::DibSection dib;  // 3x3, 24-bit, each pixel's red = 10*x + y
  dib.width = dib.height = 3;
  dib.bitsPerPixel = 24;
  dib.stride = int(platform::dibStride(3, 24));
  dib.bits.assign(std::size_t(dib.stride) * 3, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) dib.row(y)[x * 3 + 2] = std::uint8_t((10 * x + y) << 3);
  HBITMAP bitmap = platform::createDibBitmap(std::move(dib));
  HDC memory = CreateCompatibleDC(nullptr);
  SelectObject(memory, bitmap);

  Target565 surface(4, 4, 0xFFFF);
  HDC dc = platform::createTargetDC(surface.target);
  auto red = [&](int x, int y) { return surface.at(x, y) >> 11; };
  // Source block (1,1)-(3,3) placed at (-1, 2): only source column 2, rows 1-2, land at x=0.
  EXPECT_TRUE(BitBlt(dc, -1, 2, 5, 5, memory, 1, 1, SRCCOPY));
  EXPECT_EQ(red(0, 2), 21);
  EXPECT_EQ(red(0, 3), 22);
  EXPECT_EQ(surface.at(1, 2), 0xFFFF);
  EXPECT_EQ(surface.at(0, 1), 0xFFFF);
  // A negative source origin shifts the destination too.
  EXPECT_TRUE(BitBlt(dc, 2, 0, 3, 1, memory, -1, 0, SRCCOPY));
  EXPECT_EQ(surface.at(2, 0), 0xFFFF);
  EXPECT_EQ(red(3, 0), 0);
  // Far outside, huge sizes, empty sizes: nothing written, no overflow.
  const std::vector<std::uint16_t> before = surface.pixels;
  EXPECT_TRUE(BitBlt(dc, 0x7FFFFFF0, 0, 0x7FFFFFFF, 0x7FFFFFFF, memory, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(dc, 0, 0, 0, 3, memory, 0, 0, SRCCOPY));
  EXPECT_TRUE(BitBlt(dc, 0, 0, 3, 3, memory, -0x7FFFFFFF, 0, SRCCOPY));
  EXPECT_EQ(surface.pixels, before);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 3, 3, memory, 0, 0, 0x00EE0086));  // SRCPAINT: not supported
  EXPECT_FALSE(BitBlt(memory, 0, 0, 3, 3, dc, 0, 0, SRCCOPY));      // memory DCs do not receive
  EXPECT_TRUE(BitBlt(dc, 1, 1, 2, 2, nullptr, 0, 0, BLACKNESS));
  EXPECT_EQ(surface.at(2, 2), 0);

  platform::releaseTargetDC(dc);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

TEST(GdiBitmap, BitBltWithinOneTargetHandlesOverlap) {
  Target565 surface(300, 3);
  for (int x = 0; x < 300; ++x) surface.pixels[std::size_t(x)] = std::uint16_t(x);
  HDC dc = platform::createTargetDC(surface.target);
  EXPECT_TRUE(BitBlt(dc, 1, 1, 300, 2, dc, 0, 0, SRCCOPY));  // down and right over itself
  for (int x = 1; x < 300; ++x) EXPECT_EQ(surface.at(x, 1), std::uint16_t(x - 1)) << x;
  platform::releaseTargetDC(dc);
}

TEST(GdiBitmap, SelectObjectFollowsTheOwnershipRules) {
  writePaletteBmp("one.bmp");
  HGDIOBJ bitmap = static_cast<HGDIOBJ>(LoadImageA(nullptr, "one.bmp", IMAGE_BITMAP, 0, 0, kLoadFlags));
  HDC first = CreateCompatibleDC(nullptr), second = CreateCompatibleDC(nullptr);
  HGDIOBJ original = SelectObject(first, bitmap);
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);  // a bitmap lives in one DC at a time
  EXPECT_EQ(SelectObject(first, original), bitmap);  // swapping back returns it
  EXPECT_NE(SelectObject(second, bitmap), nullptr);  // and frees it for another DC
  EXPECT_EQ(SelectObject(first, GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
  int foreign = 0;  // not a GDI object at all
  EXPECT_EQ(SelectObject(first, reinterpret_cast<HGDIOBJ>(&foreign)), nullptr);
  DeleteDC(first);
  DeleteDC(second);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects survive
  COLORREF colour = 0;
  EXPECT_TRUE(platform::solidBrushColour(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), colour));
  EXPECT_EQ(colour, 0xFFFFFFu);
  EXPECT_FALSE(platform::solidBrushColour(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), colour));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(1000), nullptr);
}

}  // namespace
