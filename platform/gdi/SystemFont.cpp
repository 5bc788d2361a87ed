#include "platform/gdi/SystemFont.h"

#include "platform/gdi/SystemFontGlyphs.h"

namespace platform {

const std::uint8_t* systemFontGlyph(std::uint8_t ch) {
  // Control bytes take the glyph of 0x81, which code page 1252 leaves unassigned.
  const int index = ch < kSystemFontFirstChar ? 0x81 : ch;
  return kSystemFontGlyphs[index - kSystemFontFirstChar];
}

}  // namespace platform
