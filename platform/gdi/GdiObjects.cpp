#include "platform/gdi/GdiObjects.h"

#include <unordered_set>

#include "platform/gdi/WinGdi.h"

namespace platform {
namespace {

std::unordered_set<const void*>& liveObjects() {
  static std::unordered_set<const void*> objects;
  return objects;
}

std::unordered_set<const void*>& liveDCs() {
  static std::unordered_set<const void*> dcs;
  return dcs;
}

GdiBitmap makeDefaultBitmap() {
  GdiBitmap bitmap;
  bitmap.dib.width = 1;
  bitmap.dib.height = 1;
  bitmap.dib.bitsPerPixel = 1;
  bitmap.dib.stride = 4;
  bitmap.dib.colourCount = 2;
  bitmap.dib.colours[1] = DibColour{255, 255, 255, 0};
  bitmap.dib.bits.assign(4, 0);
  return bitmap;
}

}  // namespace

GdiBitmap* defaultBitmap() {
  static GdiBitmap bitmap = makeDefaultBitmap();
  return &bitmap;
}

HGDIOBJ registerGdiObject(HGDIOBJ__* object) {
  if (object != nullptr) liveObjects().insert(object);
  return object;
}

bool unregisterGdiObject(HGDIOBJ object) { return liveObjects().erase(object) == 1; }

HGDIOBJ__* liveGdiObject(HGDIOBJ handle) {
  if (handle == nullptr) return nullptr;
  if (isStockObject(handle) || liveObjects().count(handle) == 1) return handle;
  return nullptr;
}

GdiBitmap* liveBitmap(HGDIOBJ handle) {
  if (handle == HGDIOBJ(defaultBitmap())) return defaultBitmap();
  HGDIOBJ__* object = liveObjects().count(handle) == 1 ? handle : nullptr;
  return object != nullptr && object->kind == GdiKind::Bitmap ? static_cast<GdiBitmap*>(object) : nullptr;
}

HBITMAP createDibBitmap(DibSection&& dib) {
  GdiBitmap* bitmap = new GdiBitmap;
  bitmap->dib = std::move(dib);
  return registerGdiObject(bitmap);
}

HDC createDC() {
  HDC dc = new HDC__;
  dc->brush = GetStockObject(WHITE_BRUSH);
  dc->pen = GetStockObject(BLACK_PEN);
  dc->font = GetStockObject(SYSTEM_FONT);
  liveDCs().insert(dc);
  return dc;
}

HDC__* liveDC(HDC handle) { return handle != nullptr && liveDCs().count(handle) == 1 ? handle : nullptr; }

bool destroyDC(HDC handle) {
  if (liveDCs().erase(handle) != 1) return false;
  if (handle->bitmap != nullptr) handle->bitmap->selectedInto = nullptr;
  delete handle;
  return true;
}

}  // namespace platform
