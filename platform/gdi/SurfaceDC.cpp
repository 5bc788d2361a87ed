// DCs over pixel memory owned by someone else (window images, DirectDraw surfaces).
#include "platform/gdi/SurfaceDC.h"

#include "platform/gdi/GdiObjects.h"

namespace platform {

HDC createTargetDC(const PixelTarget& target) {
  if (target.bits == nullptr || target.width <= 0 || target.height <= 0) return nullptr;
  if (target.bitsPerPixel != 16 && target.bitsPerPixel != 32) return nullptr;
  if (target.pitch < target.width * (target.bitsPerPixel / 8)) return nullptr;
  HDC dc = createDC();
  dc->target = target;
  return dc;
}

void releaseTargetDC(HDC dc) { destroyDC(dc); }

}  // namespace platform
