#include "platform/bitmap/LoadImage.h"

#include "platform/bitmap/BmpDecoder.h"
#include "platform/gdi/GdiObjects.h"

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int, int, UINT flags) {
  if (type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE) == 0 || name == nullptr) return nullptr;
  platform::DibSection dib;
  if (!platform::loadBmpFile(name, dib)) return nullptr;
  return platform::createDibBitmap(std::move(dib));
}
