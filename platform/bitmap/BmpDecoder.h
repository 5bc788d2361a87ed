// Decoding a whole BMP file into a DibSection, the way GDI's LoadImageA reads it.
//
// Accepts what BmpHeaders.h accepts; then refuses a file whose uncompressed pixels do not
// all lie inside it, or whose RLE stream is truncated. Colour indices beyond the colour
// table read as black. Cost: one pass over the pixels; the only allocation is the DIB.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap/DibSection.h"

namespace platform {

// Decodes the `size` bytes at `file` into `dib`; false (and `dib` emptied) when refused.
bool decodeBmp(const std::uint8_t* file, std::size_t size, DibSection& dib);
// Reads the file at `name` (through openFile) and decodes it; false when missing or refused.
bool loadBmpFile(const char* name, DibSection& dib);

}  // namespace platform
