// Support for the Renderer and Texture tests: a clean window system with a headless backend
// and one window per test, small BMP files written into the scratch directory, surface reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/DebugLog.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Renderer.h"
#include "graphics/Surface.h"
#include "graphics/Texture.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "platform/gdi/WinGdi.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"
#include "tests/support/test_files.h"

namespace renderertest {

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowSystem();
    platform::installBackend(std::make_unique<platform::HeadlessBackend>());
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "renderer test";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "renderer test", "Test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                             nullptr, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    std::remove(kDebugLogFileName);
  }
  void TearDown() override {
    platform::resetWindowSystem();
    platform::installBackend(nullptr);
  }

  static std::string logText() { return qeltest::readFileText(kDebugLogFileName); }

  // The caps a surface was created with.
  static DWORD capsOf(IDirectDrawSurface4* surface) {
    DDSCAPS2 caps{};
    surface->GetCaps(&caps);
    return caps.dwCaps;
  }
  // The reference count of a COM object, left unchanged.
  static ULONG references(IUnknown* object) {
    object->AddRef();
    return object->Release();
  }
  // A 16-bit pixel of a surface.
  static std::uint16_t pixel16(IDirectDrawSurface4* surface, int x, int y) {
    platform::SurfaceMemory memory;
    if (!platform::surfaceMemory(surface, memory) || memory.bitsPerPixel != 16) return 0;
    return static_cast<const std::uint16_t*>(memory.bits)[y * (memory.pitch / 2) + x];
  }
  // Whether every bucket of the table is empty.
  static bool tableEmpty(Renderer& renderer) {
    for (int b = 0; b < HashTable::kBucketCount; ++b)
      if (renderer.textures.bucket(b).next != &renderer.textures.bucket(b)) return false;
    return true;
  }
  // How many nodes of the table hold `entry`.
  static int tableCount(Renderer& renderer, const Texture* entry) {
    int count = 0;
    for (int b = 0; b < HashTable::kBucketCount; ++b)
      for (HashNode* n = renderer.textures.bucket(b).next; n != &renderer.textures.bucket(b); n = n->next)
        count += n->value == entry;
    return count;
  }

  HWND window = nullptr;
};

// RGB of 8 bits per channel as the 565 pixel a truncating conversion makes.
inline std::uint16_t rgb565(std::uint32_t rgb) {
  return std::uint16_t(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

// Writes a bottom-up 24-bit BMP of width x height whose pixel (x, y) (top row 0) is
// colour(x, y) as 0x00RRGGBB.
inline bool writeBmp24(const std::string& path, int width, int height,
                       const std::function<std::uint32_t(int, int)>& colour) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const std::uint32_t imageBytes = std::uint32_t(rowBytes * height);
  std::vector<std::uint8_t> file(54 + imageBytes, 0);
  auto put16 = [&](int at, std::uint32_t v) {
    file[at] = std::uint8_t(v);
    file[at + 1] = std::uint8_t(v >> 8);
  };
  auto put32 = [&](int at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, std::uint32_t(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, std::uint32_t(width));
  put32(22, std::uint32_t(height));
  put16(26, 1);
  put16(28, 24);
  put32(34, imageBytes);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = &file[54 + std::size_t(height - 1 - y) * rowBytes];
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      row[x * 3] = std::uint8_t(c);
      row[x * 3 + 1] = std::uint8_t(c >> 8);
      row[x * 3 + 2] = std::uint8_t(c >> 16);
    }
  }
  return qeltest::writeFileBytes(path, file.data(), file.size());
}

// An 8x8 checker of two colours in 2x2 squares.
inline bool writeChecker(const std::string& path, std::uint32_t a = 0xF80000, std::uint32_t b = 0x00FC00) {
  return writeBmp24(path, 8, 8, [&](int x, int y) { return ((x / 2 + y / 2) % 2) ? a : b; });
}

}  // namespace renderertest
