// The objects behind GDI handles, and the table that tells live handles from stale ones.
//
// Every HGDIOBJ points at an HGDIOBJ__ of some kind; stock objects are static and never
// freed, the others are created with new and freed by DeleteObject. Every HDC points at an
// HDC__. A handle is used only after the table has confirmed that it is live and of the
// expected kind, so a stale or foreign handle fails cleanly.
#pragma once

#include "platform/bitmap/DibSection.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/win32/WinTypes.h"

enum class GdiKind { Brush, Pen, Font, Bitmap };

struct HGDIOBJ__ {
  explicit HGDIOBJ__(GdiKind k) : kind(k) {}
  virtual ~HGDIOBJ__() = default;
  GdiKind kind;
};

struct GdiBrush : HGDIOBJ__ {
  GdiBrush(bool isNull, COLORREF c) : HGDIOBJ__(GdiKind::Brush), null(isNull), colour(c) {}
  bool null;
  COLORREF colour;
};

struct GdiPen : HGDIOBJ__ {
  GdiPen(bool isNull, COLORREF c) : HGDIOBJ__(GdiKind::Pen), null(isNull), colour(c) {}
  bool null;
  COLORREF colour;
};

struct GdiFont : HGDIOBJ__ {  // every font draws with the embedded system font
  GdiFont() : HGDIOBJ__(GdiKind::Font) {}
};

struct GdiBitmap : HGDIOBJ__ {
  GdiBitmap() : HGDIOBJ__(GdiKind::Bitmap) {}
  platform::DibSection dib;
  HDC selectedInto = nullptr;  // the memory DC holding it, if any
};

// A device context: drawing state plus where its pixels are.
struct HDC__ {
  platform::PixelTarget target;  // for target DCs; empty for memory DCs
  bool memory = false;           // made by CreateCompatibleDC
  GdiBitmap* bitmap = nullptr;   // memory DCs: the selected bitmap
  HGDIOBJ brush = nullptr;
  HGDIOBJ pen = nullptr;
  HGDIOBJ font = nullptr;
  COLORREF textColour = 0x000000;
  COLORREF backColour = 0xFFFFFF;
  int backMode = 2;  // OPAQUE
};

namespace platform {

// Records a heap object as live; returns it.
HGDIOBJ registerGdiObject(HGDIOBJ__* object);
// Forgets a live object (the caller deletes it); false when it was not live.
bool unregisterGdiObject(HGDIOBJ object);
// The object behind a live or stock handle, or null.
HGDIOBJ__* liveGdiObject(HGDIOBJ handle);
// The bitmap behind a live handle, or null.
GdiBitmap* liveBitmap(HGDIOBJ handle);
// True for a stock object.
bool isStockObject(HGDIOBJ handle);

// A new DC with a fresh DC's state (System font, black pen, white brush, black text on an
// opaque white background), recorded as live.
HDC createDC();
// The DC behind a live handle, or null.
HDC__* liveDC(HDC handle);
// Frees a live DC, releasing its bitmap; false when it was not live.
bool destroyDC(HDC handle);
// A live bitmap object holding `dib` (free it with DeleteObject).
HBITMAP createDibBitmap(DibSection&& dib);
// The 1x1 monochrome bitmap a new memory DC holds.
GdiBitmap* defaultBitmap();

}  // namespace platform
