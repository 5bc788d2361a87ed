// DirectDraw surfaces: creation and caps, fills, BltFast, DC and Lock states, attachments,
// palettes, presenting and the Direct3D query hooks.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/ddraw/DDraw.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "platform/gdi/WinGdi.h"
#include "tests/platform/PlatformFixture.h"
#include "tests/support/RgbDeviceRig.h"

namespace platformtest {
namespace {

class DirectDraw : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd4)), DD_OK);
  }
  void TearDown() override {
    if (dd4) dd4->Release();
    if (directDraw) {
      EXPECT_EQ(directDraw->Release(), 0u);  // surfaces gave their references back
    }
    PlatformTest::TearDown();
  }
  IDirectDrawSurface4* offscreen(DWORD width, DWORD height, DWORD caps) {
    DDSURFACEDESC2 description = qeltest::describeSurface(width, height, caps);
    IDirectDrawSurface4* surface = nullptr;
    lastCreate = dd4->CreateSurface(&description, &surface, nullptr);
    return surface;
  }
  static std::uint16_t pixel(IDirectDrawSurface4* surface, int x, int y) {
    platform::SurfaceMemory memory;
    platform::surfaceMemory(surface, memory);
    std::uint16_t value;
    std::memcpy(&value, static_cast<std::uint8_t*>(memory.bits) + y * memory.pitch + x * 2, 2);
    return value;
  }

  IDirectDraw* directDraw = nullptr;
  IDirectDraw4* dd4 = nullptr;
  HRESULT lastCreate = DD_OK;
};

TEST_F(DirectDraw, OffscreenSurfacesKeepTheirCapsAndUseRgb565) {
  IDirectDrawSurface4* system = offscreen(640, 480, 0x2840);
  IDirectDrawSurface4* video = offscreen(64, 32, 0x6040);
  ASSERT_NE(system, nullptr);
  ASSERT_NE(video, nullptr);
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  ASSERT_EQ(system->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(description.ddsCaps.dwCaps, 0x2840u);
  EXPECT_EQ(description.dwWidth, 640u);
  EXPECT_EQ(description.dwHeight, 480u);
  EXPECT_EQ(description.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_EQ(description.ddpfPixelFormat.dwRBitMask, 0xF800u);
  EXPECT_EQ(description.ddpfPixelFormat.dwGBitMask, 0x07E0u);
  EXPECT_EQ(description.ddpfPixelFormat.dwBBitMask, 0x001Fu);
  DDSCAPS2 caps{};
  ASSERT_EQ(video->GetCaps(&caps), DD_OK);
  EXPECT_EQ(caps.dwCaps, 0x6040u);
  EXPECT_EQ(pixel(system, 639, 479), 0);  // new memory is zero
  system->Release();
  video->Release();
}

TEST_F(DirectDraw, BadDescriptionsAreRefused) {
  DDSURFACEDESC2 description{};
  IDirectDrawSurface4* surface = nullptr;
  description.dwSize = 7;
  EXPECT_EQ(dd4->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd4->CreateSurface(nullptr, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(offscreen(0, 10, 0x2840), nullptr);
  EXPECT_EQ(offscreen(100000, 10, 0x2840), nullptr);
  EXPECT_EQ(lastCreate, DDERR_TOOBIGSIZE);
  EXPECT_EQ(offscreen(10, 10, DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY), nullptr);
  description = DDSURFACEDESC2{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  description.dwWidth = description.dwHeight = 8;
  description.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  description.ddpfPixelFormat.dwFlags = DDPF_FOURCC;
  EXPECT_EQ(dd4->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPIXELFORMAT);
  EXPECT_EQ(surface, nullptr);
}

TEST_F(DirectDraw, FullScreenPrimaryNeedsExclusiveModeAndBringsItsBackBuffer) {
  HWND window = openWindow();
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  description.dwBackBufferCount = 1;
  description.ddsCaps.dwCaps = 0x2218;
  IDirectDrawSurface4* primary = nullptr;
  EXPECT_EQ(dd4->CreateSurface(&description, &primary, nullptr), DDERR_NOEXCLUSIVEMODE);
  EXPECT_EQ(dd4->SetCooperativeLevel(nullptr, 0x15), DDERR_INVALIDPARAMS);  // needs a window
  ASSERT_EQ(dd4->SetCooperativeLevel(window, 0x15), DD_OK);
  EXPECT_EQ(dd4->SetDisplayMode(800, 600, 16, 0, 0), DDERR_INVALIDMODE);
  ASSERT_EQ(dd4->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
  ASSERT_EQ(dd4->CreateSurface(&description, &primary, nullptr), DD_OK);

  IDirectDrawSurface4* second = nullptr;
  EXPECT_EQ(dd4->CreateSurface(&description, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);

  DDSCAPS2 wanted{};
  wanted.dwCaps = DDSCAPS_BACKBUFFER;
  IDirectDrawSurface4* back = nullptr;
  ASSERT_EQ(primary->GetAttachedSurface(&wanted, &back), DD_OK);
  DDSURFACEDESC2 backDescription{};
  backDescription.dwSize = DDSURFACEDESC2_SIZE32;
  back->GetSurfaceDesc(&backDescription);
  EXPECT_EQ(backDescription.dwWidth, 640u);
  EXPECT_EQ(backDescription.dwHeight, 480u);
  EXPECT_TRUE(backDescription.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER);
  EXPECT_TRUE(backDescription.ddsCaps.dwCaps & DDSCAPS_3DDEVICE);
  wanted.dwCaps = DDSCAPS_ZBUFFER;
  IDirectDrawSurface4* none = nullptr;
  EXPECT_EQ(primary->GetAttachedSurface(&wanted, &none), DDERR_NOTFOUND);
  // Releasing the primary first leaves the held back buffer usable.
  EXPECT_EQ(primary->Release(), 0u);
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  fill.dwFillColor = 0x1234;
  EXPECT_EQ(back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill), DD_OK);
  EXPECT_EQ(back->Release(), 0u);
  EXPECT_EQ(dd4->RestoreDisplayMode(), DD_OK);
}

TEST_F(DirectDraw, ColourFillWritesTheRawValueInsideTheRectangleOnly) {
  IDirectDrawSurface4* surface = offscreen(16, 8, 0x2840);
  RECT area{2, 1, 5, 3};
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  fill.dwFillColor = 0xF800;  // red in RGB565, not an RGB colour
  ASSERT_EQ(surface->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fill), DD_OK);
  EXPECT_EQ(pixel(surface, 2, 1), 0xF800);
  EXPECT_EQ(pixel(surface, 4, 2), 0xF800);
  EXPECT_EQ(pixel(surface, 5, 2), 0);  // right and bottom edges are exclusive
  EXPECT_EQ(pixel(surface, 4, 3), 0);
  EXPECT_EQ(pixel(surface, 1, 1), 0);
  RECT outside{10, 0, 17, 8};
  EXPECT_EQ(surface->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fill), DDERR_INVALIDRECT);
  RECT inverted{5, 0, 2, 3};
  EXPECT_EQ(surface->Blt(&inverted, nullptr, nullptr, DDBLT_COLORFILL, &fill), DDERR_INVALIDRECT);
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, nullptr), DDERR_INVALIDPARAMS);
  fill.dwROP = 0x00440328;  // SRCERASE: not supported
  EXPECT_EQ(surface->Blt(nullptr, surface, nullptr, DDBLT_ROP, &fill), DDERR_NORASTEROPHW);
  surface->Release();
}

TEST_F(DirectDraw, BltFastCopiesWithoutClippingAndHonoursTheSourceKey) {
  IDirectDrawSurface4* source = offscreen(4, 4, 0x2840);
  IDirectDrawSurface4* target = offscreen(8, 8, 0x2840);
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  fill.dwFillColor = 0x07E0;
  RECT left{0, 0, 2, 4};
  source->Blt(&left, nullptr, nullptr, DDBLT_COLORFILL, &fill);  // right half stays 0 (black)
  fill.dwFillColor = 0x001F;
  target->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill);

  EXPECT_EQ(target->BltFast(5, 5, source, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  RECT tooBig{0, 0, 5, 4};
  EXPECT_EQ(target->BltFast(0, 0, source, &tooBig, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
  EXPECT_EQ(target->BltFast(0xFFFFFFFFu, 0, source, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);

  ASSERT_EQ(target->BltFast(4, 4, source, nullptr, DDBLTFAST_WAIT), DD_OK);
  EXPECT_EQ(pixel(target, 4, 4), 0x07E0);
  EXPECT_EQ(pixel(target, 6, 4), 0);  // no key: black copied
  EXPECT_EQ(pixel(target, 3, 3), 0x001F);

  DDCOLORKEY black{0, 0};
  ASSERT_EQ(source->SetColorKey(DDCKEY_SRCBLT, &black), DD_OK);
  ASSERT_EQ(target->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_EQ(pixel(target, 0, 0), 0x07E0);
  EXPECT_EQ(pixel(target, 3, 0), 0x001F);  // keyed black left the target alone
  DDCOLORKEY read{};
  EXPECT_EQ(source->GetColorKey(DDCKEY_SRCBLT, &read), DD_OK);
  EXPECT_EQ(target->GetColorKey(DDCKEY_SRCBLT, &read), DDERR_NOCOLORKEY);
  source->Release();
  target->Release();
}

TEST_F(DirectDraw, OverlappingCopiesWithinOneSurfaceComeOutRight) {
  IDirectDrawSurface4* surface = offscreen(8, 8, 0x2840);
  platform::SurfaceMemory memory;
  platform::surfaceMemory(surface, memory);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      std::uint16_t value = std::uint16_t(y * 8 + x);
      std::memcpy(static_cast<std::uint8_t*>(memory.bits) + y * memory.pitch + x * 2, &value, 2);
    }
  RECT from{0, 0, 6, 6};
  ASSERT_EQ(surface->BltFast(1, 1, surface, &from, 0), DD_OK);
  EXPECT_EQ(pixel(surface, 1, 1), 0);
  EXPECT_EQ(pixel(surface, 6, 6), 5 * 8 + 5);
  DDCOLORKEY key{0x7777, 0x7777};  // a key no pixel has: the keyed path, nothing skipped
  surface->SetColorKey(DDCKEY_SRCBLT, &key);
  RECT row{0, 7, 7, 8};
  ASSERT_EQ(surface->BltFast(1, 7, surface, &row, DDBLTFAST_SRCCOLORKEY), DD_OK);
  EXPECT_EQ(pixel(surface, 1, 7), 7 * 8 + 0);
  EXPECT_EQ(pixel(surface, 7, 7), 7 * 8 + 6);
  RECT to{0, 0, 6, 6};
  RECT back{1, 1, 7, 7};
  ASSERT_EQ(surface->Blt(&to, surface, &back, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(pixel(surface, 0, 0), 0);
  EXPECT_EQ(pixel(surface, 5, 5), 5 * 8 + 5);
  surface->Release();
}

TEST_F(DirectDraw, BltStretchesNearestNeighbour) {
  IDirectDrawSurface4* small = offscreen(2, 1, 0x2840);
  IDirectDrawSurface4* wide = offscreen(4, 2, 0x2840);
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  fill.dwFillColor = 0xAAAA;
  RECT right{1, 0, 2, 1};
  small->Blt(&right, nullptr, nullptr, DDBLT_COLORFILL, &fill);
  ASSERT_EQ(wide->Blt(nullptr, small, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(pixel(wide, 0, 1), 0);
  EXPECT_EQ(pixel(wide, 1, 1), 0);
  EXPECT_EQ(pixel(wide, 2, 0), 0xAAAA);
  EXPECT_EQ(pixel(wide, 3, 1), 0xAAAA);
  small->Release();
  wide->Release();
}

TEST_F(DirectDraw, GetDcLocksTheSurfaceUntilReleaseDc) {
  IDirectDrawSurface4* surface = offscreen(64, 32, 0x2840);
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  ASSERT_NE(dc, nullptr);
  HDC second = nullptr;
  EXPECT_EQ(surface->GetDC(&second), DDERR_DCALREADYCREATED);
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  EXPECT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill), DDERR_SURFACEBUSY);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "A", 1));
  EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
  EXPECT_EQ(surface->ReleaseDC(dc), DDERR_NODC);
  EXPECT_EQ(pixel(surface, 0, 0), 0xFFFF);  // the cell's opaque white background
  surface->Release();
}

TEST_F(DirectDraw, LockGivesTheMemoryAndPitch) {
  IDirectDrawSurface4* surface = offscreen(10, 4, 0x2840);
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  RECT area{3, 2, 5, 4};
  ASSERT_EQ(surface->Lock(&area, &description, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_GE(description.lPitch, 20);
  EXPECT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  std::uint16_t value = 0x4321;
  std::memcpy(description.lpSurface, &value, 2);
  EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
  EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
  EXPECT_EQ(pixel(surface, 3, 2), 0x4321);
  surface->Release();
}

// Copies made from a surface's pixels are keyed by its generation: every way of writing the
// pixels must give a new one, never one another surface had, and reading must not.
TEST_F(DirectDraw, EveryWriteGivesTheSurfaceANewGeneration) {
  IDirectDrawSurface4* surface = offscreen(8, 8, 0x2840);
  IDirectDrawSurface4* source = offscreen(8, 8, 0x2840);
  std::vector<std::uint64_t> seen = {platform::surfaceGeneration(surface), platform::surfaceGeneration(source)};
  auto expectNew = [&](const char* what) {
    const std::uint64_t g = platform::surfaceGeneration(surface);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), g), 0) << what;
    seen.push_back(g);
  };
  EXPECT_NE(seen[0], seen[1]);
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  ASSERT_EQ(surface->Lock(nullptr, &description, DDLOCK_WAIT, nullptr), DD_OK);
  expectNew("Lock");
  ASSERT_EQ(surface->Unlock(nullptr), DD_OK);
  expectNew("Unlock");  // the writes happen between the two
  HDC dc = nullptr;
  ASSERT_EQ(surface->GetDC(&dc), DD_OK);
  expectNew("GetDC");
  ASSERT_EQ(surface->ReleaseDC(dc), DD_OK);
  expectNew("ReleaseDC");
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  ASSERT_EQ(surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill), DD_OK);
  expectNew("Blt");
  ASSERT_EQ(surface->BltFast(0, 0, source, nullptr, 0), DD_OK);
  expectNew("BltFast");
  platform::markSurfaceChanged(surface);
  expectNew("markSurfaceChanged");
  // Reading leaves it, and the source of a copy keeps its own.
  EXPECT_EQ(platform::surfaceGeneration(source), seen[1]);
  platform::SurfaceMemory memory;
  ASSERT_TRUE(platform::surfaceMemory(surface, memory));
  ASSERT_EQ(surface->GetSurfaceDesc(&description), DD_OK);
  EXPECT_EQ(platform::surfaceGeneration(surface), seen.back());
  EXPECT_EQ(platform::surfaceGeneration(nullptr), 0u);
  source->Release();
  surface->Release();
}

TEST_F(DirectDraw, ADepthBufferAttachesOnceAndIsFoundWithoutLock) {
  IDirectDrawSurface4* target = offscreen(640, 480, 0x2840);
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = 0x1007;
  description.dwWidth = 640;
  description.dwHeight = 480;
  description.ddsCaps.dwCaps = 0x20800;
  description.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  description.ddpfPixelFormat.dwFlags = DDPF_ZBUFFER;
  description.ddpfPixelFormat.dwZBufferBitDepth = 16;
  description.ddpfPixelFormat.dwZBitMask = 0xFFFF;
  IDirectDrawSurface4* depth = nullptr;
  ASSERT_EQ(dd4->CreateSurface(&description, &depth, nullptr), DD_OK);
  EXPECT_EQ(platform::attachedDepthSurface(target), nullptr);
  ASSERT_EQ(target->AddAttachedSurface(depth), DD_OK);
  EXPECT_EQ(target->AddAttachedSurface(depth), DDERR_SURFACEALREADYATTACHED);
  EXPECT_EQ(depth->AddAttachedSurface(target), DDERR_CANNOTATTACHSURFACE);
  EXPECT_EQ(platform::attachedDepthSurface(target), depth);

  platform::SurfaceMemory memory;
  ASSERT_TRUE(platform::surfaceMemory(depth, memory));
  EXPECT_EQ(memory.bitsPerPixel, 16);
  EXPECT_EQ(memory.caps, 0x20800u);
  EXPECT_EQ(memory.format.dwFlags, DWORD(DDPF_ZBUFFER));
  DDBLTFX fill{};
  fill.dwSize = DDBLTFX_SIZE32;
  fill.dwFillDepth = 0xFFFF;
  EXPECT_EQ(depth->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL, &fill), DD_OK);
  EXPECT_EQ(pixel(depth, 639, 479), 0xFFFF);
  HDC dc = nullptr;
  EXPECT_EQ(depth->GetDC(&dc), DDERR_CANTCREATEDC);

  EXPECT_EQ(depth->Release(), 1u);  // the attachment still holds it
  EXPECT_EQ(platform::attachedDepthSurface(target), depth);
  target->Release();
  EXPECT_FALSE(platform::surfaceMemory(nullptr, memory));
}

TEST_F(DirectDraw, PalettesHoldTheirEntriesAndAttachToIndexedSurfacesOnly) {
  PALETTEENTRY entries[256];
  for (int i = 0; i < 256; ++i) entries[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), 7, 0};
  IDirectDrawPalette* palette = nullptr;
  EXPECT_EQ(dd4->CreatePalette(DDPCAPS_8BIT, nullptr, &palette, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(dd4->CreatePalette(0, entries, &palette, nullptr), DDERR_INVALIDPARAMS);
  ASSERT_EQ(dd4->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr), DD_OK);
  PALETTEENTRY replacement{1, 2, 3, 4};
  EXPECT_EQ(palette->SetEntries(0, 255, 2, &replacement), DDERR_INVALIDPARAMS);
  EXPECT_EQ(palette->SetEntries(0, 255, 1, &replacement), DD_OK);
  PALETTEENTRY read[2];
  ASSERT_EQ(palette->GetEntries(0, 254, 2, read), DD_OK);
  EXPECT_EQ(read[0].peRed, 254);
  EXPECT_EQ(read[1].peBlue, 3);

  IDirectDrawSurface4* surface = offscreen(8, 8, 0x2840);
  EXPECT_EQ(surface->SetPalette(palette), DDERR_INVALIDPIXELFORMAT);  // 16-bit surface
  surface->Release();
  EXPECT_EQ(palette->Release(), 0u);
}

TEST_F(DirectDraw, WritesToThePrimaryArePresented) {
  HWND window = openWindow();
  ASSERT_EQ(dd4->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  IDirectDrawSurface4* primary = nullptr;
  ASSERT_EQ(dd4->CreateSurface(&description, &primary, nullptr), DD_OK);
  IDirectDrawSurface4* back = offscreen(640, 480, 0x2840);
  RECT all{0, 0, 640, 480};
  EXPECT_EQ(headless->session().presentedFrames(), 0);
  ASSERT_EQ(primary->BltFast(0, 0, back, &all, DDBLTFAST_WAIT), DD_OK);
  ASSERT_EQ(back->BltFast(0, 0, primary, &all, DDBLTFAST_WAIT), DD_OK);  // not a present
  EXPECT_EQ(headless->session().presentedFrames(), 1);
  back->Release();
  primary->Release();
}

struct FakeInterface : IUnknown {
  HRESULT QueryInterface(REFIID, LPVOID*) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
};
FakeInterface gFake;
const GUID kSomeDirect3DIid = {0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

HRESULT answerDirectDraw(IDirectDraw4*, REFIID iid, void** object) {
  if (!(iid == kSomeDirect3DIid)) return E_NOINTERFACE;
  *object = &gFake;
  return S_OK;
}

TEST_F(DirectDraw, UnknownInterfacesGoToTheInstalledHooks) {
  void* object = nullptr;
  EXPECT_EQ(dd4->QueryInterface(kSomeDirect3DIid, &object), E_NOINTERFACE);
  platform::setDirectDrawQueryHook(answerDirectDraw);
  EXPECT_EQ(dd4->QueryInterface(kSomeDirect3DIid, &object), S_OK);
  EXPECT_EQ(object, &gFake);
  EXPECT_EQ(directDraw->QueryInterface(kSomeDirect3DIid, &object), S_OK);
  platform::setDirectDrawQueryHook(nullptr);
  IDirectDrawSurface4* surface = offscreen(4, 4, 0x2840);
  EXPECT_EQ(surface->QueryInterface(kSomeDirect3DIid, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(surface->QueryInterface(IID_IDirectDrawSurface4, &object), S_OK);
  EXPECT_EQ(surface->Release(), 1u);
  surface->Release();
}

}  // namespace
}  // namespace platformtest
