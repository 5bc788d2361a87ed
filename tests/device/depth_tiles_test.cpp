// Coarse depth tiles: each tile bounds the depths of its pixels, a triangle is dropped only
// where every pixel it reaches would fail its depth test, and the device stops trusting the
// tiles whenever the depth buffer may take larger values.
#include "DeviceTestKit.h"
#include "platform/d3d/DepthTiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

using namespace devicetest;

namespace {

// A small triangle with its corners at (x, y), (x + 2, y), (x, y + 2) and depths z0, z1, z2
// there (all z0 unless given).
platform::TriangleSetup smallTriangle(float x, float y, float z0, const platform::ViewportMapping& map,
                                      float z1 = -1, float z2 = -1) {
  auto at = [](float sx, float sy, float z) {
    platform::ScreenVertex v{};
    v.x = sx, v.y = sy, v.z = z, v.rhw = 1, v.pw = 1;
    return v;
  };
  platform::TriangleSetup t;
  EXPECT_TRUE(platform::setupTriangle(at(x, y, z0), at(x + 2, y, z1 < 0 ? z0 : z1), at(x, y + 2, z2 < 0 ? z0 : z2),
                                      D3DCULL_NONE, map, &t));
  return t;
}

}  // namespace

// Every tile, the narrower ones at the right and bottom edges too, holds the largest depth
// of its pixels: a triangle one step behind it is hidden, one level with it is not.
TEST(DepthTiles, EachTileHoldsItsLargestDepth) {
  constexpr int kW = 83, kH = 61;
  std::mt19937 rng(11);
  std::vector<std::uint16_t> depth(kW * kH);
  for (auto& d : depth) d = std::uint16_t(rng() % 60000);
  platform::DepthTiles tiles;
  EXPECT_FALSE(tiles.hides(smallTriangle(0.5f, 0.5f, 1.0f, fullViewport(kW, kH))));  // nothing built yet
  tiles.build({depth.data(), kW * 2, kW, kH}, kW, kH);
  ASSERT_TRUE(tiles.valid());
  const platform::ViewportMapping map = fullViewport(kW, kH);
  for (int ty = 0; ty * 8 < kH; ++ty) {
    for (int tx = 0; tx * 8 < kW; ++tx) {
      std::uint16_t largest = 0;
      for (int y = ty * 8; y < std::min(ty * 8 + 8, kH); ++y)
        for (int x = tx * 8; x < std::min(tx * 8 + 8, kW); ++x) largest = std::max(largest, depth[y * kW + x]);
      const float x = tx * 8 + 0.5f, y = ty * 8 + 0.5f;  // the triangle's pixels stay in the tile
      EXPECT_TRUE(tiles.hides(smallTriangle(x, y, (largest + 1.5f) / 65535.0f, map))) << tx << "," << ty;
      EXPECT_FALSE(tiles.hides(smallTriangle(x, y, largest / 65535.0f, map))) << tx << "," << ty;
      // Stored depths are rounded: this depth stores as `largest` and passes LESSEQUAL there.
      EXPECT_FALSE(tiles.hides(smallTriangle(x, y, (largest + 0.4f) / 65535.0f, map))) << tx << "," << ty;
    }
  }
  tiles.invalidate();
  EXPECT_FALSE(tiles.hides(smallTriangle(0.5f, 0.5f, 1.0f, map)));
}

// A triangle reaching a tile that holds anything behind it is kept, as are depths that are
// not numbers.
TEST(DepthTiles, KeepsWhatMightShow) {
  constexpr int kW = 32, kH = 16;
  std::vector<std::uint16_t> depth(kW * kH, 1000);
  depth[5 * kW + 17] = 40000;  // one far pixel in tile (2, 0)
  platform::DepthTiles tiles;
  tiles.build({depth.data(), kW * 2, kW, kH}, kW, kH);
  const platform::ViewportMapping map = fullViewport(kW, kH);
  const float z = 20000.0f / 65535.0f;
  EXPECT_TRUE(tiles.hides(smallTriangle(9.5f, 1.5f, z, map)));    // tile (1, 0)
  EXPECT_FALSE(tiles.hides(smallTriangle(14.5f, 1.5f, z, map)));  // reaches into tile (2, 0)
  // Sloped: the nearest corner decides, whichever it is.
  const float nearer = 900.0f / 65535.0f;
  EXPECT_TRUE(tiles.hides(smallTriangle(9.5f, 1.5f, z, map, 2 * z, 1.5f * z)));
  EXPECT_FALSE(tiles.hides(smallTriangle(9.5f, 1.5f, z, map, nearer, z)));
  EXPECT_FALSE(tiles.hides(smallTriangle(9.5f, 1.5f, z, map, z, nearer)));
  EXPECT_FALSE(tiles.hides(smallTriangle(9.5f, 1.5f, nearer, map, z, z)));
  platform::TriangleSetup t = smallTriangle(9.5f, 1.5f, z, map);
  t.z.v0 = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(tiles.hides(t));
  t.z.v0 = z, t.z.ddx = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(tiles.hides(t));
}

namespace {

// Screen-filling quads drawn through the device: opaque ones write depth, particles (additive,
// no depth write) only test it.
void drawQuad(TestDevice& t, float z, D3DCOLOR c, bool particle, DWORD zfunc = D3DCMP_LESSEQUAL) {
  const float w = float(t.width), h = float(t.height);
  D3DTLVERTEX q[4] = {tl(0, 0, z, c), tl(w, 0, z, c), tl(0, h, z, c), tl(w, h, z, c)};
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setRenderState(D3DRENDERSTATE_ZFUNC, zfunc);
  t.device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, particle ? FALSE : TRUE);
  t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, particle);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, 0);
}

}  // namespace

// A particle behind a near wall is hidden; after anything that moves the depth buffer back
// (a clear, a draw writing under GREATER, a write from outside, a new target), the same
// particle in front of the new depths must show, as it does on a device without tiles.
TEST(DepthTiles, DeviceStopsTrustingTilesWhenDepthMayRise) {
  enum Raise { kClear, kGreaterWrite, kOutsideWrite, kNewTarget };
  for (Raise raise : {kClear, kGreaterWrite, kOutsideWrite, kNewTarget}) {
    TestDevice on(48, 40), off(48, 40);
    off.device->useDepthTiles(false);
    for (TestDevice* t : {&on, &off}) {
      t->device->useDeferredShading(true);  // as the Direct3D layer runs it
      t->clear(0);
      drawQuad(*t, 0.2f, 0xFF202020, false);  // the wall
      drawQuad(*t, 0.5f, 0xFF000040, true);   // a particle behind it
      switch (raise) {
        case kClear: t->clear(0x202020, 0.9f); break;
        case kGreaterWrite: drawQuad(*t, 0.9f, 0xFF202020, false, D3DCMP_GREATER); break;
        case kOutsideWrite:
          std::fill(t->depth.begin(), t->depth.end(), std::uint16_t(0.9f * 65535));
          platform::DeferredShading::flushAll();  // what the surface layer does on a Lock
          break;
        case kNewTarget: {
          std::fill(t->depth.begin(), t->depth.end(), std::uint16_t(0.9f * 65535));
          platform::DepthTarget d{t->depth.data(), t->width * 2, t->width, t->height};
          t->device->setTargets(t->colorTarget(), &d);
          break;
        }
      }
      drawQuad(*t, 0.5f, 0xFF000040, true);  // now in front
      t->device->flush();
    }
    EXPECT_NE(off.pixel(10, 10), platform::pack565(0x20, 0x20, 0x20)) << raise;  // the particle shows
    EXPECT_EQ(on.color, off.color) << raise;
  }
}

// Random scenes of walls, particles, backgrounds (opaque, no depth write), depth clears and
// GREATER draws come out the same, pixel for pixel and depth for depth, with the tiles and
// without, drawn at once or deferred.
TEST(DepthTiles, DroppingChangesNoPixel) {
  for (std::uint32_t round = 0; round < 40; ++round) {
    TestDevice on(71, 53), off(71, 53);
    off.device->useDepthTiles(false);
    for (TestDevice* t : {&on, &off}) {
      std::mt19937 rng(round);
      std::uniform_real_distribution<float> pos(-10, 80), unit(0, 1);
      t->device->useDeferredShading(round % 2 == 1);
      t->clear(0x101010);
      t->device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
      t->device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
      t->device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
      for (int draw = 0; draw < 24; ++draw) {
        const int role = int(rng() % 10);
        if (role == 9) {
          D3DRECT r{LONG(rng() % 40), LONG(rng() % 30), LONG(40 + rng() % 40), LONG(30 + rng() % 30)};
          t->device->clear(1, &r, D3DCLEAR_ZBUFFER, 0, unit(rng));
          continue;
        }
        const bool particle = role >= 4 && role < 7, background = role >= 7;
        t->device->setRenderState(D3DRENDERSTATE_ZFUNC, role == 3 ? D3DCMP_GREATER : rng() % 2 ? D3DCMP_LESS : D3DCMP_LESSEQUAL);
        t->device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, particle || background ? FALSE : TRUE);
        t->device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, particle);
        std::vector<D3DTLVERTEX> v;
        for (int k = 0; k < 3 * 10; ++k) {
          const float x = pos(rng), y = pos(rng), size = particle ? 2 + 10 * unit(rng) : 40 * unit(rng);
          const float z = unit(rng), slope = particle ? 0.0f : 0.02f * (unit(rng) - 0.5f);
          v.push_back(tl(x, y, z, rng() | 0xFF000000));
          v.push_back(tl(x + size, y + 0.3f * size, z + slope * size, rng() | 0xFF000000));
          v.push_back(tl(x + 0.2f * size, y + size, z - slope * size, rng() | 0xFF000000));
        }
        t->device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v.data(), DWORD(v.size()), 0);
      }
      t->device->flush();
    }
    ASSERT_EQ(on.color, off.color) << "round " << round;
    ASSERT_EQ(on.depth, off.depth) << "round " << round;
  }
}
