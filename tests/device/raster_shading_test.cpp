// Colours: fixed-function lighting and specular, texture stage 0 and the legacy blend,
// texture sampling and perspective, fog, blending, depth. Expected values follow the
// genuine device (Wine's conformance expectations where they exist); the target is
// RGB565, so comparisons allow one 5-bit step.
#include "DeviceTestKit.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace devicetest;

namespace {

constexpr int kTol = 8;

void fullScreenTL(TestDevice& t, float z, D3DCOLOR c, D3DCOLOR specular = 0xFF000000, float rhw = 1.0f) {
  const float W = float(t.width), H = float(t.height);
  D3DTLVERTEX v[4] = {tl(0, 0, z, c, 0, 0, rhw, specular), tl(W, 0, z, c, 1, 0, rhw, specular), tl(0, H, z, c, 0, 1, rhw, specular),
                      tl(W, H, z, c, 1, 1, rhw, specular)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0));
}

// A quad of vertices with a normal (and an optional colour) on z = depth, in a grid of
// step 0.25 over NDC -1..1 (identity transforms put NDC = model coordinates).
struct NormalColorVertex {
  float x, y, z, nx, ny, nz;
  D3DCOLOR color;
};
void litGrid(TestDevice& t, float depth, bool withColor, D3DCOLOR color = 0xFF0000FF) {
  std::vector<NormalColorVertex> v;
  const int N = 8;
  for (int j = 0; j <= N; ++j)
    for (int i = 0; i <= N; ++i) v.push_back({-1 + i * 2.0f / N, 1 - j * 2.0f / N, depth, 0, 0, -1, color});
  std::vector<WORD> idx;
  for (int j = 0; j < N; ++j)
    for (int i = 0; i < N; ++i) {
      WORD a = WORD(j * (N + 1) + i), b = WORD(a + 1), c = WORD(a + N + 1), d = WORD(c + 1);
      idx.insert(idx.end(), {a, b, c, b, d, c});
    }
  if (withColor) {
    ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE,
                                                     v.data(), DWORD(v.size()), idx.data(), DWORD(idx.size()), 0));
  } else {
    std::vector<D3DVERTEX> plain;
    for (auto& p : v) plain.push_back(vx(p.x, p.y, p.z, p.nx, p.ny, p.nz));
    ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, plain.data(),
                                                     DWORD(plain.size()), idx.data(), DWORD(idx.size()), 0));
  }
}

D3DMATERIAL material(D3DCOLORVALUE diffuse, D3DCOLORVALUE ambient, D3DCOLORVALUE specular, D3DCOLORVALUE emissive,
                     float power) {
  D3DMATERIAL m{};
  m.dwSize = sizeof m;
  m.diffuse = diffuse, m.ambient = ambient, m.specular = specular, m.emissive = emissive;
  m.power = power;
  return m;
}

platform::LightSource whiteLight() {
  platform::LightSource l;
  l.color = {1, 1, 1, 0};
  l.direction = {0, 0, 1};
  return l;
}

}  // namespace

TEST(Lighting, AmbientMaterialAndActiveLight) {
  // Material diffuse = ambient = (0,1,1,0.5), ambient light 0x008000, vertex colour blue.
  D3DMATERIAL m = material({0, 1, 1, 0.5f}, {0, 1, 1, 0.5f}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0);
  TestDevice t(64, 64);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setMaterial(&m);
  t.device->setAmbient(0xFF008000);
  litGrid(t, 0.5f, true);  // no light: the ambient term only
  EXPECT_TRUE(near(0x008000, t.rgb(32, 32), kTol)) << std::hex << t.rgb(32, 32);
  platform::LightSource l = whiteLight();
  t.device->setLights(&l, 1);
  litGrid(t, 0.5f, true);  // the vertex colour stands in for the material diffuse
  EXPECT_TRUE(near(0x0080FF, t.rgb(32, 32), kTol)) << std::hex << t.rgb(32, 32);
  t.device->setMaterial(nullptr);
  litGrid(t, 0.5f, true);  // no material: unlit vertex colour
  EXPECT_TRUE(near(0x0000FF, t.rgb(32, 32), kTol)) << std::hex << t.rgb(32, 32);
}

TEST(Lighting, EmissiveOnlyAndDoNotLight) {
  D3DMATERIAL m = material({0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 1, 0, 0}, 0);
  TestDevice t(32, 32);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setMaterial(&m);
  litGrid(t, 0.5f, false);
  EXPECT_TRUE(near(0x00FF00, t.rgb(16, 16), kTol)) << std::hex << t.rgb(16, 16);
  D3DVERTEX v[3] = {vx(-1, -1, 0.5f, 0, 0, -1), vx(-1, 3, 0.5f, 0, 0, -1), vx(3, -1, 0.5f, 0, 0, -1)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, v, 3, D3DDP_DONOTLIGHT));
  EXPECT_TRUE(near(0xFFFFFF, t.rgb(16, 16), kTol)) << std::hex << t.rgb(16, 16);
}

TEST(Lighting, SpecularIsBlinnWithLocalViewer) {
  D3DMATERIAL m = material({0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}, {0, 0, 0, 0}, 30);
  TestDevice t(640, 480);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
  t.device->setMaterial(&m);
  platform::LightSource l = whiteLight();
  t.device->setLights(&l, 1);
  litGrid(t, 1.0f, false);
  EXPECT_TRUE(near(0xFFFFFF, t.rgb(320, 240), kTol)) << std::hex << t.rgb(320, 240);
  EXPECT_TRUE(near(0x717171, t.rgb(320, 120), kTol)) << std::hex << t.rgb(320, 120);
  EXPECT_TRUE(near(0x3C3C3C, t.rgb(160, 120), kTol)) << std::hex << t.rgb(160, 120);
  // Power 0 gives no highlight at all.
  m.power = 0;
  t.device->setMaterial(&m);
  t.clear();
  litGrid(t, 1.0f, false);
  EXPECT_EQ(0u, t.rgb(320, 240));
  EXPECT_EQ(0u, t.rgb(160, 120));
}

TEST(Lighting, SpecularOffByDefaultAndAddedAfterTheStage) {
  TestDevice t(16, 16);
  DWORD v = 1;
  t.device->getRenderState(D3DRENDERSTATE_SPECULARENABLE, &v);
  EXPECT_EQ(0u, v);
  fullScreenTL(t, 0.5f, 0xFF0000FF, 0x00808080);
  EXPECT_TRUE(near(0x0000FF, t.rgb(8, 8), kTol));
  t.device->setRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
  fullScreenTL(t, 0.5f, 0xFF0000FF, 0x00808080);
  EXPECT_TRUE(near(0x8080FF, t.rgb(8, 8), kTol)) << std::hex << t.rgb(8, 8);
}

TEST(Fog, TableFogOnDeviceZWithAffineProjection) {
  // Identity projection: fog depth is sz, whatever rhw says.
  for (float rhw : {0.0f, 0.3f, 3.0f}) {
    TestDevice t(16, 16);
    t.device->setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
    t.device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
    t.device->setRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(0.0f));
    t.device->setRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(1.0f));
    t.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x0000FF00);
    fullScreenTL(t, 0.7f, 0xFFFF0000, 0xFF000000, rhw);
    EXPECT_TRUE(near(0x4CB200, t.rgb(8, 8), kTol)) << rhw << " " << std::hex << t.rgb(8, 8);
    t.clear();
    fullScreenTL(t, 0.3f, 0xFFFF0000, 0xFF000000, rhw);
    EXPECT_TRUE(near(0xB24C00, t.rgb(8, 8), kTol)) << rhw << " " << std::hex << t.rgb(8, 8);
  }
}

TEST(Fog, NegativeDepthClampsToNoFog) {
  TestDevice t(16, 16, false);
  t.device->setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
  t.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x0000FF00);
  fullScreenTL(t, -0.5f, 0xFFFF0000);
  EXPECT_TRUE(near(0xFF0000, t.rgb(8, 8), kTol));
}

TEST(Fog, VertexFogFromSpecularAlphaWhenNoTableMode) {
  TestDevice t(16, 16);
  t.device->setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x0000FF00);
  fullScreenTL(t, 0.5f, 0xFFFF0000, 0xFF000000);  // specular alpha 0xFF: no fog
  EXPECT_TRUE(near(0xFF0000, t.rgb(8, 8), kTol));
  fullScreenTL(t, 0.5f, 0xFFFF0000, 0x00000000);  // alpha 0: all fog
  EXPECT_TRUE(near(0x00FF00, t.rgb(8, 8), kTol));
}

// The engine's scene: linear table fog from 10 to 300 by view depth under its projection.
class ViewDepthFog : public ::testing::Test {
 protected:
  TestDevice t{64, 48};
  void SetUp() override {
    t.setViewport(-1, 0.75f, 2, 1.5f);
    t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, defaultProjection());
    t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    t.device->setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
    t.device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
    t.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x00DDDDEE);
    t.device->setRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(10.0f));
    t.device->setRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(300.0f));
  }
  std::uint32_t wallAt(float depth) {
    t.clear();
    float s = depth * 2;
    D3DLVERTEX v[4] = {lv(-s, s, depth, 0xFFFF0000), lv(s, s, depth, 0xFFFF0000), lv(-s, -s, depth, 0xFFFF0000),
                       lv(s, -s, depth, 0xFFFF0000)};
    EXPECT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, v, 4, 0));
    return t.rgb(32, 24);
  }
};

TEST_F(ViewDepthFog, NoneBeforeStartAllAfterEndLinearBetween) {
  EXPECT_TRUE(near(0xFF0000, wallAt(5), kTol));
  EXPECT_TRUE(near(0xFF0000, wallAt(10), kTol));
  EXPECT_TRUE(near(0xDDDDEE, wallAt(300), kTol));
  EXPECT_TRUE(near(0xDDDDEE, wallAt(900), kTol));
  EXPECT_TRUE(near(0xEE6E77, wallAt(155), kTol)) << std::hex << wallAt(155);
}

TEST_F(ViewDepthFog, ScreenVerticesUseOneOverRhw) {
  t.clear();
  fullScreenTL(t, 0.5f, 0xFFFF0000, 0xFF000000, 1.0f / 155.0f);
  EXPECT_TRUE(near(0xEE6E77, t.rgb(10, 10), kTol)) << std::hex << t.rgb(10, 10);
  t.clear();
  fullScreenTL(t, 0.5f, 0xFFFF0000, 0xFF000000, 1.0f);  // depth 1: no fog
  EXPECT_TRUE(near(0xFF0000, t.rgb(10, 10), kTol));
}

TEST(Blending, AdditiveSaturatesPerChannel) {
  TestDevice t(8, 8, false);
  t.clear(0xC0C040);
  t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  fullScreenTL(t, 0.5f, 0xFF808040);
  EXPECT_EQ(0xFFFF & ((31 << 11) | (63 << 5) | ((0x40 >> 3) * 2)), t.pixel(4, 4));
}

TEST(Blending, SourceAlphaAndZero) {
  TestDevice t(8, 8, false);
  t.clear(0x0000FF);
  t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
  fullScreenTL(t, 0.5f, 0x80FF0000);
  EXPECT_TRUE(near(0x80007F, t.rgb(4, 4), kTol)) << std::hex << t.rgb(4, 4);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ZERO);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  std::uint16_t before = t.pixel(4, 4);
  fullScreenTL(t, 0.5f, 0xFFFFFFFF);
  EXPECT_EQ(before, t.pixel(4, 4));
}

TEST(Depth, StoredValueAndOrderIndependence) {
  TestDevice a(16, 16), b(16, 16);
  for (TestDevice* t : {&a, &b}) t->clear(0, 1.0f);
  EXPECT_EQ(0xFFFF, a.depthAt(3, 3));
  auto nearQuad = [](TestDevice& t) {
    D3DTLVERTEX v[4] = {tl(0, 0, 0.3f, 0xFFFF0000), tl(10, 0, 0.3f, 0xFFFF0000), tl(0, 10, 0.3f, 0xFFFF0000),
                        tl(10, 10, 0.3f, 0xFFFF0000)};
    t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
  };
  auto farQuad = [](TestDevice& t) {
    D3DTLVERTEX v[4] = {tl(5, 5, 0.6f, 0xFF00FF00), tl(16, 5, 0.6f, 0xFF00FF00), tl(5, 16, 0.6f, 0xFF00FF00),
                        tl(16, 16, 0.6f, 0xFF00FF00)};
    t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
  };
  nearQuad(a), farQuad(a);
  farQuad(b), nearQuad(b);
  EXPECT_EQ(a.color, b.color);
  EXPECT_EQ(a.depth, b.depth);
  EXPECT_EQ(std::uint16_t(std::lround(0.3 * 65535)), a.depthAt(7, 7));
  EXPECT_TRUE(near(0xFF0000, a.rgb(7, 7), kTol));
}

TEST(Depth, WritesOffStillTests) {
  TestDevice t(8, 8);
  t.clear(0, 0.5f);
  t.device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
  fullScreenTL(t, 0.7f, 0xFFFF0000);  // behind: hidden
  EXPECT_EQ(0, t.pixel(4, 4));
  fullScreenTL(t, 0.2f, 0xFFFF0000);  // in front: drawn, depth kept
  EXPECT_NE(0, t.pixel(4, 4));
  EXPECT_EQ(std::uint16_t(std::lround(0.5 * 65535)), t.depthAt(4, 4));
}

TEST(ShadeMode, FlatUsesFirstVertexOfEachTriangle) {
  TestDevice t(16, 16, false);
  t.device->setRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_FLAT);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  D3DTLVERTEX v[4] = {tl(0, 0, 0.5f, 0xFFFF0000), tl(16, 0, 0.5f, 0xFF00FF00), tl(0, 16, 0.5f, 0xFF0000FF),
                      tl(16, 16, 0.5f, 0xFFFFFFFF)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0));
  EXPECT_EQ(0xFF0000u, t.rgb(2, 2));
  EXPECT_EQ(0x00FF00u, t.rgb(13, 13));
  t.clear();
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, 0));
  EXPECT_EQ(0xFF0000u, t.rgb(2, 2));
}

// A draw whose vertices all carry black specular skips the specular add (the cheaper span
// paths then apply); that must change no pixel, and must not drop the specular alpha that
// vertex fog reads.
TEST(Lighting, BlackSpecularAddsNothingButVertexFogStillReadsItsAlpha) {
  TestDevice plain(16, 16), withSpecular(16, 16);
  for (TestDevice* t : {&plain, &withSpecular}) {
    t->clear(0x203040);
    t->device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    t->device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    t->device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  }
  withSpecular.device->setRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
  fullScreenTL(plain, 0.5f, 0xFF405060, 0xFF000000);
  fullScreenTL(withSpecular, 0.5f, 0xFF405060, 0xFF000000);
  EXPECT_EQ(plain.color, withSpecular.color);

  TestDevice fogged(16, 16);
  fogged.device->setRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
  fogged.device->setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
  fogged.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0xFF0000);
  fullScreenTL(fogged, 0.5f, 0xFF0000FF, 0x80000000);  // specular alpha 0x80: half fog
  EXPECT_TRUE(near(0x7F0080, fogged.rgb(8, 8), 2 * kTol)) << std::hex << fogged.rgb(8, 8);
}
