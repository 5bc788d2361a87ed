// Channel masks of 16- and 32-bit DIBs: checking them and widening a channel to 8 bits.
#pragma once

#include <cstdint>

namespace platform {

// One channel of a packed pixel: value = (pixel >> shift) & ((1 << bits) - 1).
struct ChannelMask {
  int shift = 0;
  int bits = 0;  // 0: the channel is absent and reads as 0
};

// The default masks when a DIB has no BI_BITFIELDS: 5-5-5 for 16 bits, 8-8-8 for 32 bits.
void defaultMasks(int bitsPerPixel, std::uint32_t masks[3]);
// True when `mask` is one run of contiguous bits (or 0) within `bitsPerPixel` bits.
bool isUsableMask(std::uint32_t mask, int bitsPerPixel);
// Shift and width of a usable mask.
ChannelMask describeMask(std::uint32_t mask);
// The channel of `pixel` widened to 8 bits: fewer bits are repeated from the top down,
// more bits keep their top 8.
std::uint8_t channelTo8(std::uint32_t pixel, ChannelMask channel);

}  // namespace platform
