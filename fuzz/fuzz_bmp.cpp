// Arbitrary bytes into the BMP decoder, then every decoded pixel read and the bitmap
// copied through BitBlt into a small 16-bit target, as the texture loader would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/bitmap/BmpDecoder.h"
#include "platform/bitmap/DibPixels.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SurfaceDC.h"
#include "platform/gdi/WinGdi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::DibSection dib;
  if (!platform::decodeBmp(data, size, dib)) return 0;
  std::vector<std::uint32_t> row(std::size_t(dib.width));
  std::uint32_t sink = 0;
  for (int y = 0; y < dib.height; ++y) {
    platform::readDibRow(dib, y, 0, dib.width, row.data());
    sink ^= row[std::size_t(y) % row.size()];
  }
  const int width = dib.width, height = dib.height;
  HBITMAP bitmap = platform::createDibBitmap(std::move(dib));
  HDC memory = CreateCompatibleDC(nullptr);
  SelectObject(memory, bitmap);
  RGBQUAD table[256];
  GetDIBColorTable(memory, 0, 256, table);
  std::uint16_t pixels[32 * 32];
  HDC target = platform::createTargetDC(platform::PixelTarget{pixels, 32, 32, 64, 16});
  BitBlt(target, int(sink % 7) - 3, 0, width, height, memory, 0, 0, SRCCOPY);
  platform::releaseTargetDC(target);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return 0;
}
