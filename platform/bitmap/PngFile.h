// PNG files through libpng: writing captures and test images, reading reference images.
//
// Pixels are 8-bit RGBA, top row first, 4 bytes per pixel, rows `width * 4` bytes apart.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/SurfaceDC.h"

namespace platform {

// An 8-bit RGBA image, top row first.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes: R, G, B, A
};

// Writes RGBA pixels (rows `stride` bytes apart) as a PNG; false on failure.
bool writePngRgba(const char* path, const std::uint8_t* rgba, int width, int height, int stride);
// Writes a 16-bit RGB565 or 32-bit X8R8G8B8 target as an opaque RGB PNG (565 channels are
// widened by repeating their top bits); false on failure or an unsupported target.
bool writePngTarget(const char* path, const PixelTarget& target);
// Reads any PNG as 8-bit RGBA, samples as stored (no gamma or colour-space conversion);
// false (and `image` emptied) on failure.
bool readPngRgba(const char* path, RgbaImage& image);

}  // namespace platform
