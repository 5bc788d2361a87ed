// Renderer::create: the software fallback from the HAL device, the objects and default states
// it leaves on the device, repeated creation and release, caller-given targets and failures.
#include <cstring>

#include "graphics/LastResult.h"
#include "tests/device/RendererTestSupport.h"

namespace renderertest {
namespace {

using RendererCreate = RendererTest;

D3DMATRIX transformOf(IDirect3DDevice3* device, D3DTRANSFORMSTATETYPE state) {
  D3DMATRIX m{};
  EXPECT_EQ(device->GetTransform(state, &m), D3D_OK);
  return m;
}
bool sameMatrix(const D3DMATRIX& a, const Matrix4& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(RendererCreate, WithoutTargetFallsBackToTheRgbDeviceWithASystemMemoryDepthBuffer) {
  for (int fullScreen : {1, 0}) {
    SCOPED_TRACE(fullScreen);
    Renderer renderer;
    renderer.fullScreen = fullScreen;
    ASSERT_EQ(renderer.create(window, nullptr), 1);
    ASSERT_NE(renderer.display, nullptr);
    EXPECT_EQ(renderer.ownsDisplay, 1);
    EXPECT_EQ(renderer.display->fullScreen, fullScreen);
    EXPECT_EQ(renderer.display->hardware, 0);  // the HAL offered no depth format
    EXPECT_EQ(depthFormatFound, 1);            // found again on the RGB device
    EXPECT_EQ(renderer.target, renderer.display->backBuffer);
    if (!fullScreen) {
      EXPECT_EQ(capsOf(renderer.target->surface), 0x2840u);  // re-created in system memory
    }
    ASSERT_NE(renderer.depthBuffer, nullptr);
    ASSERT_NE(renderer.depthBuffer->surface, nullptr);
    EXPECT_EQ(capsOf(renderer.depthBuffer->surface), 0x20800u);
    EXPECT_EQ(platform::attachedDepthSurface(renderer.target->surface), renderer.depthBuffer->surface);
    ASSERT_NE(renderer.device, nullptr);
    D3DDEVICEDESC hal{}, hel{};
    hal.dwSize = hel.dwSize = sizeof(D3DDEVICEDESC);
    ASSERT_EQ(renderer.device->GetCaps(&hal, &hel), D3D_OK);
    EXPECT_EQ(hel.dcmColorModel, DWORD(D3DCOLOR_RGB));  // the software device
    EXPECT_NE(renderer.viewport, nullptr);
    EXPECT_NE(renderer.material, nullptr);
    EXPECT_NE(renderer.light, nullptr);
    EXPECT_NE(renderer.materialHandle, 0u);
  }
}

TEST_F(RendererCreate, LeavesTheViewportMaterialLightAndDefaultStatesOnTheDevice) {
  Renderer renderer;
  renderer.fullScreen = 1;
  ASSERT_EQ(renderer.create(window, nullptr), 1);
  IDirect3DDevice3* device = renderer.device;

  IDirect3DViewport3* current = nullptr;
  ASSERT_EQ(device->GetCurrentViewport(&current), D3D_OK);
  EXPECT_EQ(current, renderer.viewport);
  if (current) current->Release();
  D3DVIEWPORT2 view{};
  view.dwSize = sizeof view;
  ASSERT_EQ(renderer.viewport->GetViewport2(&view), D3D_OK);
  EXPECT_EQ(view.dwWidth, 640u);
  EXPECT_EQ(view.dwHeight, 480u);
  EXPECT_EQ(view.dvClipHeight, 1.5f);  // the 4:3 clip rectangle
  D3DLIGHT2 light{};
  light.dwSize = sizeof light;
  ASSERT_EQ(renderer.light->GetLight(reinterpret_cast<LPD3DLIGHT>(&light)), D3D_OK);
  EXPECT_EQ(light.dwFlags, DWORD(D3DLIGHT_ACTIVE));  // lights only when active

  EXPECT_TRUE(sameMatrix(transformOf(device, D3DTRANSFORMSTATE_WORLD), IdentityMatrix));
  EXPECT_TRUE(sameMatrix(transformOf(device, D3DTRANSFORMSTATE_VIEW), IdentityMatrix));
  EXPECT_TRUE(sameMatrix(transformOf(device, D3DTRANSFORMSTATE_PROJECTION), DefaultProjectionMatrix));
  const std::pair<D3DRENDERSTATETYPE, DWORD> renderStates[] = {
      {D3DRENDERSTATE_ZENABLE, 1},          {D3DRENDERSTATE_MONOENABLE, 0},
      {D3DRENDERSTATE_SPECULARENABLE, 1},   {D3DRENDERSTATE_ZWRITEENABLE, 1},
      {D3DRENDERSTATE_SHADEMODE, 2},        {D3DRENDERSTATE_TEXTUREHANDLE, 0},
      {D3DRENDERSTATE_TEXTUREPERSPECTIVE, 1}, {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE}};
  for (auto [state, want] : renderStates) {
    DWORD value = 0xDEAD;
    ASSERT_EQ(device->GetRenderState(state, &value), D3D_OK);
    EXPECT_EQ(value, want) << "render state " << state;
  }
  DWORD value = 0;
  device->GetLightState(D3DLIGHTSTATE_AMBIENT, &value);
  EXPECT_EQ(value, 0x888888u);
  device->GetLightState(D3DLIGHTSTATE_MATERIAL, &value);
  EXPECT_EQ(value, renderer.materialHandle);
  device->GetLightState(D3DLIGHTSTATE_COLORMODEL, &value);
  EXPECT_EQ(value, DWORD(D3DCOLOR_RGB));
  device->GetTextureStageState(0, D3DTSS_MAGFILTER, &value);
  EXPECT_EQ(value, DWORD(D3DTFG_LINEAR));

  EXPECT_EQ(renderer.halfWidth, 320.0f);
  EXPECT_EQ(renderer.halfHeight, 240.0f);
}

TEST_F(RendererCreate, CreatingTwiceLeavesExactlyOneOfEachAndReleaseIsRepeatable) {
  Renderer renderer;
  renderer.fullScreen = 1;
  ASSERT_EQ(renderer.create(window, nullptr), 1);
  IUnknown* first[] = {renderer.device, renderer.viewport, renderer.material, renderer.light,
                       renderer.depthBuffer->surface, renderer.target->surface};
  ULONG counts[6];
  for (int i = 0; i < 6; ++i) counts[i] = references(first[i]);

  ASSERT_EQ(renderer.create(window, nullptr), 1);
  IUnknown* second[] = {renderer.device, renderer.viewport, renderer.material, renderer.light,
                        renderer.depthBuffer->surface, renderer.target->surface};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(references(second[i]), counts[i]) << i;
  // One display, one primary: a second DirectDraw primary would have been refused.
  EXPECT_EQ(renderer.display->primary->width, 640);

  renderer.releaseAll();
  EXPECT_EQ(renderer.display, nullptr);
  EXPECT_EQ(renderer.target, nullptr);
  EXPECT_EQ(renderer.device, nullptr);
  EXPECT_EQ(renderer.ownsDisplay, 0);
  renderer.releaseAll();
  // Released, a new display can take the screen again.
  DisplayDevice other;
  EXPECT_EQ(other.create(window), 1);
}

TEST_F(RendererCreate, AGivenTargetIsRenderedIntoAndKeptButItsDepthBufferIsDetached) {
  DisplayDevice display;
  ASSERT_EQ(display.create(window), 1);
  Surface target(&display);
  target.width = 320;
  target.height = 240;
  ASSERT_EQ(target.create(&display), 1);

  Renderer renderer;
  for (int round = 0; round < 2; ++round) {  // the second create replaces the first depth buffer
    ASSERT_EQ(renderer.create(window, &target), 1);
    EXPECT_EQ(renderer.ownsDisplay, 0);
    EXPECT_EQ(renderer.display, &display);
    EXPECT_EQ(renderer.target, &target);
    EXPECT_EQ(renderer.halfWidth, 160.0f);
    EXPECT_EQ(renderer.halfHeight, 120.0f);
    EXPECT_EQ(platform::attachedDepthSurface(target.surface), renderer.depthBuffer->surface);
    EXPECT_EQ(references(renderer.depthBuffer->surface), 3u);  // ours, the target's, the device's
  }
  renderer.releaseAll();
  EXPECT_NE(target.surface, nullptr);
  EXPECT_NE(display.directDraw4, nullptr);
  EXPECT_EQ(platform::attachedDepthSurface(target.surface), nullptr);
}

TEST_F(RendererCreate, AGivenVideoMemoryTargetIsRecreatedInSystemMemory) {
  DisplayDevice display;
  display.hardware = 1;
  ASSERT_EQ(display.create(window), 1);
  Surface target(&display);
  target.width = 64;
  target.height = 48;
  target.videoMemory = 1;
  ASSERT_EQ(target.create(&display), 1);
  IDirectDrawSurface4* before = target.surface;
  before->AddRef();

  Renderer renderer;
  ASSERT_EQ(renderer.create(window, &target), 1);
  EXPECT_NE(target.surface, before);
  EXPECT_EQ(target.videoMemory, 0);
  EXPECT_EQ(capsOf(target.surface), 0x2840u);
  EXPECT_EQ(capsOf(renderer.depthBuffer->surface), 0x20800u);
  before->Release();
}

TEST_F(RendererCreate, FailuresReturnZeroAndLeaveTheRendererEmpty) {
  Renderer renderer;
  renderer.fullScreen = 1;
  // Exclusive mode needs a window: both display attempts fail and each logs.
  EXPECT_EQ(renderer.create(nullptr, nullptr), 0);
  EXPECT_EQ(renderer.display, nullptr);
  EXPECT_EQ(renderer.ownsDisplay, 0);
  EXPECT_EQ(renderer.device, nullptr);
  EXPECT_FALSE(logText().empty());

  DisplayDevice display;
  ASSERT_EQ(display.create(window), 1);
  Surface empty(&display);  // never created: nothing to render into
  EXPECT_EQ(renderer.create(window, &empty), 0);
  EXPECT_EQ(renderer.target, nullptr);
  Surface orphan;  // no display at all
  EXPECT_EQ(renderer.create(window, &orphan), 0);

  // A 32-bit target: the device refuses it, and the depth buffer does not stay attached.
  Surface wide(&display);
  wide.width = 32;
  wide.height = 32;
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = description.dwHeight = 32;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY;
  description.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  description.ddpfPixelFormat.dwFlags = DDPF_RGB;
  description.ddpfPixelFormat.dwRGBBitCount = 32;
  description.ddpfPixelFormat.dwRBitMask = 0xFF0000;
  description.ddpfPixelFormat.dwGBitMask = 0xFF00;
  description.ddpfPixelFormat.dwBBitMask = 0xFF;
  ASSERT_EQ(display.directDraw4->CreateSurface(&description, &wide.surface, nullptr), DD_OK);
  EXPECT_EQ(renderer.create(window, &wide), 0);
  EXPECT_EQ(renderer.device, nullptr);
  EXPECT_EQ(renderer.depthBuffer, nullptr);
  EXPECT_EQ(platform::attachedDepthSurface(wide.surface), nullptr);
  renderer.releaseAll();
}

TEST_F(RendererCreate, AnEmptyRendererReleasesAndAppliesStatesWithoutADevice) {
  Renderer renderer;
  ASSERT_NE(renderer.indexBuffer, nullptr);
  ASSERT_NE(renderer.vertexBuffer, nullptr);
  // The whole blocks are ours to write (15000 indices, 30000 transformed vertices).
  renderer.indexBuffer[Renderer::kIndexCapacity - 1] = 7;
  renderer.vertexBuffer[Renderer::kVertexCapacity - 1].tv = 1.0f;
  static_assert(Renderer::kIndexCapacity == 15000 && Renderer::kVertexCapacity == 30000);
  renderer.releaseAll();
  renderer.releaseAll();
  renderer.applyDefaultStates();
  EXPECT_EQ(renderer.halfWidth, 0.0f);
  EXPECT_EQ(renderer.farDistance, 1000.0f);
}

}  // namespace
}  // namespace renderertest
