// Expanding BI_RLE8 and BI_RLE4 pixel data into an uncompressed 8- or 4-bit DIB.
//
// The DIB must be sized and zeroed: pixels the stream skips (delta, early end of line or
// of bitmap) keep colour index 0. Pixels that would land right of a row or above the top
// row are dropped. A stream that ends before its end-of-bitmap code is refused.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/bitmap/DibSection.h"

namespace platform {

// Decodes `size` bytes of RLE data into `dib` (bottom-up, 8 or 4 bits per pixel).
// `fourBit` selects BI_RLE4. False when the stream is truncated.
bool expandRle(const std::uint8_t* data, std::size_t size, bool fourBit, DibSection& dib);

}  // namespace platform
