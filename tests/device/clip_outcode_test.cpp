// Outcodes against the plane distances the clipper computes: a bit is set exactly when the
// vertex is outside (or its distance is NaN), for the clip-space and the screen-space
// plane sets, including vertices lying exactly on a plane. Projection maps depth through
// the viewport's z range, the usual 0..1 range included. A repeated build() reuses the
// last mapping only for the same viewport, target size and plane set.
#include "platform/d3d/Clipper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

unsigned outcodeByDistance(const platform::ViewportMapping& m, const platform::ClipVertex& v) {
  unsigned code = 0;
  for (int k = 0; k < m.planeCount; ++k) {
    const float* p = m.plane[k];
    const float d = p[0] * v.pos[0] + p[1] * v.pos[1] + p[2] * v.pos[2] + p[3] * v.pos[3] + p[4];
    if (!(d >= 0)) code |= 1u << k;
  }
  return code;
}

}  // namespace

TEST(ClipOutcode, AgreesWithPlaneDistancesInBothPlaneSets) {
  D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 10, 20, 320, 200, -1, 1, 2, 2, 0.1f, 0.9f};
  platform::ViewportMapping clip, screen;
  ASSERT_TRUE(clip.build(vp, 400, 300));
  ASSERT_TRUE(screen.build(vp, 400, 300));
  screen.useScreenSpacePlanes();
  EXPECT_EQ(7, clip.planeCount);
  EXPECT_EQ(4, screen.planeCount);
  std::mt19937 rng(31);
  std::uniform_real_distribution<float> wide(-20, 20), far(-6000, 6000), pick(0, 1);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  int outside[2] = {0, 0};
  for (int k = 0; k < 20000; ++k) {
    platform::ClipVertex v{};
    const platform::ViewportMapping& m = k % 2 ? screen : clip;
    for (float& c : v.pos) c = k % 2 ? far(rng) : wide(rng);
    if (k % 2) v.pos[3] = 1;
    if (k % 97 == 0) v.pos[k % 4] = nan;
    if (k % 13 == 0) v.pos[2] = 0.1f * v.pos[3];  // on the near plane
    if (k % 17 == 0) v.pos[0] = pick(rng) < 0.5f ? -2048.0f + 10 : 10 + 320 + 2048.0f;  // on a guard-band edge
    const unsigned code = platform::outcode(m, v);
    ASSERT_EQ(outcodeByDistance(m, v), code) << "vertex " << k;
    outside[k % 2] += code != 0;
  }
  EXPECT_GT(outside[0], 1000);
  EXPECT_GT(outside[1], 1000);
}

TEST(ClipProjection, DepthFollowsTheViewportZRange) {
  platform::ViewportMapping unit, narrow;
  D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 0, 0, 64, 48, -1, 1, 2, 2, 0, 1};
  ASSERT_TRUE(unit.build(vp, 64, 48));
  vp.dvMinZ = 0.25f, vp.dvMaxZ = 0.75f;
  ASSERT_TRUE(narrow.build(vp, 64, 48));
  std::mt19937 rng(41);
  std::uniform_real_distribution<float> pos(-3, 3), w(0.05f, 40);
  for (int k = 0; k < 1000; ++k) {
    platform::ClipVertex v{};
    v.pos[0] = pos(rng), v.pos[1] = pos(rng), v.pos[3] = w(rng), v.pos[2] = v.pos[3] * (pos(rng) + 3) / 6;
    const float zn = v.pos[2] * (1.0f / v.pos[3]);
    platform::ScreenVertex a, b;
    platform::projectVertex(unit, v, true, &a);
    platform::projectVertex(narrow, v, true, &b);
    ASSERT_EQ(zn, a.z);
    ASSERT_EQ((zn - 0.25f) / 0.5f, b.z);
    ASSERT_EQ(a.x, b.x);
    ASSERT_EQ(a.rhw, b.rhw);
  }
}

TEST(ClipMapping, RebuildFollowsViewportTargetAndPlaneSet) {
  D3DVIEWPORT2 a{sizeof(D3DVIEWPORT2), 0, 0, 64, 48, -1, 1, 2, 2, 0, 1};
  D3DVIEWPORT2 b = a;
  b.dwX = 8, b.dwWidth = 32, b.dvMinZ = 0.5f;
  platform::ViewportMapping fresh, m;
  ASSERT_TRUE(fresh.build(a, 64, 48));
  ASSERT_TRUE(m.build(a, 64, 48));
  m.useScreenSpacePlanes();
  ASSERT_EQ(4, m.planeCount);
  ASSERT_TRUE(m.build(a, 64, 48));  // the clip-space planes come back
  EXPECT_EQ(7, m.planeCount);
  EXPECT_EQ(0, std::memcmp(fresh.plane, m.plane, sizeof m.plane));
  EXPECT_EQ(0, std::memcmp(fresh.planeLanes, m.planeLanes, sizeof m.planeLanes));
  ASSERT_TRUE(m.build(b, 64, 48));
  EXPECT_EQ(8, m.left);
  EXPECT_EQ(40, m.right);
  EXPECT_EQ(0.5f, m.minZ);
  ASSERT_TRUE(m.build(b, 36, 48));  // a narrower target cuts the scissor rectangle
  EXPECT_EQ(36, m.right);
  D3DVIEWPORT2 broken = a;
  broken.dwWidth = 0;
  EXPECT_FALSE(m.build(broken, 64, 48));
  ASSERT_TRUE(m.build(a, 64, 48));
  EXPECT_EQ(0, m.left);
  EXPECT_EQ(64, m.right);
  EXPECT_EQ(fresh.scaleX, m.scaleX);
  EXPECT_EQ(fresh.minZ, m.minZ);
}
