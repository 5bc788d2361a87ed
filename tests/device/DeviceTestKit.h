// Helpers for the software device tests: a device over owned colour and depth memory,
// vertex builders and pixel reads.
#pragma once

#include "platform/d3d/SoftwareDevice.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace devicetest {

// A device drawing into its own W x H RGB565 target and D16 depth buffer, with a full
// viewport (clip -1..1 on both axes) set.
struct TestDevice {
  int width, height;
  bool hasDepth;
  std::vector<std::uint16_t> color, depth;
  std::unique_ptr<platform::SoftwareDevice> device;

  TestDevice(int w, int h, bool withDepth = true);
  platform::ColorTarget colorTarget() { return {color.data(), width * 2, width, height}; }
  // Sets D3DVIEWPORT2 with the given clip rectangle over the whole target.
  void setViewport(float clipX = -1, float clipY = 1, float clipW = 2, float clipH = 2);
  // Clears colour (0x00RRGGBB) and depth (1.0).
  void clear(std::uint32_t rgb = 0, float z = 1.0f);
  std::uint16_t pixel(int x, int y) const { return color[y * width + x]; }
  std::uint32_t rgb(int x, int y) const;  // expanded 0x00RRGGBB
  std::uint16_t depthAt(int x, int y) const { return depth[y * width + x]; }
  // Number of pixels that differ from the raw value `background`.
  int countNot(std::uint16_t background) const;
};

D3DTLVERTEX tl(float x, float y, float z = 0.5f, D3DCOLOR c = 0xFFFFFFFF, float u = 0, float v = 0, float rhw = 1.0f,
               D3DCOLOR specular = 0xFF000000);
D3DLVERTEX lv(float x, float y, float z, D3DCOLOR c = 0xFFFFFFFF, float u = 0, float v = 0, D3DCOLOR specular = 0xFF000000);
D3DVERTEX vx(float x, float y, float z, float nx, float ny, float nz, float u = 0, float v = 0);

// Per-channel closeness of two 0x00RRGGBB colours.
bool near(std::uint32_t a, std::uint32_t b, int tolerance);

float asFloat(DWORD d);
DWORD floatBits(float f);

// The engine's default perspective: 90 degrees, near plane 1, far plane at infinity.
D3DMATRIX defaultProjection();

// The viewport mapping of a full w x h viewport (its scissor rectangle is the whole target).
platform::ViewportMapping fullViewport(int w, int h);

// Asserts that the span walker's rows of `setup` are exactly its per-pixel coverage over the
// whole scissor rectangle.
void expectWalkMatchesCoverage(const platform::TriangleSetup& setup);

}  // namespace devicetest
