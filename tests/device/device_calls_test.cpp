// The device's calls: defaults, refusals of bad input (nothing drawn, nothing read out of
// bounds), clears, and the optimised span pipeline against the scalar reference.
#include "DeviceTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace devicetest;

TEST(DeviceDefaults, GenuineDevice3Values) {
  TestDevice t(4, 4);
  struct {
    DWORD state, value;
  } expected[] = {{D3DRENDERSTATE_ZENABLE, TRUE},           {D3DRENDERSTATE_ZWRITEENABLE, TRUE},
                  {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL},  {D3DRENDERSTATE_CULLMODE, D3DCULL_CCW},
                  {D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD}, {D3DRENDERSTATE_ALPHABLENDENABLE, FALSE},
                  {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},   {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO},
                  {D3DRENDERSTATE_SPECULARENABLE, FALSE},    {D3DRENDERSTATE_FOGENABLE, FALSE},
                  {D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_NONE}, {D3DRENDERSTATE_COLORKEYENABLE, FALSE},
                  {D3DRENDERSTATE_TEXTUREPERSPECTIVE, TRUE}, {D3DRENDERSTATE_TEXTUREMAPBLEND, D3DTBLEND_MODULATE},
                  {D3DRENDERSTATE_TEXTUREFACTOR, 0xFFFFFFFF}, {D3DRENDERSTATE_FOGCOLOR, 0}};
  for (auto& e : expected) {
    DWORD v = 0xDEAD;
    ASSERT_EQ(D3D_OK, t.device->getRenderState(e.state, &v));
    EXPECT_EQ(e.value, v) << "state " << e.state;
  }
  DWORD v = 0;
  t.device->getRenderState(D3DRENDERSTATE_FOGTABLEEND, &v);
  EXPECT_EQ(1.0f, asFloat(v));
  t.device->getTextureStageState(0, D3DTSS_ADDRESSU, &v);
  EXPECT_EQ(DWORD(D3DTADDRESS_WRAP), v);
  t.device->getTextureStageState(1, D3DTSS_COLOROP, &v);
  EXPECT_EQ(DWORD(D3DTOP_DISABLE), v);
  TestDevice noDepth(4, 4, false);
  noDepth.device->getRenderState(D3DRENDERSTATE_ZENABLE, &v);
  EXPECT_EQ(0u, v);
}

TEST(DeviceRefusals, UnknownStatesAndStages) {
  TestDevice t(4, 4);
  EXPECT_EQ(D3D_OK, t.device->setRenderState(137, 0));  // a later DirectX state: kept, ignored
  EXPECT_NE(D3D_OK, t.device->setRenderState(0, 1));
  EXPECT_NE(D3D_OK, t.device->setRenderState(100000, 1));
  EXPECT_NE(D3D_OK, t.device->setTextureStageState(8, D3DTSS_COLOROP, D3DTOP_MODULATE));
  EXPECT_NE(D3D_OK, t.device->setTextureStageState(0, 99, 1));
  EXPECT_NE(D3D_OK, t.device->setTransform(7, defaultProjection()));
  DWORD v;
  EXPECT_NE(D3D_OK, t.device->getRenderState(100000, &v));
  EXPECT_NE(D3D_OK, t.device->getRenderState(D3DRENDERSTATE_ZENABLE, nullptr));
  EXPECT_EQ(D3D_OK, t.device->setTexture(0, nullptr));
  platform::TextureImage broken{};
  EXPECT_NE(D3D_OK, t.device->setTexture(0, &broken));
  EXPECT_NE(D3D_OK, t.device->setTexture(9, nullptr));
}

TEST(DeviceRefusals, BadDrawCallsDrawNothing) {
  TestDevice t(8, 8, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  D3DTLVERTEX v[3] = {tl(0, 0), tl(8, 0), tl(0, 8)};
  WORD good[3] = {0, 1, 2}, bad[3] = {0, 1, 3};
  EXPECT_EQ(DDERR_INVALIDPARAMS, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, bad, 3, 0));
  EXPECT_EQ(DDERR_INVALIDPARAMS, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, nullptr, 3, 0));
  EXPECT_EQ(DDERR_INVALIDPARAMS, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, nullptr, 3, 0));
  EXPECT_EQ(DDERR_INVALIDPARAMS, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 70000, 0));
  EXPECT_EQ(D3DERR_INVALIDVERTEXFORMAT, t.device->drawPrimitive(D3DPT_TRIANGLELIST, 0x006, v, 3, 0));
  EXPECT_EQ(D3DERR_INVALIDVERTEXFORMAT, t.device->drawPrimitive(D3DPT_TRIANGLELIST, 0x10000, v, 3, 0));
  EXPECT_EQ(D3DERR_INVALIDPRIMITIVETYPE, t.device->drawPrimitive(D3DPT_LINELIST, D3DFVF_TLVERTEX, v, 3, 0));
  EXPECT_EQ(D3DERR_INVALIDPRIMITIVETYPE, t.device->drawPrimitive(D3DPRIMITIVETYPE(77), D3DFVF_TLVERTEX, v, 3, 0));
  EXPECT_EQ(0, t.countNot(0));
  EXPECT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, good, 3, 0));
  EXPECT_GT(t.countNot(0), 0);
}

TEST(DeviceRefusals, NoViewportNoDrawing) {
  platform::SoftwareDevice d;
  std::vector<std::uint16_t> mem(16);
  platform::ColorTarget c{mem.data(), 8, 4, 4};
  ASSERT_EQ(D3D_OK, d.setTargets(c, nullptr));
  D3DTLVERTEX v[3] = {tl(0, 0), tl(4, 0), tl(0, 4)};
  EXPECT_EQ(D3DERR_INVALIDCURRENTVIEWPORT, d.drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, 0));
  D3DVIEWPORT2 zero{};
  EXPECT_NE(D3D_OK, d.setViewport(&zero));
  platform::ColorTarget broken{mem.data(), 2, 4, 4};  // pitch shorter than a row
  EXPECT_NE(D3D_OK, d.setTargets(broken, nullptr));
}

TEST(DeviceRefusals, NonFiniteAndHugeVerticesAreHarmless) {
  TestDevice t(8, 8);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  D3DTLVERTEX v[6] = {tl(nan, 0), tl(8, 0), tl(0, 8), tl(inf, -inf, nan, 0xFFFFFFFF, nan, inf, nan), tl(1e30f, 0), tl(0, 1e30f)};
  EXPECT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 6, 0));
  D3DLVERTEX w[3] = {lv(nan, 0, 0.5f), lv(1e30f, 1e30f, 0.5f), lv(0, inf, 0.5f, 0xFFFFFFFF, nan, nan)};
  EXPECT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, w, 3, 0));
  D3DMATRIX m = defaultProjection();
  m._11 = nan;
  t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, m);
  D3DLVERTEX ok[3] = {lv(-1, -1, 2), lv(1, -1, 2), lv(0, 1, 2)};
  EXPECT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, ok, 3, 0));
}

TEST(DeviceRefusals, LeftoverIndicesAreIgnored) {
  TestDevice t(8, 8, false);
  D3DTLVERTEX v[3] = {tl(0, 0), tl(8, 0), tl(0, 8)};
  WORD idx[5] = {0, 1, 2, 0, 1};
  EXPECT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, idx, 5, 0));
  EXPECT_EQ(36, t.countNot(0));
}

TEST(Clear, RectanglesClipToViewportAndSkipInverted) {
  TestDevice t(16, 16);
  D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 4, 4, 8, 8, -1, 1, 2, 2, 0, 1};
  t.device->setViewport(&vp);
  D3DRECT rects[2] = {{0, 0, 6, 6}, {10, 10, 8, 8}};
  ASSERT_EQ(D3D_OK, t.device->clear(2, rects, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00FFFFFF, 0.25f));
  EXPECT_EQ(4, t.countNot(0));  // (4..5) x (4..5)
  EXPECT_EQ(0xFFFF, t.pixel(4, 4));
  EXPECT_EQ(0xFFFF, t.pixel(5, 5));
  EXPECT_EQ(0, t.pixel(6, 6));
  EXPECT_EQ(std::uint16_t(std::lround(0.25 * 65535)), t.depthAt(5, 5));
  EXPECT_EQ(DDERR_INVALIDPARAMS, t.device->clear(1, nullptr, D3DCLEAR_TARGET, 0, 1));
  TestDevice noDepth(4, 4, false);
  D3DRECT all{0, 0, 4, 4};
  EXPECT_NE(D3D_OK, noDepth.device->clear(1, &all, D3DCLEAR_ZBUFFER, 0, 1));
}

// Random triangles under random states: the span pipeline and the scalar reference agree
// on colour within one 565 step and on depth within one unit. The pipeline interpolates in
// float and the reference in double, so a texture coordinate falling within rounding of a
// texel boundary may pick the neighbouring texel: one pixel in ten thousand is allowed.
TEST(ReferenceComparison, SpanPipelineMatchesScalarReference) {
  std::mt19937 rng(1234);
  std::uniform_real_distribution<float> pos(-10, 74), unit(0, 1);
  std::vector<std::uint16_t> tex(16 * 8);
  for (size_t i = 0; i < tex.size(); ++i) tex[i] = std::uint16_t(rng());
  platform::TextureImage img{tex.data(), 32, 16, 8, true, tex[5]};
  int mismatches = 0;
  const int kRounds = 60, kAllowed = kRounds * 64 * 48 / 10000;
  for (int round = 0; round < kRounds; ++round) {
    TestDevice fast(64, 48), ref(64, 48);
    ref.device->useReferenceRasterizer(true);
    const bool perspectiveFloor = round % 3 == 0;
    for (TestDevice* t : {&fast, &ref}) {
      std::mt19937 srng(round);
      auto pick = [&](std::initializer_list<DWORD> l) { return *(l.begin() + srng() % l.size()); };
      t->clear(0x102030, 1.0f);
      t->device->setRenderState(D3DRENDERSTATE_CULLMODE, pick({D3DCULL_NONE, D3DCULL_CW, D3DCULL_CCW}));
      t->device->setRenderState(D3DRENDERSTATE_ZFUNC, pick({D3DCMP_LESSEQUAL, D3DCMP_LESS, D3DCMP_GREATER, D3DCMP_ALWAYS}));
      t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, pick({TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, pick({TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_SRCBLEND, pick({D3DBLEND_ONE, D3DBLEND_SRCALPHA, D3DBLEND_ZERO}));
      t->device->setRenderState(D3DRENDERSTATE_DESTBLEND, pick({D3DBLEND_ONE, D3DBLEND_INVSRCALPHA, D3DBLEND_ZERO}));
      t->device->setRenderState(D3DRENDERSTATE_SPECULARENABLE, pick({TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_COLORKEYENABLE, pick({TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_SHADEMODE, pick({D3DSHADE_GOURAUD, D3DSHADE_FLAT}));
      t->device->setRenderState(D3DRENDERSTATE_FOGENABLE, pick({TRUE, FALSE}));
      t->device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, pick({D3DFOG_NONE, D3DFOG_LINEAR, D3DFOG_EXP}));
      t->device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x00AA5533);
      t->device->setRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(pick({1, 2}) * 0.6f));
      t->device->setTextureStageState(0, D3DTSS_COLOROP, pick({D3DTOP_MODULATE, D3DTOP_SELECTARG1, D3DTOP_ADD, D3DTOP_MODULATE2X}));
      t->device->setTextureStageState(0, D3DTSS_COLORARG2, pick({D3DTA_DIFFUSE, D3DTA_SPECULAR, D3DTA_TFACTOR}));
      t->device->setTextureStageState(0, D3DTSS_MAGFILTER, pick({D3DTFG_POINT, D3DTFG_LINEAR}));
      t->device->setTextureStageState(0, D3DTSS_MINFILTER, pick({D3DTFN_POINT, D3DTFN_LINEAR}));
      t->device->setTextureStageState(0, D3DTSS_ADDRESSV, pick({D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP}));
      t->device->setRenderState(D3DRENDERSTATE_TEXTUREFACTOR, 0x80406080);
      t->device->setTexture(0, srng() % 4 ? &img : nullptr);
      if (perspectiveFloor) t->device->setTransform(D3DTRANSFORMSTATE_PROJECTION, defaultProjection());
    }
    std::vector<D3DTLVERTEX> tlv;
    std::vector<D3DLVERTEX> lvv;
    for (int k = 0; k < 30; ++k) {
      D3DCOLOR c = rng(), s = rng();
      float u = unit(rng) * 3 - 1, v = unit(rng) * 3 - 1;
      tlv.push_back(tl(pos(rng), pos(rng), unit(rng), c, u, v, 0.1f + unit(rng), s));
      lvv.push_back(lv(unit(rng) * 8 - 4, unit(rng) * 4 - 3, unit(rng) * 10 - 1, c, u, v, s));
    }
    for (TestDevice* t : {&fast, &ref}) {
      if (perspectiveFloor)
        t->device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, lvv.data(), DWORD(lvv.size()), 0);
      else
        t->device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, tlv.data(), DWORD(tlv.size()), 0);
    }
    for (int i = 0; i < 64 * 48; ++i) {
      std::uint16_t a = fast.color[i], b = ref.color[i];
      int dr = std::abs((a >> 11) - (b >> 11)), dg = std::abs(((a >> 5) & 63) - ((b >> 5) & 63)),
          db = std::abs((a & 31) - (b & 31));
      if (dr > 1 || dg > 2 || db > 1 || (fast.depth[i] != ref.depth[i] && std::abs(fast.depth[i] - ref.depth[i]) > 1)) {
        if (++mismatches > kAllowed) ADD_FAILURE() << "round " << round << " pixel " << i % 64 << "," << i / 64 << " " << a << " vs " << b;
      }
    }
  }
  EXPECT_LE(mismatches, kAllowed);
}
