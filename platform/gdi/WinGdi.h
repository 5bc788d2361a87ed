// The GDI calls and structures the engine uses, in their Win32 shapes.
//
// Device contexts draw into pixel memory (platform/gdi/SurfaceDC.h) or hold a bitmap
// (memory DCs). Bitmaps are DIB sections made by LoadImageA (platform/bitmap/LoadImage.h).
// Handles are checked before use: a stale or foreign handle gives the documented failure
// result (0, FALSE or null), never a crash. Single-threaded, like the engine.
#pragma once

#include "platform/win32/WinTypes.h"

// GetStockObject indices.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Raster operations accepted by BitBlt.
#define SRCCOPY ((DWORD)0x00CC0020)
#define BLACKNESS ((DWORD)0x00000042)
#define WHITENESS ((DWORD)0x00FF0062)

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// DIB compressions.
#define BI_RGB 0L
#define BI_RLE8 1L
#define BI_RLE4 2L
#define BI_BITFIELDS 3L

// What GetObjectA fills in for a bitmap. 24 bytes up to bmBits, as on 32-bit Windows.
struct BITMAP {
  LONG bmType;        // always 0
  LONG bmWidth;       // pixels
  LONG bmHeight;      // pixels, positive whatever the row order
  LONG bmWidthBytes;  // bytes per row of bmBits (a multiple of 4 for DIB sections)
  WORD bmPlanes;      // always 1
  WORD bmBitsPixel;   // the file's bits per pixel
  LPVOID bmBits;      // the pixel rows, in the DIB's own row order
};
typedef BITMAP* LPBITMAP;

// A colour-table entry of a DIB: blue, green, red, reserved (0).
struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

// A stock brush, pen or font; never needs deleting. Null for an unknown index.
HGDIOBJ GetStockObject(int index);
// Writes `length` characters with the DC's font (an 8x16-pixel cell each) and colours; the
// cell's top-left is (x, y). Clipped to the DC's pixels. FALSE for a bad DC or length < 0.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
// A memory DC with a 1x1 monochrome bitmap selected. `dc` may be null.
HDC CreateCompatibleDC(HDC dc);
// Selects a bitmap, brush, pen or font into the DC; the previous one of that kind, or null.
// A bitmap already selected into another DC cannot be selected (null).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Ends any DC (memory or target); its selected bitmap becomes free to delete.
BOOL DeleteDC(HDC dc);
// Frees a bitmap (not while it is selected into a DC: FALSE). Stock objects are kept (TRUE).
BOOL DeleteObject(HGDIOBJ object);
// Windows declares HGDIOBJ as void*, so code hands these two calls the HANDLE that
// LoadImageA returns; these overloads accept it (and a literal null) as Windows does.
inline HGDIOBJ SelectObject(HDC dc, HANDLE object) { return SelectObject(dc, static_cast<HGDIOBJ>(object)); }
inline HGDIOBJ SelectObject(HDC, decltype(nullptr)) { return nullptr; }
inline BOOL DeleteObject(HANDLE object) { return DeleteObject(static_cast<HGDIOBJ>(object)); }
inline BOOL DeleteObject(decltype(nullptr)) { return FALSE; }
// For a bitmap: copies up to `size` bytes of its BITMAP (sizes from 24 up are accepted; the
// 24 bytes before bmBits hold every dimension); returns the bytes copied, or the size of
// BITMAP when `buffer` is null. 0 for anything else.
int GetObjectA(HANDLE object, int size, LPVOID buffer);
// Copies entries [start, start+count) of the colour table of the DIB selected into `dc`
// (1, 4 or 8 bits per pixel only); returns how many were copied.
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours);
// Copies a w x h block from (sx, sy) of `source` to (x, y) of `dest`, clipped to both.
// The source is any DIB or 16/32-bit target; the destination a 16-bit (RGB565, channels
// truncated) or 32-bit target. Only SRCCOPY, BLACKNESS and WHITENESS.
BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop);
