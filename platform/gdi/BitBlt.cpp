// BitBlt: copying pixels between DCs, converting to the destination's format.
//
// Sources: a memory DC's DIB of any depth, or a 16/32-bit target DC. Destinations: 16-bit
// RGB565 targets (8-bit channels truncated to 5-6-5) and 32-bit X8R8G8B8 targets. The copy
// is clipped to both DCs; rows are converted in fixed chunks, with no allocation.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/bitmap/DibPixels.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/WinGdi.h"

namespace {

constexpr int kChunk = 256;  // pixels converted per step

int dcWidth(const HDC__& dc) { return dc.memory ? dc.bitmap->dib.width : dc.target.width; }
int dcHeight(const HDC__& dc) { return dc.memory ? dc.bitmap->dib.height : dc.target.height; }

std::uint8_t* targetPixel(const platform::PixelTarget& t, int x, int y) {
  return static_cast<std::uint8_t*>(t.bits) + std::size_t(y) * std::size_t(t.pitch) + std::size_t(x) * std::size_t(t.bitsPerPixel / 8);
}

// Colours (0x00RRGGBB) of `count` pixels of a DC from (x, y); the run lies inside it.
void readRun(const HDC__& dc, int x, int y, int count, std::uint32_t* colours) {
  if (dc.memory) {
    platform::readDibRow(dc.bitmap->dib, y, x, count, colours);
    return;
  }
  const std::uint8_t* p = targetPixel(dc.target, x, y);
  if (dc.target.bitsPerPixel == 32) {
    std::memcpy(colours, p, std::size_t(count) * 4);
    for (int i = 0; i < count; ++i) colours[i] &= 0x00FFFFFFu;
    return;
  }
  for (int i = 0; i < count; ++i) {
    std::uint16_t v;
    std::memcpy(&v, p + 2 * i, 2);
    const std::uint32_t r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
    colours[i] = (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
  }
}

void writeRun(const platform::PixelTarget& t, int x, int y, int count, const std::uint32_t* colours) {
  std::uint8_t* p = targetPixel(t, x, y);
  if (t.bitsPerPixel == 32) {
    std::memcpy(p, colours, std::size_t(count) * 4);
    return;
  }
  for (int i = 0; i < count; ++i) {
    const std::uint32_t c = colours[i];
    const std::uint16_t v = std::uint16_t(((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F));
    std::memcpy(p + 2 * i, &v, 2);
  }
}

void fill(const platform::PixelTarget& t, long long x0, long long y0, long long w, long long h, std::uint32_t colour) {
  const long long x1 = std::min<long long>(x0 + w, t.width), y1 = std::min<long long>(y0 + h, t.height);
  x0 = std::max<long long>(x0, 0);
  y0 = std::max<long long>(y0, 0);
  std::uint32_t run[kChunk];
  std::fill(run, run + kChunk, colour);
  for (long long y = y0; y < y1; ++y)
    for (long long x = x0; x < x1; x += kChunk) writeRun(t, int(x), int(y), int(std::min<long long>(kChunk, x1 - x)), run);
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop) {
  const HDC__* to = platform::liveDC(dest);
  if (to == nullptr || to->memory) return FALSE;  // only targets with their own pixels receive
  if (rop == BLACKNESS || rop == WHITENESS) {
    if (w > 0 && h > 0) fill(to->target, x, y, w, h, rop == WHITENESS ? 0x00FFFFFFu : 0u);
    return TRUE;
  }
  const HDC__* from = platform::liveDC(source);
  if (rop != SRCCOPY || from == nullptr) return FALSE;
  if (w <= 0 || h <= 0) return TRUE;

  // Clip the block against the destination and the source, in 64-bit to avoid overflow.
  long long dx = x, dy = y, srcX = sx, srcY = sy, width = w, height = h;
  const long long shiftX = std::max({0ll, -dx, -srcX}), shiftY = std::max({0ll, -dy, -srcY});
  dx += shiftX, srcX += shiftX, width -= shiftX;
  dy += shiftY, srcY += shiftY, height -= shiftY;
  width = std::min({width, (long long)(to->target.width) - dx, (long long)(dcWidth(*from)) - srcX});
  height = std::min({height, (long long)(to->target.height) - dy, (long long)(dcHeight(*from)) - srcY});
  if (width <= 0 || height <= 0) return TRUE;

  // Within one DC, walk away from the overlap so that no pixel is read after it is written.
  const bool same = from == to;
  const bool upward = same && dy > srcY, leftward = same && dx > srcX;
  std::uint32_t run[kChunk];
  for (long long step = 0; step < height; ++step) {
    const long long row = upward ? height - 1 - step : step;
    for (long long done = 0; done < width; done += kChunk) {
      const int count = int(std::min<long long>(kChunk, width - done));
      const long long col = leftward ? width - done - count : done;
      readRun(*from, int(srcX + col), int(srcY + row), count, run);
      writeRun(to->target, int(dx + col), int(dy + row), count, run);
    }
  }
  return TRUE;
}
