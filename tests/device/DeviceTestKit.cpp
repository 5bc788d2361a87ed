#include "DeviceTestKit.h"

#include "platform/d3d/SpanWalker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace devicetest {

TestDevice::TestDevice(int w, int h, bool withDepth)
    : width(w), height(h), hasDepth(withDepth), color(w * h, 0), depth(w * h, 0xFFFF), device(new platform::SoftwareDevice) {
  platform::DepthTarget d{depth.data(), w * 2, w, h};
  device->setTargets(colorTarget(), withDepth ? &d : nullptr);
  setViewport();
}

void TestDevice::setViewport(float clipX, float clipY, float clipW, float clipH) {
  D3DVIEWPORT2 vp{};
  vp.dwSize = sizeof vp;
  vp.dwWidth = width;
  vp.dwHeight = height;
  vp.dvClipX = clipX, vp.dvClipY = clipY, vp.dvClipWidth = clipW, vp.dvClipHeight = clipH;
  vp.dvMinZ = 0, vp.dvMaxZ = 1;
  device->setViewport(&vp);
}

void TestDevice::clear(std::uint32_t rgb, float z) {
  D3DRECT r{0, 0, width, height};
  device->clear(1, &r, D3DCLEAR_TARGET | (hasDepth ? D3DCLEAR_ZBUFFER : 0), rgb, z);
}

std::uint32_t TestDevice::rgb(int x, int y) const { return platform::rgbOf565(pixel(x, y)); }

int TestDevice::countNot(std::uint16_t background) const {
  int n = 0;
  for (std::uint16_t p : color) n += p != background;
  return n;
}

D3DTLVERTEX tl(float x, float y, float z, D3DCOLOR c, float u, float v, float rhw, D3DCOLOR specular) {
  return D3DTLVERTEX{x, y, z, rhw, c, specular, u, v};
}

D3DLVERTEX lv(float x, float y, float z, D3DCOLOR c, float u, float v, D3DCOLOR specular) {
  return D3DLVERTEX{x, y, z, 0, c, specular, u, v};
}

D3DVERTEX vx(float x, float y, float z, float nx, float ny, float nz, float u, float v) {
  return D3DVERTEX{x, y, z, nx, ny, nz, u, v};
}

bool near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    if (std::abs(ca - cb) > tolerance) return false;
  }
  return true;
}

float asFloat(DWORD d) {
  float f;
  std::memcpy(&f, &d, 4);
  return f;
}

DWORD floatBits(float f) {
  DWORD d;
  std::memcpy(&d, &f, 4);
  return d;
}

D3DMATRIX defaultProjection() {
  D3DMATRIX m{};
  m._11 = 1, m._22 = 1, m._33 = 1, m._34 = 1, m._43 = -1, m._44 = 0;
  return m;
}

platform::ViewportMapping fullViewport(int w, int h) {
  D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 0, 0, DWORD(w), DWORD(h), -1, 1, 2, 2, 0, 1};
  platform::ViewportMapping m;
  m.build(vp, w, h);
  return m;
}

void expectWalkMatchesCoverage(const platform::TriangleSetup& t) {
  platform::SpanWalker walk(t);
  for (int y = t.rowFirst; y <= t.rowLast; ++y, walk.next()) {
    ASSERT_EQ(y, walk.row());
    int first = 0, last = -1;
    const bool any = walk.span(&first, &last);
    for (int x = t.left; x < t.right; ++x)
      ASSERT_EQ(t.covers(x, y), any && x >= first && x <= last) << "pixel " << x << "," << y;
  }
}

}  // namespace devicetest
