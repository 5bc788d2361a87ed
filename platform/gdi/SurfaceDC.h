// The seam between GDI and the pixel memory it draws into.
//
// A device context draws into a PixelTarget: a window's client image (BeginPaint) or a
// DirectDraw surface's memory (IDirectDrawSurface4::GetDC). The owner of the memory makes
// the DC with createTargetDC and ends it with releaseTargetDC; the memory must outlive it.
#pragma once

#include "platform/win32/WinTypes.h"

namespace platform {

// Pixel memory a DC can draw into. Rows are `pitch` bytes apart, top row first.
struct PixelTarget {
  void* bits = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;          // bytes per row
  int bitsPerPixel = 16;  // 16 = RGB565 (the display format); 32 = X8R8G8B8
};

// A new DC over `target`, with a fresh DC's default state (System font, black text,
// white opaque background). Null when the target is unusable.
HDC createTargetDC(const PixelTarget& target);
// Ends a DC made by createTargetDC.
void releaseTargetDC(HDC dc);

}  // namespace platform
