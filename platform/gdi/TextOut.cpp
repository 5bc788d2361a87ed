// TextOutA: a row of character cells drawn into a DC's pixels.
//
// With the fresh DC state (TA_LEFT | TA_TOP, OPAQUE) (x, y) is the top-left of the first
// cell; the cells are filled with the background colour, then the glyph pixels are set to
// the text colour. Everything is clipped to the DC's pixels; the current position is not
// used. Memory DCs (holding DIBs of any depth) are not drawn into: FALSE.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SystemFont.h"
#include "platform/gdi/WinGdi.h"

namespace {

// A COLORREF (0x00BBGGRR) as a pixel of the target's format (565 channels truncated).
std::uint32_t pixelFor(COLORREF colour, int bitsPerPixel) {
  const std::uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  if (bitsPerPixel == 16) return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
  return (r << 16) | (g << 8) | b;
}

void putPixel(const platform::PixelTarget& t, int x, int y, std::uint32_t value) {
  std::uint8_t* p = static_cast<std::uint8_t*>(t.bits) + std::size_t(y) * std::size_t(t.pitch);
  if (t.bitsPerPixel == 16) {
    const std::uint16_t v = std::uint16_t(value);
    std::memcpy(p + std::size_t(x) * 2, &v, 2);
  } else {
    std::memcpy(p + std::size_t(x) * 4, &value, 4);
  }
}

}  // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  const HDC__* state = platform::liveDC(dc);
  if (state == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
  if (state->memory) return FALSE;  // memory DCs hold DIBs of any depth; text goes to targets
  const platform::PixelTarget& t = state->target;
  const int cellW = platform::kSystemFontCellWidth, cellH = platform::kSystemFontCellHeight;

  // Rows and the first/last character that can touch the target, in 64-bit to avoid overflow.
  const long long top = std::max<long long>(y, 0), bottom = std::min<long long>((long long)y + cellH, t.height);
  if (top >= bottom) return TRUE;
  const long long firstChar = std::max<long long>(0, (0ll - x) / cellW);
  const long long endChar = std::min<long long>(length, ((long long)t.width - x + cellW - 1) / cellW);

  const std::uint32_t ink = pixelFor(state->textColour, t.bitsPerPixel);
  const std::uint32_t paper = pixelFor(state->backColour, t.bitsPerPixel);
  const bool opaque = state->backMode == OPAQUE;
  for (long long i = firstChar; i < endChar; ++i) {
    const std::uint8_t* glyph = platform::systemFontGlyph(std::uint8_t(text[i]));
    const long long cellX = (long long)x + i * cellW;
    const int left = int(std::max<long long>(cellX, 0)), right = int(std::min<long long>(cellX + cellW, t.width));
    for (long long py = top; py < bottom; ++py) {
      const std::uint8_t bits = glyph[py - y];
      for (int px = left; px < right; ++px) {
        const bool set = (bits >> (7 - (px - cellX))) & 1;
        if (set) putPixel(t, px, int(py), ink);
        else if (opaque) putPixel(t, px, int(py), paper);
      }
    }
  }
  return TRUE;
}
