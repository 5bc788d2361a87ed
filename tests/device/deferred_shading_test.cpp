// Deferred shading: a device that defers opaque background draws must leave exactly the
// colours and depths a device drawing everything at once leaves, through every mix of
// deferred, pixel-taking and resolving draws; and through Direct3D the queued work
// lands before anyone reads the target, and never reads a texture changed or freed after
// the draw.
#include "DeviceTestKit.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "tests/support/RgbDeviceRig.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace devicetest;

namespace {

// The same random sequence of draws on two devices; the second defers. Each draw picks a
// role: background (opaque, no depth write: deferred), solid (opaque with depth write:
// drawn at once, taking its pixels), additive, colour-keyed (states the kernels do not
// serve), or a clear; backgrounds also come after solids.
void drawRandomScene(TestDevice& t, std::uint32_t seed, const platform::TextureImage& tex) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> pos(-20, 100), unit(0, 1);
  t.clear(0x203040, 1.0f);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
  t.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x00506070);
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(0.3f));
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(0.9f));
  t.device->setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  t.device->setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  t.device->setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  t.device->setTexture(0, &tex);
  for (int draw = 0; draw < 14; ++draw) {
    const int role = static_cast<int>(rng() % 10);
    if (role == 9) {
      D3DRECT r{LONG(rng() % 40), LONG(rng() % 30), LONG(40 + rng() % 40), LONG(30 + rng() % 30)};
      t.device->clear(1, &r, rng() % 2 ? D3DCLEAR_TARGET : D3DCLEAR_ZBUFFER, 0x00806040, 0.8f);
      continue;
    }
    const bool background = role < 4, additive = role == 7, keyed = role == 8;
    t.device->setRenderState(D3DRENDERSTATE_ZENABLE, rng() % 5 ? TRUE : FALSE);
    t.device->setRenderState(D3DRENDERSTATE_ZFUNC, rng() % 4 ? D3DCMP_LESSEQUAL : D3DCMP_GREATER);
    t.device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, background || additive ? FALSE : TRUE);
    t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, additive);
    t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    t.device->setRenderState(D3DRENDERSTATE_COLORKEYENABLE, keyed);
    t.device->setRenderState(D3DRENDERSTATE_FOGENABLE, rng() % 2);
    const DWORD filter = rng() % 2 ? D3DTFG_LINEAR : D3DTFG_POINT;
    t.device->setTextureStageState(0, D3DTSS_MAGFILTER, filter);
    t.device->setTextureStageState(0, D3DTSS_MINFILTER, filter == D3DTFG_LINEAR ? D3DTFN_LINEAR : D3DTFN_POINT);
    t.device->setTextureStageState(0, D3DTSS_COLOROP, rng() % 3 ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
    std::vector<D3DTLVERTEX> v;
    for (int k = 0; k < 3 * 12; ++k)
      v.push_back(tl(pos(rng), pos(rng), unit(rng), rng() | 0xFF000000, unit(rng) * 3 - 1, unit(rng) * 3 - 1,
                     0.2f + unit(rng)));
    t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v.data(), DWORD(v.size()), 0);
  }
  t.device->flush();
}

}  // namespace

TEST(DeferredShading, LeavesExactlyWhatDrawingAtOnceLeaves) {
  std::mt19937 rng(5);
  std::vector<std::uint16_t> texels(32 * 16);
  for (auto& p : texels) p = std::uint16_t(rng());
  texels[0] = 0;  // the colour key
  const platform::TextureImage tex{texels.data(), 64, 32, 16, true, 0};
  int deferredPixels = 0;
  for (std::uint32_t round = 0; round < 60; ++round) {
    TestDevice now(83, 61), later(83, 61);
    later.device->useDeferredShading(true);
    drawRandomScene(now, round, tex);
    drawRandomScene(later, round, tex);
    ASSERT_EQ(now.color, later.color) << "round " << round;
    ASSERT_EQ(now.depth, later.depth) << "round " << round;
    deferredPixels += now.countNot(platform::pack565(0x20, 0x30, 0x40));
  }
  EXPECT_GT(deferredPixels, 60 * 83 * 61 / 4);  // the scenes drew something
}

// More triangles than one batch holds: the work is shaded midway and goes on.
TEST(DeferredShading, MoreTrianglesThanOneBatch) {
  TestDevice now(40, 30), later(40, 30);
  later.device->useDeferredShading(true);
  std::vector<D3DTLVERTEX> v;
  std::mt19937 rng(3);
  for (int k = 0; k < 3 * 21000; ++k) {
    const float x = float(rng() % 40), y = float(rng() % 30);
    v.push_back(tl(x, y, 0.5f, rng() | 0xFF000000));
    v.push_back(tl(x + 3, y + 0.5f, 0.5f, rng() | 0xFF000000));
    v.push_back(tl(x + 1, y + 3, 0.5f, rng() | 0xFF000000));
  }
  for (TestDevice* t : {&now, &later}) {
    t->clear();
    t->device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    for (std::size_t first = 0; first < v.size(); first += 3 * 21000)
      t->device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, &v[first], 3 * 21000, 0);
    t->device->flush();
  }
  EXPECT_EQ(now.color, later.color);
}

// A solid drawn while a background waits takes rows the background never reaches; shading
// the batch must free them, or the next frame's background would leave them unshaded.
TEST(DeferredShading, ResolvingFreesEveryTakenRow) {
  TestDevice now(40, 30), later(40, 30);
  later.device->useDeferredShading(true);
  auto quad = [](TestDevice& t, float top, float bottom, float z, D3DCOLOR c) {
    D3DTLVERTEX q[4] = {tl(0, top, z, c), tl(40, top, z, c), tl(0, bottom, z, c), tl(40, bottom, z, c)};
    t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, 0);
  };
  for (TestDevice* t : {&now, &later}) {
    t->device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    t->clear(0x102030);
    t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    quad(*t, 0, 10, 0.5f, 0xFF00FF00);  // deferred
    t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    quad(*t, 20, 30, 0.5f, 0xFFFF0000);  // drawn at once below it
    t->device->flush();
    t->clear(0x102030);
    t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    quad(*t, 0, 30, 0.5f, 0xFF0000FF);  // the next frame's background, over everything
    t->device->flush();
  }
  EXPECT_EQ(now.color, later.color);
  EXPECT_EQ(platform::pack565(0, 0, 0xFF), later.pixel(20, 25));
}

// Through Direct3D: reads through DirectDraw see queued draws, and queued draws keep the
// texels their texture had when they were drawn, even when it changes or goes away.
class DeferredThroughDirect3D : public ::testing::Test {
 protected:
  qeltest::RgbDeviceRig rig;
  void SetUp() override {
    ASSERT_TRUE(rig.create(32, 24));
    D3DRECT all{0, 0, 32, 24};
    ASSERT_EQ(D3D_OK, rig.viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
    rig.device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    rig.device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);  // a background: deferred
  }
  void TearDown() override { rig.release(); }
  IDirectDrawSurface4* makeTexture(std::uint16_t fill) {
    DDSURFACEDESC2 d = qeltest::describeSurface(4, 4, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
    IDirectDrawSurface4* s = nullptr;
    EXPECT_EQ(DD_OK, rig.dd->CreateSurface(&d, &s, nullptr));
    fillSurface(s, fill);
    return s;
  }
  static void fillSurface(IDirectDrawSurface4* s, std::uint16_t value) {
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = value;
    EXPECT_EQ(DD_OK, s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));
  }
  void drawQuad() {
    D3DTLVERTEX q[4] = {{-1, -1, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}, {40, -1, 0.5f, 1, 0xFFFFFFFF, 0, 1, 0},
                        {-1, 30, 0.5f, 1, 0xFFFFFFFF, 0, 0, 1}, {40, 30, 0.5f, 1, 0xFFFFFFFF, 0, 1, 1}};
    ASSERT_EQ(D3D_OK, rig.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, D3DDP_WAIT));
  }
  // The target's pixel through Lock, as an application reads it.
  std::uint16_t lockedPixel(int x, int y) {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    EXPECT_EQ(DD_OK, rig.target->Lock(nullptr, &d, DDLOCK_WAIT, nullptr));
    const std::uint16_t p = reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(d.lpSurface) +
                                                                   y * d.lPitch)[x];
    rig.target->Unlock(nullptr);
    return p;
  }
  std::uint16_t rawPixel(int x, int y) {
    platform::SurfaceMemory m;
    EXPECT_TRUE(platform::surfaceMemory(rig.target, m));
    return reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(m.bits) + y * m.pitch)[x];
  }
};

TEST_F(DeferredThroughDirect3D, ReadsAndSceneEndSeeQueuedDraws) {
  ASSERT_EQ(D3D_OK, rig.device->BeginScene());
  drawQuad();  // white, untextured
  EXPECT_EQ(0, rawPixel(5, 5)) << "the background draw is queued";
  EXPECT_EQ(0xFFFF, lockedPixel(5, 5));
  drawQuad();
  HDC dc = nullptr;
  ASSERT_EQ(DD_OK, rig.target->GetDC(&dc));
  EXPECT_EQ(0xFFFF, rawPixel(6, 6));
  rig.target->ReleaseDC(dc);
  drawQuad();
  ASSERT_EQ(D3D_OK, rig.device->EndScene());
  EXPECT_EQ(0xFFFF, rawPixel(7, 7));
}

TEST_F(DeferredThroughDirect3D, QueuedDrawsKeepTheirTexels) {
  IDirectDrawSurface4* surface = makeTexture(0xF800);
  IDirect3DTexture2* tex = nullptr;
  ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&tex)));
  rig.device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  rig.device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  ASSERT_EQ(D3D_OK, rig.device->BeginScene());
  ASSERT_EQ(D3D_OK, rig.device->SetTexture(0, tex));
  drawQuad();
  fillSurface(surface, 0x001F);  // the texture changes after the draw
  ASSERT_EQ(D3D_OK, rig.device->EndScene());
  EXPECT_EQ(0xF800, rawPixel(3, 3));

  // Loaded over, then unbound and freed, all before the scene ends.
  ASSERT_EQ(D3D_OK, rig.device->BeginScene());
  drawQuad();  // blue now
  IDirectDrawSurface4* other = makeTexture(0x07E0);
  IDirect3DTexture2* otherTex = nullptr;
  ASSERT_EQ(S_OK, other->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&otherTex)));
  ASSERT_EQ(D3D_OK, tex->Load(otherTex));
  drawQuad();  // green, over the blue
  ASSERT_EQ(D3D_OK, rig.device->SetTexture(0, nullptr));
  tex->Release();
  surface->Release();
  otherTex->Release();
  other->Release();
  ASSERT_EQ(D3D_OK, rig.device->EndScene());
  EXPECT_EQ(0x07E0, rawPixel(3, 3));
}

// A depth buffer cleared to 1 lets a background skip its depth test, but not once the
// buffer was filled from outside through DirectDraw.
TEST_F(DeferredThroughDirect3D, OutsideDepthWritesAreSeen) {
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillDepth = 0;  // nearest
  ASSERT_EQ(D3D_OK, rig.device->BeginScene());
  ASSERT_EQ(DD_OK, rig.zbuffer->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &fx));
  drawQuad();  // at depth 0.5: behind everything now
  ASSERT_EQ(D3D_OK, rig.device->EndScene());
  EXPECT_EQ(0, rawPixel(5, 5));
}
