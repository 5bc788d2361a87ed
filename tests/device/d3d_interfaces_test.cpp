// The Direct3D interfaces over DirectDraw surfaces: IDirect3D3 from IDirectDraw4, depth
// formats per device type, device creation, viewports and Clear2, materials and lights by
// handle, textures from surfaces (one object per surface, Load), and refusals.
#include "platform/d3d/D3D.h"
#include "platform/d3d/RasterTargets.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "tests/support/RgbDeviceRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

HRESULT CALLBACK collectFormats(LPDDPIXELFORMAT format, LPVOID context) {
  static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*format);
  return D3DENUMRET_OK;
}

std::uint16_t pixelAt(IDirectDrawSurface4* s, int x, int y) {
  platform::SurfaceMemory m;
  if (!platform::surfaceMemory(s, m)) return 0;
  return reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(m.bits) + y * m.pitch)[x];
}

// DirectDraw, Direct3D, a 64x48 target with a 16-bit z-buffer, an RGB device and a
// viewport covering the target.
class Direct3DFixture : public ::testing::Test, protected qeltest::RgbDeviceRig {
 protected:
  void SetUp() override {
    ASSERT_TRUE(create(64, 48));
    D3DRECT all{0, 0, 64, 48};
    ASSERT_EQ(D3D_OK, viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
  }
  void TearDown() override { release(); }
  IDirectDrawSurface4* makeTexture(int w, int h, const std::vector<std::uint16_t>& texels) {
    DDSURFACEDESC2 d = qeltest::describeSurface(DWORD(w), DWORD(h), DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
    IDirectDrawSurface4* s = nullptr;
    EXPECT_EQ(DD_OK, dd->CreateSurface(&d, &s, nullptr));
    platform::SurfaceMemory m;
    EXPECT_TRUE(platform::surfaceMemory(s, m));
    for (int y = 0; y < h; ++y)
      std::memcpy(static_cast<std::uint8_t*>(m.bits) + y * m.pitch, &texels[y * w], w * 2);
    return s;
  }
};

}  // namespace

TEST_F(Direct3DFixture, HardwareDeviceOffersNoDepthFormatAndCannotBeCreated) {
  std::vector<DDPIXELFORMAT> formats;
  EXPECT_EQ(D3D_OK, d3d->EnumZBufferFormats(IID_IDirect3DHALDevice, collectFormats, &formats));
  EXPECT_TRUE(formats.empty());
  IDirect3DDevice3* hal = reinterpret_cast<IDirect3DDevice3*>(1);
  EXPECT_NE(D3D_OK, d3d->CreateDevice(IID_IDirect3DHALDevice, target, &hal, nullptr));
  EXPECT_EQ(nullptr, hal);
  d3d->EnumZBufferFormats(IID_IDirect3DRGBDevice, collectFormats, &formats);
  ASSERT_EQ(1u, formats.size());
  EXPECT_EQ(DWORD(DDPF_ZBUFFER), formats[0].dwFlags);
  EXPECT_EQ(16u, formats[0].dwZBufferBitDepth);
  EXPECT_EQ(0xFFFFu, formats[0].dwZBitMask);
}

TEST_F(Direct3DFixture, ClearFillsTargetAndDepth) {
  D3DRECT all{0, 0, 64, 48};
  ASSERT_EQ(D3D_OK, viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00CCCCDD, 1.0f, 0));
  EXPECT_EQ(platform::pack565(0xCC, 0xCC, 0xDD), pixelAt(target, 10, 10));
  EXPECT_EQ(0xFFFF, pixelAt(zbuffer, 63, 47));
  DWORD zenable = 0;
  device->GetRenderState(D3DRENDERSTATE_ZENABLE, &zenable);
  EXPECT_EQ(DWORD(TRUE), zenable);
}

TEST_F(Direct3DFixture, MaterialByHandleAndActiveLight) {
  IDirect3DMaterial3* material = nullptr;
  ASSERT_EQ(D3D_OK, d3d->CreateMaterial(&material, nullptr));
  D3DMATERIAL m{};
  m.dwSize = sizeof m;
  m.diffuse = {1, 0, 0, 1};
  m.ambient = {0, 0, 1, 0};
  ASSERT_EQ(D3D_OK, material->SetMaterial(&m));
  D3DMATERIALHANDLE handle = 0;
  ASSERT_EQ(D3D_OK, material->GetHandle(device, &handle));
  EXPECT_NE(0u, handle);
  device->SetLightState(D3DLIGHTSTATE_MATERIAL, handle);
  device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0x00808080);
  device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  D3DVERTEX v[3] = {{-10, -10, 0.5f, 0, 0, -1, 0, 0}, {10, -10, 0.5f, 0, 0, -1, 0, 0}, {0, 10, 0.5f, 0, 0, -1, 0, 0}};
  ASSERT_EQ(D3D_OK, device->BeginScene());
  ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, v, 3, D3DDP_WAIT));
  // Ambient only: 0.5 * material ambient blue.
  EXPECT_EQ(platform::pack565(0, 0, 0x80), pixelAt(target, 32, 24));
  IDirect3DLight* light = nullptr;
  ASSERT_EQ(D3D_OK, d3d->CreateLight(&light, nullptr));
  D3DLIGHT2 l{};
  l.dwSize = sizeof l;
  l.dltType = D3DLIGHT_DIRECTIONAL;
  l.dcvColor = {1, 1, 1, 0};
  l.dvDirection = {0, 0, 1};
  l.dvAttenuation0 = 1;
  l.dwFlags = D3DLIGHT_ACTIVE;
  ASSERT_EQ(D3D_OK, light->SetLight(reinterpret_cast<LPD3DLIGHT>(&l)));
  ASSERT_EQ(D3D_OK, viewport->AddLight(light));
  EXPECT_EQ(D3DERR_LIGHTHASVIEWPORT, viewport->AddLight(light));
  ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, v, 3, D3DDP_WAIT));
  EXPECT_EQ(platform::pack565(0xFF, 0, 0x80), pixelAt(target, 32, 24));
  ASSERT_EQ(D3D_OK, device->EndScene());
  EXPECT_EQ(D3DERR_SCENE_NOT_IN_SCENE, device->EndScene());
  // A released material's handle names nothing: lighting is off, vertices are white.
  material->Release();
  ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, v, 3, D3DDP_WAIT));
  EXPECT_EQ(0xFFFF, pixelAt(target, 32, 24));
  light->Release();
}

TEST_F(Direct3DFixture, TexturesComeFromSurfaces) {
  std::vector<std::uint16_t> texels = {0xF800, 0x07E0, 0x001F, 0xFFFF};
  IDirectDrawSurface4* surface = makeTexture(2, 2, texels);
  IDirect3DTexture2* tex = nullptr;
  IDirect3DTexture2* again = nullptr;
  ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&tex)));
  ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&again)));
  EXPECT_EQ(tex, again);
  again->Release();
  ASSERT_EQ(D3D_OK, device->SetTexture(0, tex));
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  D3DTLVERTEX q[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}, {1.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1, 0},
                      {-0.5f, 1.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0, 1}, {1.5f, 1.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1, 1}};
  ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, D3DDP_WAIT));
  EXPECT_EQ(0xF800, pixelAt(target, 0, 0));
  EXPECT_EQ(0x07E0, pixelAt(target, 1, 0));
  EXPECT_EQ(0x001F, pixelAt(target, 0, 1));
  // Load copies another texture's pixels into this one; the next draw sees them.
  IDirectDrawSurface4* other = makeTexture(2, 2, {0x1234, 0x1234, 0x1234, 0x1234});
  IDirect3DTexture2* otherTex = nullptr;
  ASSERT_EQ(S_OK, other->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&otherTex)));
  ASSERT_EQ(D3D_OK, tex->Load(otherTex));
  ASSERT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, D3DDP_WAIT));
  EXPECT_EQ(0x1234, pixelAt(target, 1, 1));
  IDirect3DTexture2* bound = nullptr;
  ASSERT_EQ(D3D_OK, device->GetTexture(0, &bound));
  EXPECT_EQ(tex, bound);
  bound->Release();
  device->SetTexture(0, nullptr);
  otherTex->Release();
  other->Release();
  tex->Release();
  surface->Release();
}

// Bilinear draws read a copy of the texels the texture keeps; writing the surface in any
// way (Lock, a DC, Blt, Load) must show in the next draw, and a released texture's copy
// must not outlive draws still waiting to be shaded.
TEST_F(Direct3DFixture, BilinearDrawsSeeEveryWriteToTheTexture) {
  IDirectDrawSurface4* surface = makeTexture(4, 4, std::vector<std::uint16_t>(16, 0xF800));
  IDirect3DTexture2* tex = nullptr;
  ASSERT_EQ(S_OK, surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&tex)));
  ASSERT_EQ(D3D_OK, device->SetTexture(0, tex));
  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
  D3DTLVERTEX q[4] = {{-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}, {15.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1, 0},
                      {-0.5f, 15.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0, 1}, {15.5f, 15.5f, 0.5f, 1, 0xFFFFFFFF, 0, 1, 1}};
  auto drawn = [&]() {
    device->BeginScene();
    EXPECT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, D3DDP_WAIT));
    device->EndScene();
    return pixelAt(target, 7, 7);
  };
  EXPECT_EQ(0xF800, drawn());
  DDSURFACEDESC2 d{};
  d.dwSize = DDSURFACEDESC2_SIZE32;
  ASSERT_EQ(DD_OK, surface->Lock(nullptr, &d, DDLOCK_WAIT, nullptr));
  const std::uint16_t blue = 0x001F;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) std::memcpy(static_cast<std::uint8_t*>(d.lpSurface) + y * d.lPitch + x * 2, &blue, 2);
  ASSERT_EQ(DD_OK, surface->Unlock(nullptr));
  EXPECT_EQ(0x001F, drawn());
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  fill.dwFillColor = 0x07E0;
  ASSERT_EQ(DD_OK, surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill));
  EXPECT_EQ(0x07E0, drawn());
  IDirectDrawSurface4* other = makeTexture(4, 4, std::vector<std::uint16_t>(16, 0xFFFF));
  IDirect3DTexture2* otherTex = nullptr;
  ASSERT_EQ(S_OK, other->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&otherTex)));
  ASSERT_EQ(D3D_OK, tex->Load(otherTex));
  EXPECT_EQ(0xFFFF, drawn());
  // A draw left for later shading (no depth writes), then its texture released.
  ASSERT_EQ(D3D_OK, device->SetTexture(0, otherTex));
  device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
  device->BeginScene();
  EXPECT_EQ(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, D3DDP_WAIT));
  device->SetTexture(0, nullptr);
  otherTex->Release();
  other->Release();
  device->EndScene();
  EXPECT_EQ(0xFFFF, pixelAt(target, 7, 7));
  tex->Release();
  surface->Release();
}

TEST_F(Direct3DFixture, BadCallsAreRefused) {
  D3DTLVERTEX v[3] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}, {64, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0},
                      {0, 48, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}};
  WORD bad[3] = {0, 1, 7};
  EXPECT_EQ(DDERR_INVALIDPARAMS, device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, bad, 3, 0));
  EXPECT_EQ(0, pixelAt(target, 2, 2));
  EXPECT_EQ(DDERR_INVALIDPARAMS, device->SetTransform(D3DTRANSFORMSTATE_WORLD, nullptr));
  EXPECT_EQ(DDERR_INVALIDPARAMS, device->SetRenderState(D3DRENDERSTATETYPE(5000), 1));
  EXPECT_EQ(D3D_OK, device->SetRenderState(D3DRENDERSTATETYPE(137), 0));
  EXPECT_EQ(DDERR_INVALIDPARAMS, device->SetLightState(D3DLIGHTSTATETYPE(42), 0));
  D3DVIEWPORT2 tiny{};
  tiny.dwSize = 12;
  EXPECT_EQ(DDERR_INVALIDPARAMS, viewport->SetViewport2(&tiny));
  EXPECT_EQ(DDERR_INVALIDPARAMS, device->AddViewport(viewport));  // already added
  IDirect3DViewport3* loose = nullptr;
  d3d->CreateViewport(&loose, nullptr);
  D3DRECT all{0, 0, 64, 48};
  EXPECT_EQ(D3DERR_VIEWPORTHASNODEVICE, loose->Clear2(1, &all, D3DCLEAR_TARGET, 0, 1, 0));
  EXPECT_EQ(DDERR_INVALIDPARAMS, device->SetCurrentViewport(loose));
  loose->Release();
  EXPECT_EQ(D3D_OK, device->BeginScene());
  EXPECT_EQ(D3DERR_SCENE_IN_SCENE, device->BeginScene());
  device->EndScene();
}

TEST_F(Direct3DFixture, ViewportRemovalStopsDrawing) {
  ASSERT_EQ(D3D_OK, device->DeleteViewport(viewport));
  IDirect3DViewport3* current = nullptr;
  EXPECT_EQ(D3DERR_NOCURRENTVIEWPORT, device->GetCurrentViewport(&current));
  D3DTLVERTEX v[3] = {{0, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}, {64, 0, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0},
                      {0, 48, 0.5f, 1, 0xFFFFFFFF, 0, 0, 0}};
  EXPECT_NE(D3D_OK, device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 3, 0));
}
