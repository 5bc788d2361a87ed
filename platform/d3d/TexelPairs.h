// A texture's texels rearranged so that one 64-bit read brings the whole 2x2 square a
// bilinear sample blends. Element (x, y) of the copy, for x in 0..width, holds texel
// (x mod width, y) in its low and (x mod width, (y + 1) mod height) in its high 16 bits, so
// the two elements at (x, y) and (x + 1, y) are the square whose top-left texel is (x, y),
// with the wrap at the right and bottom edges already applied. A clamped bilinear pair never
// starts on the last column or row, so the same copy serves clamped axes.
//
// The owner of a texture keeps its copy and says when the texels may have changed, by a
// generation number that changes with them; the copy is rebuilt only then.
#pragma once

#include "platform/d3d/RasterTargets.h"

#include <cstdint>
#include <vector>

namespace platform {

class TexelPairs {
 public:
  // The copy of `image` for content `generation`: kept when it was built for the same
  // generation and image, rebuilt otherwise. Null for an image that is not usable, or whose
  // copy would pass 2 GB.
  const std::uint32_t* update(const TextureImage& image, std::uint64_t generation);

  // Elements per row of the copy of an image `width` texels wide.
  static int pitchFor(int width) { return width + 1; }

 private:
  std::vector<std::uint32_t> elements_;
  const std::uint16_t* bits_ = nullptr;
  int pitch_ = 0, width_ = 0, height_ = 0;
  std::uint64_t generation_ = 0;
  bool built_ = false;
};

}  // namespace platform
