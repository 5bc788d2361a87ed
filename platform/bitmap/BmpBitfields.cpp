#include "platform/bitmap/BmpBitfields.h"

namespace platform {

void defaultMasks(int bitsPerPixel, std::uint32_t masks[3]) {
  if (bitsPerPixel == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }
}

bool isUsableMask(std::uint32_t mask, int bitsPerPixel) {
  if (mask == 0) return true;
  if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0) return false;
  const std::uint32_t low = mask & (~mask + 1);  // lowest set bit
  const std::uint32_t run = mask + low;          // contiguous: carries out of the run
  return (run & mask) == 0;
}

ChannelMask describeMask(std::uint32_t mask) {
  ChannelMask channel;
  if (mask == 0) return channel;
  while (((mask >> channel.shift) & 1u) == 0) ++channel.shift;
  while (channel.shift + channel.bits < 32 && ((mask >> (channel.shift + channel.bits)) & 1u)) ++channel.bits;
  return channel;
}

std::uint8_t channelTo8(std::uint32_t pixel, ChannelMask channel) {
  if (channel.bits == 0) return 0;
  const std::uint32_t value = (pixel >> channel.shift) & (channel.bits >= 32 ? 0xFFFFFFFFu : ((1u << channel.bits) - 1));
  if (channel.bits >= 8) return std::uint8_t(value >> (channel.bits - 8));
  // Repeat the bits downwards so that all ones gives 255 and all zeros 0.
  std::uint32_t wide = 0;
  int filled = 0;
  while (filled < 8) {
    wide = (wide << channel.bits) | value;
    filled += channel.bits;
  }
  return std::uint8_t(wide >> (filled - 8));
}

}  // namespace platform
