#include "platform/d3d/SpanPipeline.h"

#include "platform/d3d/SpanWalker.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

using Chunk = SpanPipeline::Chunk;
constexpr int kChunk = SpanPipeline::kChunk;


// Branch-free clamps (minss/maxss); a NaN value yields the lower bound.
inline float atMost(float v, float hi) { return v < hi ? v : hi; }
inline float atLeast(float v, float lo) { return v > lo ? v : lo; }
inline float clampTo(float v, float lo, float hi) { return atMost(atLeast(v, lo), hi); }

// Interpolation of depth, 1/w and the perspective-weighted attributes.
template <bool Tex, bool WithSpecular>
void interpolate(const SpanPipeline& p, Chunk& c) {
  const TriangleSetup& t = *p.tri;
  const int n = c.n;
  const float* fx = c.fx;  // pixel positions relative to the planes' reference point
  const float* fy = c.fy;
  alignas(32) float inv[kChunk];
  for (int i = 0; i < n; ++i) {
    c.z[i] = t.z.v0 + t.z.ddx * fx[i] + t.z.ddy * fy[i];
    c.rhw[i] = t.rhw.v0 + t.rhw.ddx * fx[i] + t.rhw.ddy * fy[i];
    inv[i] = 1.0f / (t.pw.v0 + t.pw.ddx * fx[i] + t.pw.ddy * fy[i]);
  }
  auto attr = [&](int k, float* dst) {
    const AttributePlane pl = t.q[k];
    for (int i = 0; i < n; ++i) dst[i] = (pl.v0 + pl.ddx * fx[i] + pl.ddy * fy[i]) * inv[i];
  };
  for (int ch = 0; ch < 4; ++ch) attr(kAttrR + ch, c.diffuse[ch]);
  if constexpr (Tex) {
    attr(kAttrU, c.u);
    attr(kAttrV, c.v);
  }
  if constexpr (WithSpecular)
    for (int ch = 0; ch < 4; ++ch) attr(kAttrSR + ch, c.specular[ch]);
}

// Depth quantised for the 16-bit buffer, four pixels at a time; NaN becomes 1.
void quantiseDepth(Chunk& c) {
  const __m128 one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps(), scale = _mm_set1_ps(65535.0f),
               half = _mm_set1_ps(0.5f);
  for (int i = 0; i < c.n; i += 4) {  // the arrays hold kChunk entries, a multiple of 4
    __m128 z = _mm_max_ps(_mm_min_ps(_mm_load_ps(c.z + i), one), zero);  // min(NaN, 1) is 1
    _mm_store_si128(reinterpret_cast<__m128i*>(c.z16 + i), _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(z, scale), half)));
  }
}

template <DWORD Func>
bool depthPasses(int incoming, int stored) {
  if constexpr (Func == D3DCMP_NEVER) return false;
  else if constexpr (Func == D3DCMP_LESS) return incoming < stored;
  else if constexpr (Func == D3DCMP_EQUAL) return incoming == stored;
  else if constexpr (Func == D3DCMP_LESSEQUAL) return incoming <= stored;
  else if constexpr (Func == D3DCMP_GREATER) return incoming > stored;
  else if constexpr (Func == D3DCMP_NOTEQUAL) return incoming != stored;
  else if constexpr (Func == D3DCMP_GREATEREQUAL) return incoming >= stored;
  else return true;
}

template <DWORD Func>
void depthTest(const SpanPipeline&, Chunk& c) {
  quantiseDepth(c);
  for (int i = 0; i < c.n; ++i) c.live[i] = depthPasses<Func>(c.z16[i], *c.depth[i]) ? 1 : 0;
}

void noDepthTest(const SpanPipeline&, Chunk& c) {
  for (int i = 0; i < c.n; ++i) c.live[i] = 1;
}

void depthWrite(const SpanPipeline&, Chunk& c) {
  for (int i = 0; i < c.n; ++i)
    if (c.live[i]) *c.depth[i] = static_cast<std::uint16_t>(c.z16[i]);
}

// Texel addressing. Coordinates are clamped to a range where float-to-int is defined; the
// floor avoids a library call (SSE2 has no rounding instruction).
inline int safeFloor(float f) {
  f = clampTo(f, -16777216.0f, 16777216.0f);  // NaN becomes the lower bound
  int i = static_cast<int>(f);
  return i - (f < static_cast<float>(i) ? 1 : 0);
}
template <bool Clamp, bool Pow2>
inline int address(int i, int size) {
  if constexpr (Clamp) return i < 0 ? 0 : (i >= size ? size - 1 : i);
  else if constexpr (Pow2) return i & (size - 1);
  else {
    int m = i % size;
    return m < 0 ? m + size : m;
  }
}
inline std::uint16_t texelAt(const TextureImage& t, int x, int y) {
  return reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(t.bits) +
                                                static_cast<std::intptr_t>(y) * t.pitch)[x];
}

template <bool ClampU, bool ClampV, bool Pow2, bool Key>
void samplePoint(const SpanPipeline& p, Chunk& c) {
  const TextureImage& t = *p.config.texture;
  const float W = static_cast<float>(t.width), H = static_cast<float>(t.height);
  for (int i = 0; i < c.n; ++i) {
    int x = address<ClampU, Pow2>(safeFloor(c.u[i] * W), t.width);
    int y = address<ClampV, Pow2>(safeFloor(c.v[i] * H), t.height);
    std::uint16_t s = texelAt(t, x, y);
    if constexpr (Key)
      if (s == t.colorKey) c.live[i] = 0;
    c.texel[0][i] = static_cast<float>(red565(s));
    c.texel[1][i] = static_cast<float>(green565(s));
    c.texel[2][i] = static_cast<float>(blue565(s));
  }
}

// A 565 texel spread over a 64-bit word, one channel per 21-bit field (blue at 0, green at
// 21, red at 42). Bilinear weights have 7 fraction bits per axis, so the four products sum
// to at most 63 * 128 * 128 < 2^20 per field: no carries between channels, and the blend
// costs four multiplications.
inline std::uint64_t spread565(std::uint16_t p) {
  return (p & 0x1Fu) | (static_cast<std::uint64_t>((p >> 5) & 0x3Fu) << 21) |
         (static_cast<std::uint64_t>(p >> 11) << 42);
}

// Bilinear sample of pixel i (the scalar path, and the tail of the SSE2 path).
template <bool ClampU, bool ClampV, bool Pow2, bool Key>
inline void bilinearOne(const TextureImage& t, float W, float H, Chunk& c, int i) {
  constexpr float kToByte5 = 255.0f / (31.0f * 16384.0f), kToByte6 = 255.0f / (63.0f * 16384.0f);
  const int fu = safeFloor(c.u[i] * W) - 64, fv = safeFloor(c.v[i] * H) - 64;
  const int iu = fu >> 7, iv = fv >> 7;
  const std::uint64_t au = static_cast<std::uint64_t>(fu & 127), av = static_cast<std::uint64_t>(fv & 127);
  const int x0 = address<ClampU, Pow2>(iu, t.width), x1 = address<ClampU, Pow2>(iu + 1, t.width);
  const int y0 = address<ClampV, Pow2>(iv, t.height), y1 = address<ClampV, Pow2>(iv + 1, t.height);
  if constexpr (Key) {
    // The key is tested on the texel the pixel falls in (the point-sampled one).
    const int kx = address<ClampU, Pow2>((fu + 64) >> 7, t.width);
    const int ky = address<ClampV, Pow2>((fv + 64) >> 7, t.height);
    if (texelAt(t, kx, ky) == t.colorKey) {
      c.live[i] = 0;
      return;
    }
  }
  const std::uint64_t w00 = (128 - au) * (128 - av), w10 = au * (128 - av), w01 = (128 - au) * av, w11 = au * av;
  const std::uint64_t sum = spread565(texelAt(t, x0, y0)) * w00 + spread565(texelAt(t, x1, y0)) * w10 +
                            spread565(texelAt(t, x0, y1)) * w01 + spread565(texelAt(t, x1, y1)) * w11;
  c.texel[0][i] = static_cast<float>((sum >> 42) & 0x1FFFFF) * kToByte5;
  c.texel[1][i] = static_cast<float>((sum >> 21) & 0x1FFFFF) * kToByte6;
  c.texel[2][i] = static_cast<float>(sum & 0x1FFFFF) * kToByte5;
}

// Four texel indices (wrap on a power-of-two size, or clamp) in SSE2.
template <bool Clamp>
inline __m128i addressFour(__m128i i, int size) {
  if constexpr (Clamp) {
    i = _mm_andnot_si128(_mm_cmplt_epi32(i, _mm_setzero_si128()), i);
    const __m128i hi = _mm_set1_epi32(size - 1);
    const __m128i over = _mm_cmpgt_epi32(i, hi);
    return _mm_or_si128(_mm_and_si128(over, hi), _mm_andnot_si128(over, i));
  } else {
    return _mm_and_si128(i, _mm_set1_epi32(size - 1));
  }
}

// floor() of four floats already clamped to the int range.
inline __m128i floorFour(__m128 f) {
  const __m128i i = _mm_cvttps_epi32(f);
  return _mm_add_epi32(i, _mm_castps_si128(_mm_cmplt_ps(f, _mm_cvtepi32_ps(i))));  // -1 where truncation rounded up
}

template <bool ClampU, bool ClampV, bool Pow2, bool Key>
void sampleBilinear(const SpanPipeline& p, Chunk& c) {
  const TextureImage& t = *p.config.texture;
  // Texel addresses in 1/128 texel; texel i's centre lies at u = (i + 0.5) / size.
  const float W = static_cast<float>(t.width) * 128.0f, H = static_cast<float>(t.height) * 128.0f;
  int i = 0;
  if constexpr (!Key && (ClampU || Pow2) && (ClampV || Pow2)) {
    // Four pixels at a time: addresses and weights in SSE2, texel loads scalar, the blend
    // with 16-bit multiply-adds (channel * weight stays below 2^20).
    const __m128 lo = _mm_set1_ps(-16777216.0f), hi = _mm_set1_ps(16777216.0f);
    const __m128i k64 = _mm_set1_epi32(64), k127 = _mm_set1_epi32(127), k128 = _mm_set1_epi32(128);
    const __m128i k31 = _mm_set1_epi32(31), k63 = _mm_set1_epi32(63);
    const __m128 scale5 = _mm_set1_ps(255.0f / (31.0f * 16384.0f)), scale6 = _mm_set1_ps(255.0f / (63.0f * 16384.0f));
    const auto* base = reinterpret_cast<const std::uint8_t*>(t.bits);
    alignas(16) std::int32_t x0[4], x1[4], y0[4], y1[4];
    for (; i + 4 <= c.n; i += 4) {
      const __m128 su = _mm_min_ps(_mm_max_ps(_mm_mul_ps(_mm_loadu_ps(c.u + i), _mm_set1_ps(W)), lo), hi);
      const __m128 sv = _mm_min_ps(_mm_max_ps(_mm_mul_ps(_mm_loadu_ps(c.v + i), _mm_set1_ps(H)), lo), hi);
      const __m128i fu = _mm_sub_epi32(floorFour(su), k64), fv = _mm_sub_epi32(floorFour(sv), k64);
      const __m128i iu = _mm_srai_epi32(fu, 7), iv = _mm_srai_epi32(fv, 7);
      const __m128i au = _mm_and_si128(fu, k127), av = _mm_and_si128(fv, k127);
      const __m128i bu = _mm_sub_epi32(k128, au), bv = _mm_sub_epi32(k128, av);
      _mm_store_si128(reinterpret_cast<__m128i*>(x0), addressFour<ClampU>(iu, t.width));
      _mm_store_si128(reinterpret_cast<__m128i*>(x1), addressFour<ClampU>(_mm_add_epi32(iu, _mm_set1_epi32(1)), t.width));
      _mm_store_si128(reinterpret_cast<__m128i*>(y0), addressFour<ClampV>(iv, t.height));
      _mm_store_si128(reinterpret_cast<__m128i*>(y1), addressFour<ClampV>(_mm_add_epi32(iv, _mm_set1_epi32(1)), t.height));
      std::int32_t s00[4], s10[4], s01[4], s11[4];
      for (int k = 0; k < 4; ++k) {
        const auto* r0 = reinterpret_cast<const std::uint16_t*>(base + static_cast<std::intptr_t>(y0[k]) * t.pitch);
        const auto* r1 = reinterpret_cast<const std::uint16_t*>(base + static_cast<std::intptr_t>(y1[k]) * t.pitch);
        s00[k] = r0[x0[k]], s10[k] = r0[x1[k]], s01[k] = r1[x0[k]], s11[k] = r1[x1[k]];
      }
      // Weights fit 16 bits (at most 128 * 128), so the 16-bit multiply gives the product.
      const __m128i w00 = _mm_mullo_epi16(bu, bv), w10 = _mm_mullo_epi16(au, bv);
      const __m128i w01 = _mm_mullo_epi16(bu, av), w11 = _mm_mullo_epi16(au, av);
      const __m128i t00 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s00));
      const __m128i t10 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s10));
      const __m128i t01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s01));
      const __m128i t11 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s11));
      auto blend = [&](int shift, __m128i mask) {
        auto ch = [&](__m128i texel) { return _mm_and_si128(_mm_srli_epi32(texel, shift), mask); };
        return _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(ch(t00), w00), _mm_madd_epi16(ch(t10), w10)),
                             _mm_add_epi32(_mm_madd_epi16(ch(t01), w01), _mm_madd_epi16(ch(t11), w11)));
      };
      _mm_storeu_ps(c.texel[0] + i, _mm_mul_ps(_mm_cvtepi32_ps(blend(11, k31)), scale5));
      _mm_storeu_ps(c.texel[1] + i, _mm_mul_ps(_mm_cvtepi32_ps(blend(5, k63)), scale6));
      _mm_storeu_ps(c.texel[2] + i, _mm_mul_ps(_mm_cvtepi32_ps(blend(0, k31)), scale5));
    }
  }
  for (; i < c.n; ++i)
    if (c.live[i]) bilinearOne<ClampU, ClampV, Pow2, Key>(t, W, H, c, i);
}

template <CombineOp Op>
inline float combine(float a, float b) {
  float r;
  if constexpr (Op == CombineOp::kSelectArg1) r = a;
  else if constexpr (Op == CombineOp::kSelectArg2) r = b;
  else if constexpr (Op == CombineOp::kModulate) r = a * b * (1.0f / 255.0f);
  else if constexpr (Op == CombineOp::kModulate2x) r = a * b * (2.0f / 255.0f);
  else if constexpr (Op == CombineOp::kModulate4x) r = a * b * (4.0f / 255.0f);
  else r = a + b;
  return clampTo(r, 0.0f, 255.0f);  // stage results saturate
}

template <CombineOp Op>
void colorCombine(const SpanPipeline& p, Chunk& c) {
  for (int ch = 0; ch < 3; ++ch) {
    const float* a = p.colorArg[0][ch];
    const float* b = p.colorArg[1][ch];
    float* o = c.out[ch];
    for (int i = 0; i < c.n; ++i) o[i] = combine<Op>(a[i], b[i]);
  }
}

template <CombineOp Op>
void alphaCombine(const SpanPipeline& p, Chunk& c) {
  const float* a = p.alphaArg[0];
  const float* b = p.alphaArg[1];
  for (int i = 0; i < c.n; ++i) c.out[3][i] = combine<Op>(a[i], b[i]);
}

void addSpecular(const SpanPipeline&, Chunk& c) {
  for (int ch = 0; ch < 3; ++ch)
    for (int i = 0; i < c.n; ++i) c.out[ch][i] = atMost(c.out[ch][i] + c.specular[ch][i], 255.0f);
}

template <FogKind Kind, bool UseW>
void fog(const SpanPipeline& p, Chunk& c) {
  const PixelConfig& cfg = p.config;
  alignas(32) float f[kChunk];
  const float range = cfg.fogEnd - cfg.fogStart;
  const float invRange = range != 0.0f ? 1.0f / range : 0.0f;
  for (int i = 0; i < c.n; ++i) {
    float d = UseW ? 1.0f / c.rhw[i] : c.z[i];
    float v;
    if constexpr (Kind == FogKind::kLinear) v = range != 0.0f ? (cfg.fogEnd - d) * invRange : (d < cfg.fogEnd ? 1.0f : 0.0f);
    else if constexpr (Kind == FogKind::kExp) v = std::exp(-cfg.fogDensity * d);
    else if constexpr (Kind == FogKind::kExp2) v = std::exp(-(cfg.fogDensity * d) * (cfg.fogDensity * d));
    else v = c.specular[3][i] * (1.0f / 255.0f);
    f[i] = v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;  // NaN becomes 0: full fog
  }
  for (int ch = 0; ch < 3; ++ch) {
    const float fc = cfg.fogColor[ch];
    for (int i = 0; i < c.n; ++i) c.out[ch][i] = f[i] * c.out[ch][i] + (1.0f - f[i]) * fc;
  }
}

inline int channel(float v) {  // 0..255, truncating
  return static_cast<int>(clampTo(v, 0.0f, 255.0f));
}

// The chunk's colours as 565 pixels (a loop the compiler vectorises).
void packOut(const Chunk& c, std::uint16_t* packed) {
  for (int i = 0; i < c.n; ++i) packed[i] = pack565(channel(c.out[0][i]), channel(c.out[1][i]), channel(c.out[2][i]));
}

void storeOpaque(const SpanPipeline&, Chunk& c) {
  alignas(32) std::uint16_t packed[kChunk];
  packOut(c, packed);
  for (int i = 0; i < c.n; ++i)
    if (c.live[i]) *c.color[i] = packed[i];
}

// ONE/ONE: per-channel saturating add at the target's precision (the source truncated to
// 565 first).
void storeAdditive(const SpanPipeline&, Chunk& c) {
  alignas(32) std::uint16_t packed[kChunk];
  packOut(c, packed);
  for (int i = 0; i < c.n; ++i) {
    if (!c.live[i]) continue;
    const int d = *c.color[i], s = packed[i];
    const int r = std::min(0xF800, (d & 0xF800) + (s & 0xF800));
    const int g = std::min(0x07E0, (d & 0x07E0) + (s & 0x07E0));
    const int b = std::min(0x001F, (d & 0x001F) + (s & 0x001F));
    *c.color[i] = static_cast<std::uint16_t>(r | g | b);
  }
}

template <BlendFactor F>
inline float factorOf(float srcAlpha) {
  if constexpr (F == BlendFactor::kZero) return 0.0f;
  else if constexpr (F == BlendFactor::kOne) return 1.0f;
  else if constexpr (F == BlendFactor::kSrcAlpha) return srcAlpha * (1.0f / 255.0f);
  else return 1.0f - srcAlpha * (1.0f / 255.0f);
}

template <BlendFactor Src, BlendFactor Dst>
void storeBlended(const SpanPipeline&, Chunk& c) {
  for (int i = 0; i < c.n; ++i) {
    if (!c.live[i]) continue;
    const float fs = factorOf<Src>(c.out[3][i]), fd = factorOf<Dst>(c.out[3][i]);
    const std::uint16_t d = *c.color[i];
    *c.color[i] = pack565(channel(c.out[0][i] * fs + red565(d) * fd), channel(c.out[1][i] * fs + green565(d) * fd),
                     channel(c.out[2][i] * fs + blue565(d) * fd));
  }
}

// Stage tables.
SpanPipeline::Stage pickInterpolate(bool tex, bool specular) {
  if (tex) return specular ? interpolate<true, true> : interpolate<true, false>;
  return specular ? interpolate<false, true> : interpolate<false, false>;
}

SpanPipeline::Stage pickDepthTest(const PixelConfig& c) {
  if (!c.depthTest) return noDepthTest;
  switch (c.depthFunc) {
    case D3DCMP_NEVER: return depthTest<D3DCMP_NEVER>;
    case D3DCMP_LESS: return depthTest<D3DCMP_LESS>;
    case D3DCMP_EQUAL: return depthTest<D3DCMP_EQUAL>;
    case D3DCMP_GREATER: return depthTest<D3DCMP_GREATER>;
    case D3DCMP_NOTEQUAL: return depthTest<D3DCMP_NOTEQUAL>;
    case D3DCMP_GREATEREQUAL: return depthTest<D3DCMP_GREATEREQUAL>;
    case D3DCMP_ALWAYS: return depthTest<D3DCMP_ALWAYS>;
    default: return depthTest<D3DCMP_LESSEQUAL>;
  }
}

template <bool Bilinear, bool ClampU, bool ClampV, bool Pow2>
SpanPipeline::Stage pickSamplerKey(bool key) {
  if constexpr (Bilinear)
    return key ? sampleBilinear<ClampU, ClampV, Pow2, true> : sampleBilinear<ClampU, ClampV, Pow2, false>;
  else
    return key ? samplePoint<ClampU, ClampV, Pow2, true> : samplePoint<ClampU, ClampV, Pow2, false>;
}

template <bool Bilinear>
SpanPipeline::Stage pickSampler(const PixelConfig& c) {
  const TextureImage& t = *c.texture;
  const bool pow2 = (t.width & (t.width - 1)) == 0 && (t.height & (t.height - 1)) == 0;
  const int sel = (c.clampU ? 1 : 0) | (c.clampV ? 2 : 0) | (pow2 ? 4 : 0);
  switch (sel) {
    case 0: return pickSamplerKey<Bilinear, false, false, false>(c.colorKey);
    case 1: return pickSamplerKey<Bilinear, true, false, false>(c.colorKey);
    case 2: return pickSamplerKey<Bilinear, false, true, false>(c.colorKey);
    case 3: return pickSamplerKey<Bilinear, true, true, false>(c.colorKey);
    case 4: return pickSamplerKey<Bilinear, false, false, true>(c.colorKey);
    case 5: return pickSamplerKey<Bilinear, true, false, true>(c.colorKey);
    case 6: return pickSamplerKey<Bilinear, false, true, true>(c.colorKey);
    default: return pickSamplerKey<Bilinear, true, true, true>(c.colorKey);
  }
}

template <template <CombineOp> class Holder>
SpanPipeline::Stage pickCombine(CombineOp op) {
  switch (op) {
    case CombineOp::kSelectArg1: return Holder<CombineOp::kSelectArg1>::fn;
    case CombineOp::kSelectArg2: return Holder<CombineOp::kSelectArg2>::fn;
    case CombineOp::kModulate: return Holder<CombineOp::kModulate>::fn;
    case CombineOp::kModulate2x: return Holder<CombineOp::kModulate2x>::fn;
    case CombineOp::kModulate4x: return Holder<CombineOp::kModulate4x>::fn;
    default: return Holder<CombineOp::kAdd>::fn;
  }
}
template <CombineOp Op>
struct ColorHolder {
  static constexpr SpanPipeline::Stage fn = colorCombine<Op>;
};
template <CombineOp Op>
struct AlphaHolder {
  static constexpr SpanPipeline::Stage fn = alphaCombine<Op>;
};

template <bool UseW>
SpanPipeline::Stage pickFogW(FogKind k) {
  switch (k) {
    case FogKind::kLinear: return fog<FogKind::kLinear, UseW>;
    case FogKind::kExp: return fog<FogKind::kExp, UseW>;
    case FogKind::kExp2: return fog<FogKind::kExp2, UseW>;
    case FogKind::kVertex: return fog<FogKind::kVertex, UseW>;
    default: return nullptr;
  }
}

template <BlendFactor Src>
SpanPipeline::Stage pickBlendDst(BlendFactor d) {
  switch (d) {
    case BlendFactor::kZero: return storeBlended<Src, BlendFactor::kZero>;
    case BlendFactor::kOne: return storeBlended<Src, BlendFactor::kOne>;
    case BlendFactor::kSrcAlpha: return storeBlended<Src, BlendFactor::kSrcAlpha>;
    default: return storeBlended<Src, BlendFactor::kInvSrcAlpha>;
  }
}

SpanPipeline::Stage pickStore(const PixelConfig& c) {
  if (!c.blend) return storeOpaque;
  if (c.srcFactor == BlendFactor::kOne && c.destFactor == BlendFactor::kOne) return storeAdditive;
  switch (c.srcFactor) {
    case BlendFactor::kZero: return pickBlendDst<BlendFactor::kZero>(c.destFactor);
    case BlendFactor::kOne: return pickBlendDst<BlendFactor::kOne>(c.destFactor);
    case BlendFactor::kSrcAlpha: return pickBlendDst<BlendFactor::kSrcAlpha>(c.destFactor);
    default: return pickBlendDst<BlendFactor::kInvSrcAlpha>(c.destFactor);
  }
}

void selectStages(const PixelConfig& config, SpanPipeline::Stages* out) {
  const bool tex = config.texture != nullptr;
  out->interpolate = pickInterpolate(tex, config.needsSpecular);
  out->depthTest = pickDepthTest(config);
  out->samplePoint = tex ? pickSampler<false>(config) : nullptr;
  out->sampleBilinear = tex ? pickSampler<true>(config) : nullptr;
  out->depthWrite = config.depthWrite ? depthWrite : nullptr;
  out->colorCombine = pickCombine<ColorHolder>(config.colorOp);
  out->alphaCombine = config.blend ? pickCombine<AlphaHolder>(config.alphaOp) : nullptr;
  out->specular = config.specularAdd ? addSpecular : nullptr;
  out->fog = config.fogUsesW ? pickFogW<true>(config.fog) : pickFogW<false>(config.fog);
  out->store = pickStore(config);
}

}  // namespace

void SpanPipeline::bindArgs() {
  Chunk& c = chunk_;
  auto source = [&](CombineArg a, int ch) -> const float* {
    switch (a) {
      case CombineArg::kTexture: return c.texel[ch];
      case CombineArg::kFactor: return c.factor[ch];
      case CombineArg::kSpecular: return c.specular[ch];
      default: return c.diffuse[ch];
    }
  };
  for (int ch = 0; ch < 4; ++ch) {
    if (ch < 3) {
      colorArg[0][ch] = source(config.colorArg1, ch);
      colorArg[1][ch] = source(config.colorArg2, ch);
    }
  }
  alphaArg[0] = source(config.alphaArg1, 3);
  alphaArg[1] = source(config.alphaArg2, 3);
}

void SpanPipeline::prepare(const PixelConfig& cfg) {
  config = cfg;
  kernelPoint_ = kernelsEnabled_ ? chooseSpanKernel(config, false) : nullptr;
  kernelBilinear_ = kernelsEnabled_ ? chooseSpanKernel(config, true) : nullptr;
  stagesReady_ = false;  // set up by the first triangle the kernels do not draw
}

void SpanPipeline::prepareStages() {
  selectStages(config, &stages_);
  // Constant inputs: the texture factor, texture alpha (RGB565 has none: opaque), and
  // specular alpha for the case nothing interpolates it.
  const D3DCOLOR tf = config.textureFactor;
  const float tfc[4] = {static_cast<float>((tf >> 16) & 0xFF), static_cast<float>((tf >> 8) & 0xFF),
                        static_cast<float>(tf & 0xFF), static_cast<float>(tf >> 24)};
  for (int i = 0; i < kChunk; ++i) {
    for (int ch = 0; ch < 4; ++ch) chunk_.factor[ch][i] = tfc[ch];
    chunk_.texel[3][i] = 255.0f;
    if (!config.needsSpecular)
      for (int ch = 0; ch < 4; ++ch) chunk_.specular[ch][i] = 0.0f;
  }
  bindArgs();
  stagesReady_ = true;
}

void SpanPipeline::runChunk(Stage sample) {
  Chunk& c = chunk_;
  const Stages& s = stages_;
  s.interpolate(*this, c);
  s.depthTest(*this, c);
  int live = 0;
  for (int i = 0; i < c.n; ++i) live += c.live[i];
  if (live == 0) return;
  if (sample) sample(*this, c);
  if (s.depthWrite) s.depthWrite(*this, c);
  s.colorCombine(*this, c);
  if (s.alphaCombine) s.alphaCombine(*this, c);
  if (s.specular) s.specular(*this, c);
  if (s.fog) s.fog(*this, c);
  s.store(*this, c);
}

void SpanPipeline::drawTriangle(const TriangleSetup& setup, bool bilinear, const ColorTarget& color,
                                const DepthTarget& depth) {
  if (SpanKernel kernel = bilinear ? kernelBilinear_ : kernelPoint_) {
    kernel(config, setup, color, depth);
    return;
  }
  if (!stagesReady_) prepareStages();
  tri = &setup;
  const Stage sample = config.texture ? (bilinear ? stages_.sampleBilinear : stages_.samplePoint) : nullptr;
  Chunk& c = chunk_;
  c.n = 0;
  for (SpanWalker walk(setup); walk.row() <= setup.rowLast; walk.next()) {
    const int y = walk.row();
    int first, last;
    if (!walk.span(&first, &last)) continue;
    std::uint16_t* colorRow = color.row(y);
    std::uint16_t* depthRow = config.depthTest ? depth.row(y) : nullptr;
    const float fy = static_cast<float>(y) - setup.y0;
    for (int x = first; x <= last;) {
      const int take = std::min(kChunk - c.n, last - x + 1);
      for (int k = 0; k < take; ++k, ++x) {
        const int i = c.n + k;
        c.fx[i] = static_cast<float>(x) - setup.x0;
        c.fy[i] = fy;
        c.color[i] = colorRow + x;
        c.depth[i] = depthRow ? depthRow + x : nullptr;
      }
      c.n += take;
      if (c.n == kChunk) {
        runChunk(sample);
        c.n = 0;
      }
    }
  }
  if (c.n > 0) runChunk(sample);
  c.n = 0;
}

}  // namespace platform
