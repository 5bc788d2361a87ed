// GetObjectA and GetDIBColorTable: what GDI tells about a bitmap.
#include <cstddef>
#include <cstring>

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/WinGdi.h"

int GetObjectA(HANDLE object, int size, LPVOID buffer) {
  const GdiBitmap* bitmap = platform::liveBitmap(static_cast<HGDIOBJ>(object));
  if (bitmap == nullptr) return 0;
  if (buffer == nullptr) return int(sizeof(BITMAP));
  // The engine passes 24, the size of BITMAP on 32-bit Windows: every field but bmBits.
  if (size < int(offsetof(BITMAP, bmBits))) return 0;
  const platform::DibSection& dib = bitmap->dib;
  BITMAP info{};
  info.bmType = 0;
  info.bmWidth = dib.width;
  info.bmHeight = dib.height;
  info.bmWidthBytes = dib.stride;
  info.bmPlanes = 1;
  info.bmBitsPixel = WORD(dib.bitsPerPixel);
  info.bmBits = const_cast<std::uint8_t*>(dib.bits.data());
  const int copied = size < int(sizeof info) ? size : int(sizeof info);
  std::memcpy(buffer, &info, std::size_t(copied));
  return copied;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours) {
  const HDC__* state = platform::liveDC(dc);
  if (state == nullptr || !state->memory || state->bitmap == nullptr || colours == nullptr) return 0;
  const platform::DibSection& dib = state->bitmap->dib;
  if (dib.bitsPerPixel > 8 || state->bitmap == platform::defaultBitmap()) return 0;
  const UINT available = UINT(dib.colourCount);
  if (start >= available) return 0;
  const UINT copied = count < available - start ? count : available - start;
  for (UINT i = 0; i < copied; ++i) {
    const platform::DibColour& c = dib.colours[start + i];
    colours[i] = RGBQUAD{c.blue, c.green, c.red, 0};
  }
  return copied;
}
