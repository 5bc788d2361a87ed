// Reading DIB pixels as colours, a run of one row at a time.
//
// Colours are 0x00RRGGBB. Indexed pixels go through the colour table (black past its
// used entries); 16/32-bit pixels through the masks, channels widened as BmpBitfields.h
// says; 24-bit pixels are blue, green, red bytes. The per-depth loop is chosen once per run.
#pragma once

#include <cstdint>

#include "platform/bitmap/DibSection.h"

namespace platform {

// Colours of pixels [x, x + count) of row `y` (counted from the top); the run must lie
// inside the DIB.
void readDibRow(const DibSection& dib, int y, int x, int count, std::uint32_t* colours);
// The colour of one pixel; 0 outside the DIB.
std::uint32_t dibPixel(const DibSection& dib, int x, int y);

}  // namespace platform
