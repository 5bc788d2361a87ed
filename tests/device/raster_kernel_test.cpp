// The fused span kernels and the incremental row walk: the walk covers exactly the pixels
// the coverage test names, and the kernels agree with the scalar reference (and with the
// chunk stages) on colour within one 565 step and on depth within one unit, over random
// triangles under the state combinations the kernels serve.
#include "DeviceTestKit.h"
#include "platform/d3d/SpanKernels.h"
#include "platform/d3d/TexelPairs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace devicetest;

namespace {

platform::ScreenVertex sv(float x, float y) {
  platform::ScreenVertex v{};
  v.x = x, v.y = y, v.rhw = v.pw = 1;
  return v;
}

}  // namespace

TEST(SpanWalker, RowsMatchCoverageOnRandomTriangles) {
  const platform::ViewportMapping map = fullViewport(96, 80);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> pos(-30, 120), fine(0, 1);
  int drawn = 0;
  for (int k = 0; k < 3000; ++k) {
    platform::ScreenVertex v[3];
    for (auto& p : v) p = sv(pos(rng), pos(rng));
    if (k % 3 == 1) v[1].y = v[0].y;  // horizontal (top or bottom) edges
    if (k % 5 == 2) v[2].x = v[1].x;  // vertical edges
    if (k % 7 == 3)                   // slivers and sub-pixel triangles
      v[1] = sv(v[0].x + fine(rng) * 3, v[0].y + fine(rng)), v[2] = sv(v[0].x + fine(rng), v[0].y + fine(rng) * 40);
    if (k % 4 == 0)  // on whole pixels: edges (horizontal ones too) through pixel centres
      for (auto& p : v) p = sv(std::round(p.x), std::round(p.y));
    platform::TriangleSetup t;
    if (!platform::setupTriangle(v[0], v[1], v[2], D3DCULL_NONE, map, &t)) continue;
    ++drawn;
    expectWalkMatchesCoverage(t);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(drawn, 2000);
}

TEST(SpanWalker, HugeTrianglesInsideTheGuardBand) {
  const platform::ViewportMapping map = fullViewport(64, 48);
  platform::TriangleSetup t;
  ASSERT_TRUE(platform::setupTriangle(sv(-2000.3f, -1900.7f), sv(2030.1f, 10.2f), sv(5.5f, 2040.9f), D3DCULL_NONE, map, &t));
  expectWalkMatchesCoverage(t);
  ASSERT_TRUE(platform::setupTriangle(sv(31.999f, -2000), sv(32.001f, 2000), sv(-2000, 24.5f), D3DCULL_NONE, map, &t));
  expectWalkMatchesCoverage(t);
}

TEST(SpanKernels, ServeTheCommonStatesAndDeclineTheRest) {
  if (!platform::spanKernelsAvailable()) GTEST_SKIP() << "no AVX2 on this processor";
  std::vector<std::uint16_t> bits(64 * 64);
  platform::TextureImage tex{bits.data(), 128, 64, 64, false, 0};
  platform::PixelConfig c;
  c.texture = &tex;
  c.colorOp = platform::CombineOp::kModulate;
  c.colorArg1 = platform::CombineArg::kTexture;
  c.depthTest = c.depthWrite = true;
  c.fog = platform::FogKind::kLinear;
  EXPECT_NE(nullptr, platform::chooseSpanKernel(c, true));
  EXPECT_NE(nullptr, platform::chooseSpanKernel(c, false));
  c.blend = true;  // ONE/ONE
  c.destFactor = platform::BlendFactor::kOne;
  EXPECT_NE(nullptr, platform::chooseSpanKernel(c, true));
  platform::PixelConfig other = c;
  other.destFactor = platform::BlendFactor::kInvSrcAlpha;
  EXPECT_EQ(nullptr, platform::chooseSpanKernel(other, true));
  other = c, other.colorKey = true;
  EXPECT_EQ(nullptr, platform::chooseSpanKernel(other, true));
  other = c, other.needsSpecular = true;
  EXPECT_EQ(nullptr, platform::chooseSpanKernel(other, true));
  other = c, other.fog = platform::FogKind::kExp;
  EXPECT_EQ(nullptr, platform::chooseSpanKernel(other, true));
  other = c, other.colorOp = platform::CombineOp::kAdd;
  EXPECT_EQ(nullptr, platform::chooseSpanKernel(other, true));
  platform::TextureImage odd{bits.data(), 128, 48, 64, false, 0};  // wrapped, not a power of two
  other = c, other.texture = &odd;
  EXPECT_EQ(nullptr, platform::chooseSpanKernel(other, true));
  other.clampU = true;
  EXPECT_NE(nullptr, platform::chooseSpanKernel(other, true));
}

// Random triangles of both vertex paths under the states the kernels serve: textures of
// several sizes (down to one texel wide, and a padded pitch), both filters and address
// modes, the colour operations, linear fog on device z or view depth, all depth functions,
// opaque and additive stores, on a target whose width is not a multiple of eight. Bilinear
// squares read from the texture's copy give exactly what gathering the texels gives.
TEST(SpanKernels, MatchScalarReferenceAndChunkStages) {
  constexpr int kW = 61, kH = 47;
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> pos(-12, 72), unit(0, 1);
  struct Size {
    int w, h, pitchTexels;
  } sizes[] = {{64, 32, 64}, {16, 8, 20}, {2, 2, 2}, {1, 4, 1}, {8, 1, 8}, {128, 128, 128}};
  std::vector<std::uint16_t> texels(128 * 128);
  for (auto& t : texels) t = std::uint16_t(rng());
  int mismatches = 0, stageMismatches = 0, pairMismatches = 0;
  const int kRounds = 90, kAllowed = kRounds * kW * kH / 10000;
  for (int round = 0; round < kRounds; ++round) {
    TestDevice fast(kW, kH), paired(kW, kH), stages(kW, kH), ref(kW, kH);
    stages.device->useSpanKernels(false);
    ref.device->useReferenceRasterizer(true);
    const Size& size = sizes[round % 6];
    platform::TextureImage img{texels.data(), size.pitchTexels * 2, size.w, size.h, false, 0};
    // The same texture with its bilinear copy, which must change nothing.
    platform::TexelPairs pairs;
    platform::TextureImage withPairs = img;
    withPairs.pairs = pairs.update(img, 1);
    const bool transformed = round % 2 == 0;
    for (TestDevice* t : {&fast, &paired, &stages, &ref}) {
      std::mt19937 srng(round);
      auto pick = [&](std::initializer_list<DWORD> l) { return *(l.begin() + srng() % l.size()); };
      t->clear(0x405060, 1.0f);
      t->device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
      t->device->setRenderState(D3DRENDERSTATE_ZENABLE, pick({TRUE, TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_ZFUNC, pick({D3DCMP_LESSEQUAL, D3DCMP_LESS, D3DCMP_GREATER, D3DCMP_EQUAL,
                                                           D3DCMP_NOTEQUAL, D3DCMP_GREATEREQUAL, D3DCMP_ALWAYS, D3DCMP_NEVER}));
      t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, pick({TRUE, FALSE}));
      const bool additive = pick({TRUE, FALSE});
      t->device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, additive);
      t->device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
      t->device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
      t->device->setRenderState(D3DRENDERSTATE_FOGENABLE, pick({TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
      t->device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x00AA5533);
      const float fogStart = transformed ? 1.5f : 0.2f;
      t->device->setRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(fogStart));
      t->device->setRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(pick({0, 1, 2}) == 0 ? fogStart : fogStart * 4));
      t->device->setTextureStageState(0, D3DTSS_COLOROP, pick({D3DTOP_MODULATE, D3DTOP_SELECTARG1, D3DTOP_SELECTARG2}));
      t->device->setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
      t->device->setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
      const DWORD filter = pick({D3DTFG_POINT, D3DTFG_LINEAR});
      t->device->setTextureStageState(0, D3DTSS_MAGFILTER, filter);
      t->device->setTextureStageState(0, D3DTSS_MINFILTER, filter == D3DTFG_LINEAR ? D3DTFN_LINEAR : D3DTFN_POINT);
      t->device->setTextureStageState(0, D3DTSS_ADDRESSU, pick({D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP}));
      t->device->setTextureStageState(0, D3DTSS_ADDRESSV, pick({D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP}));
      t->device->setTexture(0, t == &paired ? &withPairs : &img);
      if (transformed) t->device->setTransform(D3DTRANSFORMSTATE_PROJECTION, defaultProjection());
    }
    // A first layer with depth writes on, so the tested layer meets a varied depth buffer.
    std::vector<D3DTLVERTEX> tlv;
    std::vector<D3DLVERTEX> lvv;
    for (int k = 0; k < 36; ++k) {
      const D3DCOLOR c = rng();
      const float u = unit(rng) * 4 - 1.5f, v = unit(rng) * 4 - 1.5f;
      tlv.push_back(tl(pos(rng), pos(rng), unit(rng), c, u, v, 0.1f + unit(rng)));
      lvv.push_back(lv(unit(rng) * 8 - 4, unit(rng) * 6 - 3, 0.5f + unit(rng) * 9, c, u, v));
    }
    for (TestDevice* t : {&fast, &paired, &stages, &ref}) {
      if (transformed) t->device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, lvv.data(), DWORD(lvv.size()), 0);
      else t->device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, tlv.data(), DWORD(tlv.size()), 0);
    }
    for (int i = 0; i < kW * kH; ++i) {
      auto differs = [&](const TestDevice& other) {
        const std::uint16_t a = fast.color[i], b = other.color[i];
        const int dr = std::abs((a >> 11) - (b >> 11)), dg = std::abs(((a >> 5) & 63) - ((b >> 5) & 63)),
                  db = std::abs((a & 31) - (b & 31));
        return dr > 1 || dg > 2 || db > 1 || std::abs(fast.depth[i] - other.depth[i]) > 1;
      };
      if (differs(ref) && ++mismatches > kAllowed)
        ADD_FAILURE() << "round " << round << " pixel " << i % kW << "," << i / kW << " " << fast.color[i] << " vs "
                      << ref.color[i];
      stageMismatches += differs(stages);
      if (fast.color[i] != paired.color[i] && ++pairMismatches <= 5)
        ADD_FAILURE() << "round " << round << " pixel " << i % kW << "," << i / kW << ": " << paired.color[i]
                      << " with the bilinear copy, " << fast.color[i] << " without";
    }
  }
  EXPECT_LE(mismatches, kAllowed);
  EXPECT_LE(stageMismatches, kAllowed);
  EXPECT_EQ(pairMismatches, 0);
}
