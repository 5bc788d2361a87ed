// DisplayDevice and Surface: create sequences, repeated creation and release, the cleared
// back buffer, presenting by BltFast, failure messages, loadBitmap and drawText.
#include <cstdio>
#include <cstring>

#include "foundation/DebugLog.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayMessages.h"
#include "graphics/LastResult.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "tests/platform/PlatformFixture.h"
#include "tests/support/test_files.h"

namespace platformtest {
namespace {

class Display : public PlatformTest {
 protected:
  static DWORD capsOf(Surface* surface) {
    DDSCAPS2 caps{};
    surface->surface->GetCaps(&caps);
    return caps.dwCaps;
  }
  static bool allZero(Surface* surface) {
    platform::SurfaceMemory memory;
    platform::surfaceMemory(surface->surface, memory);
    for (int y = 0; y < memory.height; ++y) {
      const auto* row = static_cast<const std::uint16_t*>(memory.bits) + y * (memory.pitch / 2);
      for (int x = 0; x < memory.width; ++x)
        if (row[x] != 0) return false;
    }
    return true;
  }
  std::string logText() { return qeltest::readFileText(kDebugLogFileName); }
};

TEST_F(Display, FullScreenCreateBuildsAFlipChainWith640x480SurfacesAndAZeroBackBuffer) {
  HWND window = openWindow();
  DisplayDevice device;
  device.fullScreen = 1;
  device.hardware = 1;
  ASSERT_EQ(device.create(window), 1);
  ASSERT_NE(device.directDraw, nullptr);
  ASSERT_NE(device.directDraw4, nullptr);
  EXPECT_EQ(capsOf(device.primary), 0x2218u);
  EXPECT_TRUE(capsOf(device.backBuffer) & DDSCAPS_BACKBUFFER);
  for (Surface* surface : {device.primary, device.backBuffer}) {
    EXPECT_EQ(surface->width, 640);
    EXPECT_EQ(surface->height, 480);
    DDSURFACEDESC2 description{};
    description.dwSize = DDSURFACEDESC2_SIZE32;
    ASSERT_EQ(surface->surface->GetSurfaceDesc(&description), DD_OK);
    EXPECT_EQ(description.dwWidth, 640u);
    EXPECT_EQ(description.dwHeight, 480u);
    DDCOLORKEY key{1, 1};
    EXPECT_EQ(surface->surface->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
  }
  EXPECT_TRUE(allZero(device.backBuffer));
  EXPECT_EQ(lastResult, DD_OK);  // the clear
}

TEST_F(Display, WindowedBackBufferCapsFollowTheHardwareFlag) {
  HWND window = openWindow();
  DisplayDevice software;
  ASSERT_EQ(software.create(window), 1);
  EXPECT_EQ(capsOf(software.primary), 0x200u);
  EXPECT_EQ(capsOf(software.backBuffer), 0x2840u);
  EXPECT_TRUE(allZero(software.backBuffer));
  software.releaseAll();

  DisplayDevice hardware;
  hardware.hardware = 1;
  ASSERT_EQ(hardware.create(window), 1);
  EXPECT_EQ(capsOf(hardware.backBuffer), 0x6040u);
}

TEST_F(Display, CreatingTwiceGivesOneSetOfSurfaces) {
  HWND window = openWindow();
  DisplayDevice device;
  device.fullScreen = 1;
  ASSERT_EQ(device.create(window), 1);
  Surface* firstPrimary = device.primary;
  (void)firstPrimary;
  // A second primary could not exist beside the first: the second create succeeds only
  // because it released the first set.
  ASSERT_EQ(device.create(window), 1);
  EXPECT_NE(device.primary, nullptr);
  EXPECT_NE(device.backBuffer, nullptr);
  device.releaseAll();
  // With everything released, a plain DirectDraw object can make a primary again.
  IDirectDraw* directDraw = nullptr;
  IDirectDraw4* dd4 = nullptr;
  ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
  directDraw->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd4));
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  IDirectDrawSurface4* primary = nullptr;
  EXPECT_EQ(dd4->CreateSurface(&description, &primary, nullptr), DD_OK);
  if (primary) primary->Release();
  dd4->Release();
  EXPECT_EQ(directDraw->Release(), 0u);
}

TEST_F(Display, ReleaseAllIsSafeOnANeverCreatedDeviceAndTwice) {
  DisplayDevice never;
  never.releaseAll();
  never.releaseAll();
  EXPECT_EQ(never.directDraw, nullptr);
  EXPECT_EQ(never.primary, nullptr);

  HWND window = openWindow();
  DisplayDevice device;
  ASSERT_EQ(device.create(window), 1);
  device.releaseAll();
  device.releaseAll();
  EXPECT_EQ(device.directDraw, nullptr);
  EXPECT_EQ(device.directDraw4, nullptr);
  EXPECT_EQ(device.primary, nullptr);
  EXPECT_EQ(device.backBuffer, nullptr);
}

TEST_F(Display, ANoPrimaryFailureLogsItsMessageAndLeavesTheDeviceEmpty) {
  std::remove(kDebugLogFileName);
  DisplayDevice device;
  device.fullScreen = 1;
  EXPECT_EQ(device.create(nullptr), 0);  // exclusive mode needs a window: no flip chain
  EXPECT_EQ(device.directDraw, nullptr);
  EXPECT_EQ(device.primary, nullptr);
  EXPECT_EQ(logText(), std::string(kPrimaryFailedMessage));

  // Another primary already on the screen: the windowed path fails the same way.
  HWND window = openWindow();
  DisplayDevice holder;
  ASSERT_EQ(holder.create(window), 1);
  std::remove(kDebugLogFileName);
  DisplayDevice second;
  EXPECT_EQ(second.create(window), 0);
  EXPECT_EQ(logText(), std::string(kPrimaryFailedMessage));
  EXPECT_EQ(second.directDraw4, nullptr);
}

TEST_F(Display, PresentingIsABltFastOfTheBackBufferToThePrimary) {
  HWND window = openWindow();
  DisplayDevice device;
  device.fullScreen = 1;
  ASSERT_EQ(device.create(window), 1);
  device.backBuffer->drawText(4, 4, "FPS =50.000000");
  RECT all{0, 0, 640, 480};
  lastResult = device.primary->surface->BltFast(0, 0, device.backBuffer->surface, &all,
                                                DDBLTFAST_WAIT);
  EXPECT_EQ(lastResult, DD_OK);
  EXPECT_EQ(headless->session().presentedFrames(), 1);
  platform::SurfaceMemory memory;
  platform::surfaceMemory(device.primary->surface, memory);
  const auto* pixels = static_cast<const std::uint16_t*>(memory.bits);
  EXPECT_EQ(pixels[4 * (memory.pitch / 2) + 4], 0xFFFF);  // the text cell's white background
  int dark = 0;
  for (int y = 4; y < 20; ++y)
    for (int x = 4; x < 4 + 14 * 8; ++x) dark += pixels[y * (memory.pitch / 2) + x] == 0;
  EXPECT_GT(dark, 50);  // glyph pixels
}

TEST_F(Display, SurfaceCreateKeepsItsSizeAndMemoryChoiceAndMakesAPalette) {
  HWND window = openWindow();
  DisplayDevice device;
  ASSERT_EQ(device.create(window), 1);
  Surface surface(&device);
  surface.width = 128;
  surface.height = 64;
  surface.videoMemory = 1;
  surface.colourTable[3] = PALETTEENTRY{10, 20, 30, 0};
  ASSERT_EQ(surface.create(&device), 1);
  EXPECT_EQ(capsOf(&surface), 0x6040u);
  ASSERT_NE(surface.palette, nullptr);
  EXPECT_EQ(surface.colourTable[0].peFlags, 0x40);
  EXPECT_EQ(surface.colourTable[9].peFlags, 0x40);
  EXPECT_EQ(surface.colourTable[10].peFlags, 0x01);
  EXPECT_EQ(surface.colourTable[245].peFlags, 0x01);
  EXPECT_EQ(surface.colourTable[246].peFlags, 0x40);
  EXPECT_EQ(surface.colourTable[3].peRed, 10);  // colours untouched
  ASSERT_EQ(surface.create(&device), 1);  // again: the first surface is released, not leaked
  surface.releaseSurface();
  surface.releaseSurface();
  EXPECT_EQ(surface.surface, nullptr);
  EXPECT_EQ(surface.palette, nullptr);

  Surface orphan;
  orphan.width = orphan.height = 8;
  EXPECT_EQ(orphan.create(nullptr), 0);  // no display: refused
}

TEST_F(Display, LoadBitmapOfAMissingFileLeavesTheSurfaceEmpty) {
  HWND window = openWindow();
  DisplayDevice device;
  ASSERT_EQ(device.create(window), 1);
  Surface surface(&device);
  EXPECT_EQ(surface.loadBitmap("no-such-file.bmp"), 0);
  EXPECT_EQ(surface.surface, nullptr);
  EXPECT_EQ(surface.palette, nullptr);
}

TEST_F(Display, LoadBitmapCopiesTheImageAndItsColourTable) {
  // A 2x2 8-bit bottom-up BMP: palette entry 1 is pure red, entry 2 pure blue.
  std::vector<std::uint8_t> file(54 + 256 * 4 + 8, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&file[at], &v, 4); };
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&file[at], &v, 2); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, std::uint32_t(file.size()));
  put32(10, 54 + 256 * 4);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  put16(26, 1);
  put16(28, 8);
  put32(46, 256);
  file[54 + 4 + 2] = 0xFF;  // entry 1: B G R = 0 0 255
  file[54 + 8 + 0] = 0xFF;  // entry 2: blue
  std::size_t bits = 54 + 256 * 4;
  file[bits + 0] = 1;  // bottom row: red, blue
  file[bits + 1] = 2;
  file[bits + 4] = 2;  // top row: blue, red
  file[bits + 5] = 1;
  ASSERT_TRUE(qeltest::writeFileBytes("two.bmp", file.data(), file.size()));

  HWND window = openWindow();
  DisplayDevice device;
  ASSERT_EQ(device.create(window), 1);
  Surface surface(&device);
  ASSERT_EQ(surface.loadBitmap("TWO.BMP"), 1);  // found ignoring case
  EXPECT_EQ(surface.width, 0);  // the object's size fields are left alone
  platform::SurfaceMemory memory;
  ASSERT_TRUE(platform::surfaceMemory(surface.surface, memory));
  EXPECT_EQ(memory.width, 2);
  EXPECT_EQ(memory.height, 2);
  EXPECT_EQ(memory.caps, 0x2840u);
  const auto* pixels = static_cast<const std::uint16_t*>(memory.bits);
  EXPECT_EQ(pixels[0], 0x001F);                   // top-left blue
  EXPECT_EQ(pixels[1], 0xF800);                   // top-right red
  EXPECT_EQ(pixels[memory.pitch / 2], 0xF800);    // bottom-left red
  EXPECT_EQ(surface.colourTable[1].peBlue, 0xFF);  // B,G,R kept byte for byte: red's R byte
  EXPECT_NE(surface.palette, nullptr);
}

}  // namespace
}  // namespace platformtest
