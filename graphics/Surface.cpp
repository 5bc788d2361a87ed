// Surface: creation, bitmaps, palette, colour key and text.
#include "graphics/Surface.h"

#include <cstring>

#include "graphics/DisplayDevice.h"
#include "graphics/LastResult.h"
#include "platform/bitmap/LoadImage.h"
#include "platform/gdi/WinGdi.h"

#ifndef D3DPAL_READONLY
#define D3DPAL_READONLY 0x40
#endif

namespace {
// Description of an offscreen 3D-capable surface in video or system memory.
DDSURFACEDESC2 offscreenDescription(DWORD width, DWORD height, int videoMemory) {
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwWidth = width;
  description.dwHeight = height;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE |
                               (videoMemory ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
  return description;
}
}  // namespace

Surface::Surface(DisplayDevice* owner) : display(owner) {}

Surface::Surface() = default;

Surface::~Surface() { Surface::releaseSurface(); }

void Surface::releaseSurface() {
  if (palette) {
    palette->Release();
    palette = nullptr;
  }
  if (surface) {
    surface->Release();
    surface = nullptr;
  }
}

int Surface::create(DisplayDevice* owner) {
  display = owner;
  if (!display || !display->directDraw4) return 0;  // no DirectDraw to create with
  Surface::releaseSurface();  // a second create must not leak the first surface
  if (width <= 0 || height <= 0) return 0;
  DDSURFACEDESC2 description = offscreenDescription(DWORD(width), DWORD(height), videoMemory);
  lastResult = display->directDraw4->CreateSurface(&description, &surface, nullptr);
  if (FAILED(lastResult) || !surface) return 0;
  createPalette();
  return 1;
}

void Surface::createPalette() {
  if (palette) {
    palette->Release();
    palette = nullptr;
  }
  for (int i = 0; i < 256; ++i)
    colourTable[i].peFlags = (i < 10 || i >= 246) ? D3DPAL_READONLY : PC_RESERVED;
  if (!display || !display->directDraw4) return;
  lastResult = display->directDraw4->CreatePalette(DDPCAPS_8BIT, colourTable, &palette, nullptr);
  if (palette) lastResult = palette->SetEntries(0, 0, 256, colourTable);
}

int Surface::loadBitmap(const char* fileName) {
  releaseSurface();  // through the virtual slot: a Texture releases its own parts too
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(
      nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_LOADFROMFILE));
  if (!bitmap) return 0;
  BITMAP info{};
  GetObjectA(bitmap, 24, &info);
  if (!display || !display->directDraw4 || info.bmWidth <= 0 || info.bmHeight <= 0) {
    DeleteObject(bitmap);
    return 0;
  }
  DDSURFACEDESC2 description =
      offscreenDescription(DWORD(info.bmWidth), DWORD(info.bmHeight), videoMemory);
  lastResult = display->directDraw4->CreateSurface(&description, &surface, nullptr);
  if (FAILED(lastResult) || !surface) {
    DeleteObject(bitmap);  // not kept: nothing else would free it
    return 0;
  }

  copyBitmap(bitmap, info.bmWidth, info.bmHeight);

  lastResult = display->directDraw4->CreatePalette(DDPCAPS_8BIT, colourTable, &palette, nullptr);
  if (palette) {
    lastResult = palette->SetEntries(0, 0, 256, colourTable);
    lastResult = surface->SetPalette(palette);
  }
  return 1;
}

void Surface::setBlackColourKey() {
  if (!surface) return;
  DDCOLORKEY key{0, 0};
  lastResult = surface->SetColorKey(DDCKEY_SRCBLT, &key);
}

void Surface::drawText(int x, int y, const char* text) {
  if (!surface || !text) return;
  HDC dc = nullptr;
  lastResult = surface->GetDC(&dc);
  if (!dc) return;  // no DC: nothing to draw on
  TextOutA(dc, x, y, text, int(std::strlen(text)));
  lastResult = surface->ReleaseDC(dc);
}

void Surface::copyBitmap(HBITMAP bitmap, int bitmapWidth, int bitmapHeight) {
  HDC memoryDC = CreateCompatibleDC(nullptr);
  SelectObject(memoryDC, bitmap);
  // The table arrives as blue, green, red, reserved and is kept byte for byte.
  RGBQUAD table[256] = {};
  UINT copied = GetDIBColorTable(memoryDC, 0, 256, table);
  if (copied > 0) std::memcpy(colourTable, table, copied * sizeof(RGBQUAD));
  HDC surfaceDC = nullptr;
  lastResult = surface->GetDC(&surfaceDC);
  if (!FAILED(lastResult) && surfaceDC) {
    BitBlt(surfaceDC, 0, 0, bitmapWidth, bitmapHeight, memoryDC, 0, 0, SRCCOPY);
    lastResult = surface->ReleaseDC(surfaceDC);
  }
  DeleteDC(memoryDC);
  DeleteObject(bitmap);
}
