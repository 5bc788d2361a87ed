// The bilinear copy of a texture: each element pairs a texel with the one below it, a spare
// column repeats the first, the last row pairs with the first; rebuilt only when the
// texture's generation or memory changes.
#include "platform/d3d/TexelPairs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::uint16_t texelValue(int x, int y) { return static_cast<std::uint16_t>(0x100 * (y + 1) + x); }

}  // namespace

TEST(TexelPairs, PairEachTexelWithTheOneBelowAndWrapAtTheEdges) {
  constexpr int kW = 3, kH = 2, kPitchTexels = 5;  // rows padded with junk
  std::vector<std::uint16_t> texels(kPitchTexels * kH, 0xDEAD);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) texels[y * kPitchTexels + x] = texelValue(x, y);
  const platform::TextureImage image{texels.data(), kPitchTexels * 2, kW, kH, false, 0};
  platform::TexelPairs pairs;
  const std::uint32_t* copy = pairs.update(image, 1);
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(platform::TexelPairs::pitchFor(kW), kW + 1);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x <= kW; ++x) {
      const std::uint32_t expected = texelValue(x % kW, y) | std::uint32_t(texelValue(x % kW, (y + 1) % kH)) << 16;
      EXPECT_EQ(copy[y * (kW + 1) + x], expected) << x << "," << y;
    }
}

TEST(TexelPairs, RebuildOnlyForANewGenerationOrAnotherImage) {
  std::vector<std::uint16_t> texels = {1, 2, 3, 4};
  const platform::TextureImage image{texels.data(), 4, 2, 2, false, 0};
  platform::TexelPairs pairs;
  ASSERT_EQ(pairs.update(image, 7)[0], 1u | 3u << 16);
  texels[0] = 9;  // written without a new generation: the copy is kept
  EXPECT_EQ(pairs.update(image, 7)[0], 1u | 3u << 16);
  EXPECT_EQ(pairs.update(image, 8)[0], 9u | 3u << 16);
  std::vector<std::uint16_t> other = {5, 6, 7, 8};
  const platform::TextureImage moved{other.data(), 4, 2, 2, false, 0};
  EXPECT_EQ(pairs.update(moved, 8)[0], 5u | 7u << 16);
  EXPECT_EQ(pairs.update(platform::TextureImage{}, 9), nullptr);
  // A copy past 32-bit offsets is refused before any texel is read (they are gathered).
  const platform::TextureImage huge{other.data(), 80000, 40000, 20000, false, 0};
  EXPECT_EQ(pairs.update(huge, 10), nullptr);
}
