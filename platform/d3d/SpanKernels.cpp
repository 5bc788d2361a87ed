#include "platform/d3d/SpanKernels.h"

#include "platform/d3d/SpanWalker.h"
#include "platform/d3d/TexelPairs.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__x86_64__)
#include <immintrin.h>
#define QEL_SPAN_KERNELS 1
#endif

namespace platform {

namespace {

enum class TexMode { kNone, kPoint, kBilinear, kBilinearWrap };  // wrap: on both axes
enum class ColorMode { kModulate, kTexture, kDiffuse };  // texture * diffuse, texture, diffuse
enum class DepthMode { kNone, kTest, kTestWrite };

struct KernelKey {
  TexMode tex;
  ColorMode color;
  DepthMode depth;
  bool fog;
  bool additive;
};

// Plain kernels draw; owned ones shade the free pixels that pass and take them; taking ones
// draw and take the pixels they write.
enum class Variant { kPlain, kOwned, kTaking };
template <Variant V>
using KernelPointer = std::conditional_t<V == Variant::kPlain, SpanKernel,
                                         std::conditional_t<V == Variant::kOwned, OwnedSpanKernel, TakingSpanKernel>>;
template <Variant V>
KernelPointer<V> pickKernel(const KernelKey& key);

bool isPow2(int v) { return v > 0 && (v & (v - 1)) == 0; }

// The colour stage as one of the kernels' modes; false when it is something else.
bool colorModeOf(const PixelConfig& c, ColorMode* out) {
  auto single = [](CombineArg a, ColorMode* m) {
    if (a == CombineArg::kDiffuse) *m = ColorMode::kDiffuse;
    else if (a == CombineArg::kTexture) *m = ColorMode::kTexture;
    else return false;
    return true;
  };
  switch (c.colorOp) {
    case CombineOp::kSelectArg1: return single(c.colorArg1, out);
    case CombineOp::kSelectArg2: return single(c.colorArg2, out);
    case CombineOp::kModulate:
      if ((c.colorArg1 == CombineArg::kTexture && c.colorArg2 == CombineArg::kDiffuse) ||
          (c.colorArg1 == CombineArg::kDiffuse && c.colorArg2 == CombineArg::kTexture)) {
        *out = ColorMode::kModulate;
        return true;
      }
      return false;
    default: return false;
  }
}

}  // namespace

bool spanKernelsAvailable() {
#if QEL_SPAN_KERNELS
  static const bool available = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return available;
#else
  return false;
#endif
}

namespace {

DepthMode depthModeOf(const PixelConfig& c) {
  return !c.depthTest ? DepthMode::kNone : (c.depthWrite ? DepthMode::kTestWrite : DepthMode::kTest);
}

// The kernel key for `c`, or false when no kernel serves it.
bool keyOf(const PixelConfig& c, bool bilinear, KernelKey* out) {
  if (!spanKernelsAvailable()) return false;
  if (c.colorKey || c.needsSpecular) return false;
  if (c.fog != FogKind::kNone && c.fog != FogKind::kLinear) return false;
  if (c.blend && !(c.srcFactor == BlendFactor::kOne && c.destFactor == BlendFactor::kOne)) return false;
  KernelKey key{};
  if (!colorModeOf(c, &key.color)) return false;
  if (c.texture) {
    const TextureImage& t = *c.texture;
    if (!t.usable() || static_cast<std::int64_t>(t.pitch) * t.height >= (std::int64_t{1} << 30)) return false;
    if ((!c.clampU && !isPow2(t.width)) || (!c.clampV && !isPow2(t.height))) return false;
    // Clamped bilinear pairs need two texels on the clamped axis.
    if (bilinear && ((c.clampU && t.width < 2) || (c.clampV && t.height < 2))) return false;
    key.tex = !bilinear ? TexMode::kPoint : (!c.clampU && !c.clampV ? TexMode::kBilinearWrap : TexMode::kBilinear);
    if (key.color == ColorMode::kDiffuse) key.tex = TexMode::kNone;
  } else {
    if (key.color != ColorMode::kDiffuse) return false;
    key.tex = TexMode::kNone;
  }
  key.depth = depthModeOf(c);
  key.fog = c.fog == FogKind::kLinear;
  key.additive = c.blend;
  *out = key;
  return true;
}

}  // namespace

SpanKernel chooseSpanKernel(const PixelConfig& c, bool bilinear) {
  KernelKey key;
  return keyOf(c, bilinear, &key) ? pickKernel<Variant::kPlain>(key) : nullptr;
}

OwnedSpanKernel chooseOwnedSpanKernel(const PixelConfig& c, bool bilinear) {
  KernelKey key;
  if (!keyOf(c, bilinear, &key) || key.additive || key.depth == DepthMode::kTestWrite) return nullptr;
  return pickKernel<Variant::kOwned>(key);
}

TakingSpanKernel chooseTakingSpanKernel(const PixelConfig& c, bool bilinear) {
  KernelKey key;
  if (!keyOf(c, bilinear, &key) || key.additive || key.depth != DepthMode::kTestWrite) return nullptr;
  return pickKernel<Variant::kTaking>(key);
}

}  // namespace platform

#if QEL_SPAN_KERNELS
// Everything below is compiled for AVX2 and FMA and only reached after the check above. It
// uses no library templates, so no AVX2 copy of a shared inline function can leak into the
// rest of the program.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,fma"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,fma")
#endif

namespace platform {

namespace {

// One attribute plane evaluated along a row: value = rowStart + ddx * (x - x0).
struct RowPlane {
  __m256 ddx;
  float v0 = 0, ddy = 0;
  RowPlane() : ddx(_mm256_setzero_ps()) {}
  // The plane times `scale`, less `bias` times the plane `w` (a perspective-weighted
  // constant: after the divide by w it subtracts `bias` from the value).
  RowPlane(const AttributePlane& p, float scale, const AttributePlane& w = {}, float bias = 0.0f)
      : ddx(_mm256_set1_ps(p.ddx * scale - w.ddx * bias)), v0(p.v0 * scale - w.v0 * bias), ddy(p.ddy * scale - w.ddy * bias) {}
  [[gnu::always_inline]] __m256 start(float fy) const { return _mm256_set1_ps(v0 + ddy * fy); }
};

// Eight 16-bit pixels from a row; `n` < 8 reads only the first n (the rest are zero).
[[gnu::always_inline]] inline __m128i loadPixels(const std::uint16_t* p, int n) {
  if (n == 8) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  alignas(16) std::uint16_t b[8] = {};
  std::memcpy(b, p, static_cast<std::size_t>(n) * 2);
  return _mm_load_si128(reinterpret_cast<const __m128i*>(b));
}
[[gnu::always_inline]] inline void storePixels(std::uint16_t* p, int n, __m128i v) {
  if (n == 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    return;
  }
  alignas(16) std::uint16_t b[8];
  _mm_store_si128(reinterpret_cast<__m128i*>(b), v);
  std::memcpy(p, b, static_cast<std::size_t>(n) * 2);
}

// Eight bits as eight 16-bit lane masks (bit k sets lane k).
[[gnu::always_inline]] inline __m128i expandBits(std::uint32_t bits) {
  const __m128i lane = _mm_setr_epi16(1, 2, 4, 8, 16, 32, 64, 128);
  return _mm_cmpeq_epi16(_mm_and_si128(_mm_set1_epi16(static_cast<short>(bits)), lane), lane);
}

// Eight 32-bit lanes narrowed to eight 16-bit lanes, saturating to 0..0xFFFF.
[[gnu::always_inline]] inline __m128i narrow(__m256i v) {
  const __m256i p = _mm256_packus_epi32(v, v);
  return _mm256_castsi256_si128(_mm256_permute4x64_epi64(p, 0x08));
}

// Texel addressing on eight lanes, for one axis of `size` texels that wraps or clamps.
struct Axis {
  __m256i lo, hi, mask;
  __m256i pairLast, fixedLast;  // clamped bilinear: last pair start (size - 2) and (size - 1) * 128
  bool clamp = false;
  void init(int size, bool clampAxis) {
    clamp = clampAxis;
    lo = _mm256_set1_epi32(clamp ? 0 : -0x7FFFFFFF);
    hi = _mm256_set1_epi32(clamp ? size - 1 : 0x7FFFFFFF);
    mask = _mm256_set1_epi32(clamp ? -1 : size - 1);
    pairLast = _mm256_set1_epi32(size - 2);
    fixedLast = _mm256_set1_epi32((size - 1) * 128);
  }
  // Texel index i clamped or wrapped onto the axis.
  [[gnu::always_inline]] __m256i address(__m256i i) const {
    return _mm256_and_si256(_mm256_min_epi32(_mm256_max_epi32(i, lo), hi), mask);
  }
  // floor() of a texel position. Clamped axes first bound it to +-2^24 (NaN to the lower
  // bound); on wrapped axes an out-of-range or NaN position converts to INT_MIN, which the
  // power-of-two wrap takes to texel 0, as the bound would.
  template <bool Wrap = false>
  [[gnu::always_inline]] __m256i floorOf(__m256 s) const {
    if (!Wrap && clamp)
      s = _mm256_min_ps(_mm256_max_ps(s, _mm256_set1_ps(-16777216.0f)), _mm256_set1_ps(16777216.0f));
    return _mm256_cvttps_epi32(_mm256_floor_ps(s));
  }
  // The bilinear pair of a position `f` in 1/128 texel: texels *i0 and *i1 and the weight
  // (0..128) of *i1. A clamped axis (of two or more texels) keeps i1 = i0 + 1 inside the
  // texture: past either edge the whole weight moves onto the edge texel.
  template <bool Wrap = false>
  [[gnu::always_inline]] void pair(__m256i f, __m256i* i0, __m256i* i1, __m256i* w) const {
    if (Wrap || !clamp) {
      const __m256i i = _mm256_srai_epi32(f, 7);
      *w = _mm256_and_si256(f, _mm256_set1_epi32(127));
      *i0 = _mm256_and_si256(i, mask);
      *i1 = _mm256_and_si256(_mm256_add_epi32(i, _mm256_set1_epi32(1)), mask);
    } else {
      f = _mm256_min_epi32(_mm256_max_epi32(f, _mm256_setzero_si256()), fixedLast);
      const __m256i i = _mm256_min_epi32(_mm256_srai_epi32(f, 7), pairLast);
      *w = _mm256_sub_epi32(f, _mm256_slli_epi32(i, 7));
      *i0 = i;
      *i1 = _mm256_add_epi32(i, _mm256_set1_epi32(1));
    }
  }
};

struct TextureAccess {
  const std::uint8_t* base = nullptr;
  const std::uint8_t* pairs = nullptr;  // the TexelPairs copy, when the texture has one
  __m256i pitchV, pairPitchV;           // row pitches in bytes
  Axis u, v;
};

// For each lane, texels (x0, row) in the low and (x1, row) in the high 16 bits. Where
// x1 = x0 + 1 one 32-bit gather fetches both (it stays inside the row); other lanes (a wrap
// or clamp at the texture's edge) are fetched one texel at a time.
// `mayPart`: false when the caller knows every pair is adjacent.
[[gnu::always_inline]] inline void gatherPairs(const TextureAccess& t, __m256i x0, __m256i x1, __m256i rowA,
                                               __m256i rowB, bool twoRows, __m256i* pairA, __m256i* pairB,
                                               bool mayPart = true) {
  const int* base = reinterpret_cast<const int*>(t.base);
  if (!mayPart) {
    const __m256i byteX = _mm256_add_epi32(x0, x0);
    *pairA = _mm256_i32gather_epi32(base, _mm256_add_epi32(rowA, byteX), 1);
    if (twoRows) *pairB = _mm256_i32gather_epi32(base, _mm256_add_epi32(rowB, byteX), 1);
    return;
  }
  const __m256i adjacent = _mm256_cmpeq_epi32(x1, _mm256_add_epi32(x0, _mm256_set1_epi32(1)));
  const __m256i byteX = _mm256_add_epi32(x0, x0);
  const __m256i zero = _mm256_setzero_si256();
  *pairA = _mm256_mask_i32gather_epi32(zero, base, _mm256_add_epi32(rowA, byteX), adjacent, 1);
  if (twoRows) *pairB = _mm256_mask_i32gather_epi32(zero, base, _mm256_add_epi32(rowB, byteX), adjacent, 1);
  int edge = ~_mm256_movemask_ps(_mm256_castsi256_ps(adjacent)) & 0xFF;
  if (edge == 0) return;
  alignas(32) std::int32_t ax0[8], ax1[8], ra[8], rb[8], pa[8], pb[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(ax0), x0);
  _mm256_store_si256(reinterpret_cast<__m256i*>(ax1), x1);
  _mm256_store_si256(reinterpret_cast<__m256i*>(ra), rowA);
  _mm256_store_si256(reinterpret_cast<__m256i*>(rb), rowB);
  _mm256_store_si256(reinterpret_cast<__m256i*>(pa), *pairA);
  _mm256_store_si256(reinterpret_cast<__m256i*>(pb), twoRows ? *pairB : zero);
  while (edge) {
    const int k = __builtin_ctz(static_cast<unsigned>(edge));
    edge &= edge - 1;
    const auto* a = reinterpret_cast<const std::uint16_t*>(t.base + ra[k]);
    pa[k] = static_cast<std::int32_t>(a[ax0[k]] | (static_cast<std::uint32_t>(a[ax1[k]]) << 16));
    if (twoRows) {
      const auto* b = reinterpret_cast<const std::uint16_t*>(t.base + rb[k]);
      pb[k] = static_cast<std::int32_t>(b[ax0[k]] | (static_cast<std::uint32_t>(b[ax1[k]]) << 16));
    }
  }
  *pairA = _mm256_load_si256(reinterpret_cast<const __m256i*>(pa));
  if (twoRows) *pairB = _mm256_load_si256(reinterpret_cast<const __m256i*>(pb));
}

// The 2x2 squares at byte offsets `at` of a TexelPairs copy, split into the pixels' left
// column pairs (x0, y0) | (x0, y1) << 16 and right column pairs (x1, y0) | (x1, y1) << 16.
// Eight 64-bit loads from general registers cost less than gathers.
[[gnu::always_inline]] inline void loadSquares(const std::uint8_t* pairs, __m256i at, __m256i* left, __m256i* right) {
  auto two = [pairs](std::uint64_t offsets) {  // the squares at the low and high 32 bits
    const __m128 first = _mm_castsi128_ps(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + static_cast<std::uint32_t>(offsets))));
    return _mm_loadh_pi(first, reinterpret_cast<const __m64*>(pairs + (offsets >> 32)));
  };
  const __m128i lo = _mm256_castsi256_si128(at), hi = _mm256_extracti128_si256(at, 1);
  // Pixels 0-1 | 4-5 and 2-3 | 6-7; each square is its left pair, then its right pair.
  const __m256 a = _mm256_insertf128_ps(_mm256_castps128_ps256(two(static_cast<std::uint64_t>(_mm_cvtsi128_si64(lo)))),
                                        two(static_cast<std::uint64_t>(_mm_cvtsi128_si64(hi))), 1);
  const __m256 b = _mm256_insertf128_ps(_mm256_castps128_ps256(two(static_cast<std::uint64_t>(_mm_extract_epi64(lo, 1)))),
                                        two(static_cast<std::uint64_t>(_mm_extract_epi64(hi, 1))), 1);
  *left = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)));
  *right = _mm256_castps_si256(_mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
}

// Texels fetched for eight pixels, before filtering: for the bilinear filter two texel pairs
// (the top and bottom rows when gathered, the left and right columns from texel squares) and
// their weights in the same order; for point sampling the texel in `first`'s low half.
struct Fetched {
  __m256i first, second, wFirst, wSecond;
};

// Texture positions arrive in texels (point) or 1/128 texel less half a texel (bilinear).
[[gnu::always_inline]] inline void fetchPoint(const TextureAccess& t, __m256 su, __m256 sv, Fetched* out) {
  const __m256i x = t.u.address(t.u.floorOf(su));
  const __m256i y = t.v.address(t.v.floorOf(sv));
  // The neighbour only tells gatherPairs whether the 32-bit read stays inside the row.
  const __m256i x1 = t.u.address(_mm256_add_epi32(x, _mm256_set1_epi32(1)));
  const __m256i row = _mm256_mullo_epi32(y, t.pitchV);
  __m256i unused = _mm256_setzero_si256();
  gatherPairs(t, x, x1, row, row, false, &out->first, &unused);
}

// The weights of `out`'s two texel pairs: within a pair, `low` and `high` (the weights along
// the pair) side by side in 16-bit halves, each times the pair's own weight, `first` or
// `second` (each product at most 128 * 128).
[[gnu::always_inline]] inline void pairWeights(__m256i low, __m256i high, __m256i first, __m256i second,
                                               Fetched* out) {
  const __m256i along = _mm256_or_si256(low, _mm256_slli_epi32(high, 16));
  out->wFirst = _mm256_mullo_epi16(along, _mm256_or_si256(first, _mm256_slli_epi32(first, 16)));
  out->wSecond = _mm256_mullo_epi16(along, _mm256_or_si256(second, _mm256_slli_epi32(second, 16)));
}

// Bilinear filter with 7 fraction bits per axis: the four neighbours' centres surround the
// sample. The weights of a row pair sit in one 32-bit lane (left low, right high), so one
// multiply-add per channel and row blends two texels; channel * weight sums stay below 2^20.
template <bool Wrap>
[[gnu::always_inline]] inline void fetchBilinear(const TextureAccess& t, __m256 su, __m256 sv, Fetched* out) {
  const __m256i k128 = _mm256_set1_epi32(128);
  __m256i x0, x1, au, y0, y1, av;
  t.u.pair<Wrap>(t.u.floorOf<Wrap>(su), &x0, &x1, &au);
  t.v.pair<Wrap>(t.v.floorOf<Wrap>(sv), &y0, &y1, &av);
  const __m256i bu = _mm256_sub_epi32(k128, au), bv = _mm256_sub_epi32(k128, av);
  if (t.pairs) {  // the square at (x0, y0) holds x1 and y1 too, wrapped or clamped
    const __m256i at = _mm256_add_epi32(_mm256_mullo_epi32(y0, t.pairPitchV), _mm256_slli_epi32(x0, 2));
    loadSquares(t.pairs, at, &out->first, &out->second);  // column pairs: y0 and y1
    pairWeights(bv, av, bu, au, out);
  } else {
    gatherPairs(t, x0, x1, _mm256_mullo_epi32(y0, t.pitchV), _mm256_mullo_epi32(y1, t.pitchV), true, &out->first,
                &out->second, Wrap || !t.u.clamp);  // row pairs: x0 and x1
    pairWeights(bu, au, bv, av, out);
  }
}

// Texel channels as integers: bilinear sums of 5/6-bit channels times weights summing to
// 2^14, or point-sampled channels of 5/6 bits.
struct TexelSums {
  __m256i r, g, b;
};

[[gnu::always_inline]] inline TexelSums filterBilinear(const Fetched& f) {
  const __m256i m5 = _mm256_set1_epi16(31), m6 = _mm256_set1_epi16(63);
  return {_mm256_add_epi32(_mm256_madd_epi16(_mm256_srli_epi16(f.first, 11), f.wFirst),
                           _mm256_madd_epi16(_mm256_srli_epi16(f.second, 11), f.wSecond)),
          _mm256_add_epi32(_mm256_madd_epi16(_mm256_and_si256(_mm256_srli_epi16(f.first, 5), m6), f.wFirst),
                           _mm256_madd_epi16(_mm256_and_si256(_mm256_srli_epi16(f.second, 5), m6), f.wSecond)),
          _mm256_add_epi32(_mm256_madd_epi16(_mm256_and_si256(f.first, m5), f.wFirst),
                           _mm256_madd_epi16(_mm256_and_si256(f.second, m5), f.wSecond))};
}

// A 5-bit channel widened to 8 bits by bit replication.
[[gnu::always_inline]] inline __m256i widen5(__m256i c) { return _mm256_or_si256(_mm256_slli_epi32(c, 3), _mm256_srli_epi32(c, 2)); }

// One 565 texel per lane (the low 16 bits of `p`), channels expanded to 8 bits.
[[gnu::always_inline]] inline TexelSums expand565(__m256i p) {
  const __m256i r5 = _mm256_and_si256(_mm256_srli_epi32(p, 11), _mm256_set1_epi32(31));
  const __m256i g6 = _mm256_and_si256(_mm256_srli_epi32(p, 5), _mm256_set1_epi32(63));
  const __m256i b5 = _mm256_and_si256(p, _mm256_set1_epi32(31));
  return {widen5(r5), _mm256_or_si256(_mm256_slli_epi32(g6, 2), _mm256_srli_epi32(g6, 4)), widen5(b5)};
}

// Eight pixels from channels in 565 units (red and blue 0..32, green 0..64, truncated);
// negative, NaN and out-of-range values saturate.
[[gnu::always_inline]] inline __m128i pack565(__m256 r, __m256 g, __m256 b) {
  const __m256i ri = _mm256_cvttps_epi32(r), gi = _mm256_cvttps_epi32(g), bi = _mm256_cvttps_epi32(b);
  // Per 128-bit half: four red, four green (16-bit, saturated at 0), then blue twice.
  __m256i rg = _mm256_packus_epi32(ri, gi);
  rg = _mm256_min_epu16(rg, _mm256_setr_epi16(31, 31, 31, 31, 63, 63, 63, 63, 31, 31, 31, 31, 63, 63, 63, 63));
  rg = _mm256_mullo_epi16(rg, _mm256_setr_epi16(2048, 2048, 2048, 2048, 32, 32, 32, 32, 2048, 2048, 2048, 2048, 32, 32, 32, 32));
  const __m256i bb = _mm256_min_epu16(_mm256_packus_epi32(bi, bi), _mm256_set1_epi16(31));
  // Quadwords [r0-3|b, g0-3|b, r4-7|b, g4-7|b] -> [r0-3, r4-7] | [g0-3, g4-7].
  const __m256i t = _mm256_permute4x64_epi64(_mm256_or_si256(rg, bb), 0xD8);
  return _mm_or_si128(_mm256_castsi256_si128(t), _mm256_extracti128_si256(t, 1));
}

// ONE/ONE: per-channel saturating add of 565 pixels.
[[gnu::always_inline]] inline __m128i addSaturate565(__m128i d, __m128i s) {
  const __m128i mr = _mm_set1_epi16(static_cast<short>(0xF800)), mg = _mm_set1_epi16(0x07E0), mb = _mm_set1_epi16(0x001F);
  const __m128i r = _mm_and_si128(_mm_adds_epu16(_mm_and_si128(d, mr), _mm_and_si128(s, mr)), mr);
  const __m128i g = _mm_min_epu16(_mm_add_epi16(_mm_and_si128(d, mg), _mm_and_si128(s, mg)), mg);
  const __m128i b = _mm_min_epu16(_mm_add_epi16(_mm_and_si128(d, mb), _mm_and_si128(s, mb)), mb);
  return _mm_or_si128(_mm_or_si128(r, g), b);
}

// The depth test on eight pixels: z quantised as round(clamp(z, 0, 1) * 0xFFFF) (min(NaN, 1)
// is 1) and compared with the stored 16-bit values under the depth function.
struct DepthTest {
  __m128i passLt, passEq, passGt;  // whether less, equal and greater pass, as lane masks
  bool lessEqual;
  explicit DepthTest(DWORD f) : lessEqual(f == D3DCMP_LESSEQUAL) {
    const __m128i all = _mm_set1_epi32(-1), none = _mm_setzero_si128();
    passLt = f == D3DCMP_LESS || f == D3DCMP_LESSEQUAL || f == D3DCMP_NOTEQUAL || f == D3DCMP_ALWAYS ? all : none;
    passEq = f == D3DCMP_EQUAL || f == D3DCMP_LESSEQUAL || f == D3DCMP_GREATEREQUAL || f == D3DCMP_ALWAYS ? all : none;
    passGt = f == D3DCMP_GREATER || f == D3DCMP_NOTEQUAL || f == D3DCMP_GREATEREQUAL || f == D3DCMP_ALWAYS ? all : none;
  }
  // Below zero needs no clamp: the product truncates to zero or less (INT_MIN when out of
  // range), which the narrowing saturates to 0.
  [[gnu::always_inline]] static __m128i quantise(__m256 z) {
    const __m256 zc = _mm256_min_ps(z, _mm256_set1_ps(1.0f));
    return narrow(_mm256_cvttps_epi32(_mm256_fmadd_ps(zc, _mm256_set1_ps(65535.0f), _mm256_set1_ps(0.5f))));
  }
  // Lanes where the quantised depth `zi` passes against `stored`.
  [[gnu::always_inline]] __m128i pass(__m128i zi, __m128i stored) const {
    const __m128i le = _mm_cmpeq_epi16(_mm_min_epu16(zi, stored), zi);
    if (lessEqual) return le;
    return _mm_blendv_epi8(passGt, _mm_blendv_epi8(passLt, passEq, _mm_cmpeq_epi16(zi, stored)), le);
  }
};

// Channel scales into 565 units (red and blue /8, green /4). Bilinear sums carry a further
// 31 * 2^14 (63 * 2^14) per unit channel, point samples 255; modulation divides by 255.
struct ChannelScale {
  float r, g, b;
};
template <TexMode Tex, ColorMode Color>
constexpr ChannelScale texelScale() {
  constexpr float k = Color == ColorMode::kModulate ? 1.0f / 255.0f : 1.0f;
  if constexpr (Tex == TexMode::kPoint) return {k / 8.0f, k / 4.0f, k / 8.0f};
  else return {k * 255.0f / (31.0f * 16384.0f * 8.0f), k * 255.0f / (63.0f * 16384.0f * 4.0f),
               k * 255.0f / (31.0f * 16384.0f * 8.0f)};
}

// How a kernel uses the taken mask: not at all, shading only free pixels and taking them
// (owned), or taking every pixel it writes.
enum class Taken { kIgnore, kShadeFree, kTakeWritten };

template <TexMode Tex, ColorMode Color, DepthMode Depth, bool Fog, bool Additive, Taken Take = Taken::kIgnore>
void spanKernel(const PixelConfig& cfg, const TriangleSetup& t, const ColorTarget& color,
                [[maybe_unused]] const DepthTarget& depth, [[maybe_unused]] const PixelMask* taken) {
  constexpr bool kDepthTest = Depth != DepthMode::kNone;
  constexpr bool kUsesTexture = Tex != TexMode::kNone;
  constexpr bool kDiffuse = Color != ColorMode::kTexture;
  const __m256 lane = _mm256_setr_ps(0, 1, 2, 3, 4, 5, 6, 7);
  const __m128i lane16 = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256 one = _mm256_set1_ps(1.0f), zero = _mm256_setzero_ps(), eight = _mm256_set1_ps(8.0f);

  // The colour planes already carry the texel and 565 scales; a texture-only colour takes
  // them as constants. Texture positions come out in texels, or for the bilinear filter in
  // 1/128 texel less half a texel, so the four neighbours' centres surround the sample.
  constexpr ChannelScale kTexel = kUsesTexture ? texelScale<Tex, Color>() : ChannelScale{1.0f / 8, 1.0f / 4, 1.0f / 8};
  const RowPlane pz(t.z, 1.0f), pw(t.pw, 1.0f), prhw(t.rhw, 1.0f);
  RowPlane pr, pg, pb, pu, pv;
  if constexpr (kDiffuse) {
    pr = RowPlane(t.q[kAttrR], kTexel.r);
    pg = RowPlane(t.q[kAttrG], kTexel.g);
    pb = RowPlane(t.q[kAttrB], kTexel.b);
  }
  const __m256 texelR = _mm256_set1_ps(kTexel.r), texelG = _mm256_set1_ps(kTexel.g),
               texelB = _mm256_set1_ps(kTexel.b);

  const DepthTest depthTest(cfg.depthFunc);

  TextureAccess tex;
  if constexpr (kUsesTexture) {
    const TextureImage& img = *cfg.texture;
    tex.base = reinterpret_cast<const std::uint8_t*>(img.bits);
    tex.pitchV = _mm256_set1_epi32(img.pitch);
    tex.pairPitchV = _mm256_setzero_si256();
    if (Tex != TexMode::kPoint && img.pairs) {  // point samples are gathered from the texture itself
      tex.pairs = reinterpret_cast<const std::uint8_t*>(img.pairs);
      tex.pairPitchV = _mm256_set1_epi32(TexelPairs::pitchFor(img.width) * 4);
    }
    tex.u.init(img.width, cfg.clampU);
    tex.v.init(img.height, cfg.clampV);
    const float sub = Tex == TexMode::kPoint ? 1.0f : 128.0f, bias = Tex == TexMode::kPoint ? 0.0f : 64.0f;
    pu = RowPlane(t.q[kAttrU], static_cast<float>(img.width) * sub, t.pw, bias);
    pv = RowPlane(t.q[kAttrV], static_cast<float>(img.height) * sub, t.pw, bias);
  }

  // Fog: f = (end - d) / (end - start) as one multiply-add, or a step at `end` when the
  // range is empty; the colour moves toward the fog colour (in 565 units) as f falls.
  const bool fogStep = cfg.fogEnd == cfg.fogStart;
  const float fogScale = fogStep ? 0.0f : 1.0f / (cfg.fogEnd - cfg.fogStart);
  const __m256 fogEnd = _mm256_set1_ps(cfg.fogEnd), fogSlope = _mm256_set1_ps(-fogScale),
               fogOffset = _mm256_set1_ps(cfg.fogEnd * fogScale);
  const __m256 fogR = _mm256_set1_ps(cfg.fogColor[0] / 8.0f), fogG = _mm256_set1_ps(cfg.fogColor[1] / 4.0f),
               fogB = _mm256_set1_ps(cfg.fogColor[2] / 8.0f);
  // Fog depth is 1/rhw; when rhw is the perspective weight, the per-pixel divide serves both.
  const bool fogW = cfg.fogUsesW;
  const bool fogBlack = cfg.fogColor[0] == 0.0f && cfg.fogColor[1] == 0.0f && cfg.fogColor[2] == 0.0f;
  const __m128i fogPixels = pack565(fogR, fogG, fogB);  // what shading gives a block wholly in fog
  const __m256i zeroI = _mm256_setzero_si256();
  const bool rhwIsWeight = t.rhw.v0 == t.pw.v0 && t.rhw.ddx == t.pw.ddx && t.rhw.ddy == t.pw.ddy;

  // Blocks wait in `pending` between their texel fetch and their shading, so the fetches of
  // several blocks are in flight together instead of each block waiting for its own.
  struct Pending {
    Fetched texels;
    __m256 r, g, b;  // diffuse colour, scaled
    __m256 fog;      // fog factor
    __m128i live;    // 16-bit lane mask
    std::uint16_t* color;
    int io;
  };
  constexpr int kBatch = 4;
  Pending pending[kBatch];
  int count = 0;
  auto shade = [&]() __attribute__((always_inline)) {
    for (int k = 0; k < count; ++k) {
      const Pending& p = pending[k];
      __m256 outR = p.r, outG = p.g, outB = p.b;
      if constexpr (kUsesTexture) {
        const TexelSums s = Tex == TexMode::kPoint ? expand565(p.texels.first) : filterBilinear(p.texels);
        const __m256 sr = _mm256_cvtepi32_ps(s.r), sg = _mm256_cvtepi32_ps(s.g), sb = _mm256_cvtepi32_ps(s.b);
        if constexpr (kDiffuse) {
          outR = _mm256_mul_ps(sr, outR), outG = _mm256_mul_ps(sg, outG), outB = _mm256_mul_ps(sb, outB);
        } else {
          outR = _mm256_mul_ps(sr, texelR), outG = _mm256_mul_ps(sg, texelG), outB = _mm256_mul_ps(sb, texelB);
        }
      }
      if constexpr (Fog) {
        outR = _mm256_fmadd_ps(p.fog, _mm256_sub_ps(outR, fogR), fogR);
        outG = _mm256_fmadd_ps(p.fog, _mm256_sub_ps(outG, fogG), fogG);
        outB = _mm256_fmadd_ps(p.fog, _mm256_sub_ps(outB, fogB), fogB);
      }
      const __m128i src = pack565(outR, outG, outB);
      const __m128i old = loadPixels(p.color, p.io);
      const __m128i result = Additive ? addSaturate565(old, src) : src;
      storePixels(p.color, p.io, _mm_blendv_epi8(old, result, p.live));
    }
    count = 0;
  };

  const int rowEnd = color.width;  // full 8-pixel loads and stores stay inside the row
  for (SpanWalker walk(t); walk.row() <= t.rowLast; walk.next()) {
    int first, last;
    if (!walk.span(&first, &last)) continue;
    const int y = walk.row();
    const float fy = static_cast<float>(y) - t.y0;
    std::uint16_t* colorRow = color.row(y);
    std::uint16_t* depthRow = kDepthTest ? depth.row(y) : nullptr;
    [[maybe_unused]] std::uint8_t* takenRow = Take != Taken::kIgnore ? taken->row(y) : nullptr;
    const __m256 z0 = pz.start(fy), w0 = pw.start(fy), r0 = pr.start(fy), g0 = pg.start(fy), b0 = pb.start(fy);
    const __m256 u0 = pu.start(fy), v0 = pv.start(fy), h0 = prhw.start(fy);
    // Pixel offsets from the planes' reference point; exact in float, so stepping is exact.
    __m256 fx = _mm256_add_ps(_mm256_set1_ps(static_cast<float>(first) - t.x0), lane);
    for (int x = first; x <= last; x += 8, fx = _mm256_add_ps(fx, eight)) {
      if constexpr (Take == Taken::kShadeFree) {
        // The block starts at the next free pixel, so runs that later draws took cost nothing.
        std::uint32_t word;
        std::memcpy(&word, takenRow + (x >> 3), 4);
        const int skip = __builtin_ctz(~(word >> (x & 7)) | 0x80000000u);
        if (skip > 0) {
          x += skip;
          if (x > last) break;
          fx = _mm256_add_ps(fx, _mm256_set1_ps(static_cast<float>(skip)));
        }
      }
      const int n = last - x + 1 < 8 ? last - x + 1 : 8;
      const int io = x + 8 <= rowEnd ? 8 : n;  // pixels loaded and stored
      __m128i live = _mm_cmpgt_epi16(_mm_set1_epi16(static_cast<short>(n)), lane16);
      const __m256 z = _mm256_fmadd_ps(pz.ddx, fx, z0);
      if constexpr (kDepthTest) {
        const __m128i zi = DepthTest::quantise(z);
        const __m128i stored = loadPixels(depthRow + x, io);
        live = _mm_and_si128(live, depthTest.pass(zi, stored));
        if (_mm_testz_si128(live, live)) continue;
        if constexpr (Depth == DepthMode::kTestWrite) storePixels(depthRow + x, io, _mm_blendv_epi8(stored, zi, live));
      }
      if constexpr (Take != Taken::kIgnore) {
        // The block's eight bits sit at bit x & 7 of the 32 bits from byte x >> 3.
        std::uint8_t* at = takenRow + (x >> 3);
        const int shift = x & 7;
        std::uint32_t word;
        std::memcpy(&word, at, 4);
        if constexpr (Take == Taken::kShadeFree) {
          live = _mm_andnot_si128(expandBits((word >> shift) & 0xFF), live);
          if (_mm_testz_si128(live, live)) continue;
        }
        word |= static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(live, _mm_setzero_si128()))) << shift;
        std::memcpy(at, &word, 4);
      }
      Pending& p = pending[count];
      p.live = live;
      p.color = colorRow + x;
      p.io = io;
      const __m256 inv = _mm256_div_ps(one, _mm256_fmadd_ps(pw.ddx, fx, w0));
      if constexpr (Fog) {
        __m256 d;
        if (!fogW) d = z;
        else if (rhwIsWeight) d = inv;
        else d = _mm256_div_ps(one, _mm256_fmadd_ps(prhw.ddx, fx, h0));
        __m256 f;
        if (!fogStep) f = _mm256_fmadd_ps(d, fogSlope, fogOffset);
        else f = _mm256_and_ps(_mm256_cmp_ps(d, fogEnd, _CMP_LT_OQ), one);
        p.fog = _mm256_min_ps(_mm256_max_ps(f, zero), one);  // NaN becomes 0: full fog
        // Wholly in fog the block is the fog colour whatever the texels: no fetch (and
        // nothing at all to add when the fog is black).
        if (_mm256_movemask_ps(_mm256_cmp_ps(p.fog, zero, _CMP_GT_OQ)) == 0) {
          if (Additive && fogBlack) continue;
          if constexpr (!Additive) {  // stored at once: pending blocks cover other pixels
            const __m128i old = loadPixels(colorRow + x, io);
            storePixels(colorRow + x, io, _mm_blendv_epi8(old, fogPixels, live));
            continue;
          }
          p.r = p.g = p.b = zero;
          if constexpr (kUsesTexture) p.texels = Fetched{zeroI, zeroI, zeroI, zeroI};
          if (++count == kBatch) shade();
          continue;
        }
      }
      if constexpr (kDiffuse) {
        p.r = _mm256_mul_ps(_mm256_fmadd_ps(pr.ddx, fx, r0), inv);
        p.g = _mm256_mul_ps(_mm256_fmadd_ps(pg.ddx, fx, g0), inv);
        p.b = _mm256_mul_ps(_mm256_fmadd_ps(pb.ddx, fx, b0), inv);
      } else {
        p.r = p.g = p.b = zero;
      }
      if constexpr (kUsesTexture) {
        const __m256 su = _mm256_mul_ps(_mm256_fmadd_ps(pu.ddx, fx, u0), inv);
        const __m256 sv = _mm256_mul_ps(_mm256_fmadd_ps(pv.ddx, fx, v0), inv);
        if constexpr (Tex == TexMode::kBilinearWrap) fetchBilinear<true>(tex, su, sv, &p.texels);
        else if constexpr (Tex == TexMode::kBilinear) fetchBilinear<false>(tex, su, sv, &p.texels);
        else fetchPoint(tex, su, sv, &p.texels);
      }
      if (++count == kBatch) shade();
    }
  }
  shade();
}

template <TexMode Tex, ColorMode Color, DepthMode Depth, bool Fog, bool Additive>
void plainKernel(const PixelConfig& cfg, const TriangleSetup& t, const ColorTarget& color, const DepthTarget& depth) {
  spanKernel<Tex, Color, Depth, Fog, Additive>(cfg, t, color, depth, nullptr);
}
template <TexMode Tex, ColorMode Color, DepthMode Depth, bool Fog>
void ownedKernel(const PixelConfig& cfg, const TriangleSetup& t, const ColorTarget& color, const DepthTarget& depth,
                 const PixelMask& taken) {
  spanKernel<Tex, Color, Depth, Fog, false, Taken::kShadeFree>(cfg, t, color, depth, &taken);
}
template <TexMode Tex, ColorMode Color, bool Fog>
void takingKernel(const PixelConfig& cfg, const TriangleSetup& t, const ColorTarget& color, const DepthTarget& depth,
                  const PixelMask& taken) {
  spanKernel<Tex, Color, DepthMode::kTestWrite, Fog, false, Taken::kTakeWritten>(cfg, t, color, depth, &taken);
}

template <Variant V, TexMode Tex, ColorMode Color, DepthMode Depth, bool Fog>
KernelPointer<V> withBlend(bool additive) {
  if constexpr (V == Variant::kOwned) return ownedKernel<Tex, Color, Depth, Fog>;
  else if constexpr (V == Variant::kTaking) return takingKernel<Tex, Color, Fog>;
  else return additive ? plainKernel<Tex, Color, Depth, Fog, true> : plainKernel<Tex, Color, Depth, Fog, false>;
}
template <Variant V, TexMode Tex, ColorMode Color, DepthMode Depth>
KernelPointer<V> withFog(const KernelKey& k) {
  return k.fog ? withBlend<V, Tex, Color, Depth, true>(k.additive) : withBlend<V, Tex, Color, Depth, false>(k.additive);
}
template <Variant V, TexMode Tex, ColorMode Color>
KernelPointer<V> withDepth(const KernelKey& k) {
  if constexpr (V == Variant::kTaking) {
    return withFog<V, Tex, Color, DepthMode::kTestWrite>(k);  // the only mode taking kernels serve
  } else if constexpr (V == Variant::kOwned) {
    return k.depth == DepthMode::kTest ? withFog<V, Tex, Color, DepthMode::kTest>(k)
                                       : withFog<V, Tex, Color, DepthMode::kNone>(k);  // never writes depth
  } else {
    switch (k.depth) {
      case DepthMode::kNone: return withFog<V, Tex, Color, DepthMode::kNone>(k);
      case DepthMode::kTest: return withFog<V, Tex, Color, DepthMode::kTest>(k);
      default: return withFog<V, Tex, Color, DepthMode::kTestWrite>(k);
    }
  }
}
template <Variant V, TexMode Tex>
KernelPointer<V> withColor(const KernelKey& k) {
  return k.color == ColorMode::kModulate ? withDepth<V, Tex, ColorMode::kModulate>(k)
                                         : withDepth<V, Tex, ColorMode::kTexture>(k);
}

template <Variant V>
KernelPointer<V> pickKernel(const KernelKey& k) {
  if (k.tex == TexMode::kNone) return withDepth<V, TexMode::kNone, ColorMode::kDiffuse>(k);
  switch (k.tex) {
    case TexMode::kBilinearWrap: return withColor<V, TexMode::kBilinearWrap>(k);
    case TexMode::kBilinear: return withColor<V, TexMode::kBilinear>(k);
    default: return withColor<V, TexMode::kPoint>(k);
  }
}

}  // namespace

}  // namespace platform

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

namespace platform {
namespace {
template <Variant V>
KernelPointer<V> pickKernel(const KernelKey&) { return nullptr; }
}  // namespace
}  // namespace platform

#endif
