// A DirectDraw surface of the engine, with a 256-entry colour table and an optional palette.
//
// Empty (no surface) until `create` or `loadBitmap` succeeds; `releaseSurface` and the
// destructor empty it again. A Surface uses its display's IDirectDraw4 but never owns the
// display. Memory is system or video memory by `videoMemory` (both are host memory here, but
// the caps asked for are kept). Results of DirectDraw calls go to `lastResult`.
#pragma once

#include "platform/ddraw/DDraw.h"

class DisplayDevice;

class Surface {
 public:
  // Stores the display; no surface yet.
  explicit Surface(DisplayDevice* display);
  // No display yet (Texture fills it in).
  Surface();
  virtual ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // An offscreen 3D-capable surface of width x height on `display`, then its palette; 1 or 0.
  virtual int create(DisplayDevice* display);
  // Replaces the surface with one holding the BMP file's image (display format); 1 or 0.
  virtual int loadBitmap(const char* fileName);
  // Releases palette then surface; safe when empty.
  virtual void releaseSurface();

  // Makes the 8-bit palette from `colourTable` (flags set per entry range); not attached.
  void createPalette();
  // Black (0) becomes the source colour key for blits.
  void setBlackColourKey();
  // Draws text with a fresh DC's font and colours at (x, y) through the surface's DC.
  void drawText(int x, int y, const char* text);
  // Copies a GDI bitmap of bitmapWidth x bitmapHeight into the surface through a memory DC (its colour
  // table kept in `colourTable`), then deletes the bitmap. The surface must exist.
  void copyBitmap(HBITMAP bitmap, int bitmapWidth, int bitmapHeight);

  int width = 0;
  int height = 0;
  int videoMemory = 0;
  DisplayDevice* display = nullptr;
  IDirectDrawSurface4* surface = nullptr;
  IDirectDrawPalette* palette = nullptr;
  // A bitmap's colour table (blue, green, red, reserved) or palette entries (red, green, blue,
  // flags): the bytes are handed on unchanged in either role.
  PALETTEENTRY colourTable[256] = {};
};
