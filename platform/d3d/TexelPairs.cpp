#include "platform/d3d/TexelPairs.h"

#include <cstddef>

namespace platform {

const std::uint32_t* TexelPairs::update(const TextureImage& image, std::uint64_t generation) {
  if (!image.usable()) return nullptr;
  if (built_ && generation == generation_ && image.bits == bits_ && image.pitch == pitch_ &&
      image.width == width_ && image.height == height_)
    return elements_.data();
  const int w = image.width, h = image.height, stride = pitchFor(w);
  // Readers address the copy with 32-bit byte offsets (textures that large are gathered).
  if (static_cast<std::uint64_t>(stride) * 4u * static_cast<std::uint64_t>(h) > 0x7FFFFFFFu) return nullptr;
  elements_.resize(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h));
  auto row = [&](int y) {
    return reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(image.bits) +
                                                  static_cast<std::ptrdiff_t>(y) * image.pitch);
  };
  for (int y = 0; y < h; ++y) {
    const std::uint16_t* top = row(y);
    const std::uint16_t* below = row(y + 1 < h ? y + 1 : 0);
    std::uint32_t* out = elements_.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < w; ++x) out[x] = top[x] | static_cast<std::uint32_t>(below[x]) << 16;
    out[w] = out[0];
  }
  bits_ = image.bits, pitch_ = image.pitch, width_ = w, height_ = h;
  generation_ = generation;
  built_ = true;
  return elements_.data();
}

}  // namespace platform
