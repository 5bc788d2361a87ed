// Memory DCs and the object calls: CreateCompatibleDC, SelectObject, DeleteDC, DeleteObject.
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/WinGdi.h"

using platform::liveDC;

HDC CreateCompatibleDC(HDC) {
  HDC dc = platform::createDC();
  dc->memory = true;
  dc->bitmap = platform::defaultBitmap();
  return dc;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  HDC__* state = liveDC(dc);
  HGDIOBJ__* target = platform::liveGdiObject(object);
  if (state == nullptr || target == nullptr) return nullptr;
  switch (target->kind) {
    case GdiKind::Brush: {
      HGDIOBJ previous = state->brush;
      state->brush = object;
      return previous;
    }
    case GdiKind::Pen: {
      HGDIOBJ previous = state->pen;
      state->pen = object;
      return previous;
    }
    case GdiKind::Font: {
      HGDIOBJ previous = state->font;
      state->font = object;
      return previous;
    }
    case GdiKind::Bitmap: {
      GdiBitmap* bitmap = platform::liveBitmap(object);
      if (!state->memory || bitmap == nullptr) return nullptr;
      if (bitmap == state->bitmap) return object;
      const bool shared = bitmap == platform::defaultBitmap();
      if (!shared && bitmap->selectedInto != nullptr) return nullptr;  // held by another DC
      GdiBitmap* previous = state->bitmap;
      if (previous != nullptr && previous != platform::defaultBitmap()) previous->selectedInto = nullptr;
      state->bitmap = bitmap;
      if (!shared) bitmap->selectedInto = dc;
      return previous;
    }
  }
  return nullptr;
}

BOOL DeleteDC(HDC dc) { return platform::destroyDC(dc) ? TRUE : FALSE; }

BOOL DeleteObject(HGDIOBJ object) {
  if (platform::isStockObject(object)) return TRUE;
  HGDIOBJ__* target = platform::liveGdiObject(object);
  if (target == nullptr) return FALSE;
  if (target->kind == GdiKind::Bitmap && static_cast<GdiBitmap*>(target)->selectedInto != nullptr) return FALSE;
  platform::unregisterGdiObject(object);
  delete target;
  return TRUE;
}
