// Triangle setup and the row walk at their limits: attribute planes against an exact
// interpolation (ordinary, guard-band sized and sliver triangles, either winding), the
// attribute mask, coverage of shared edges with large coordinates, and the walk's exact
// quotients for coordinates near the setup's limit.
#include "platform/d3d/SpanWalker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using platform::ScreenVertex;
using platform::TriangleSetup;

platform::ViewportMapping scissor(int x, int y, int w, int h) {
  D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), DWORD(x), DWORD(y), DWORD(w), DWORD(h), -1, 1, 2, 2, 0, 1};
  platform::ViewportMapping m;
  m.build(vp, x + w, y + h);
  return m;
}

ScreenVertex vertex(float x, float y, std::mt19937& rng) {
  std::uniform_real_distribution<float> unit(0, 1);
  ScreenVertex v{};
  v.x = x, v.y = y;
  v.z = unit(rng);
  v.rhw = v.pw = 0.01f + unit(rng);
  for (float& q : v.q) q = unit(rng) * 255 * v.pw;
  return v;
}

// The value at (px, py) of the plane through the three snapped vertices, in long double.
long double exactValue(const TriangleSetup& t, const float value[3], double px, double py) {
  const long double s = 1.0L / TriangleSetup::kOne;
  long double x[3], y[3];
  for (int i = 0; i < 3; ++i) x[i] = t.X[i] * s, y[i] = t.Y[i] * s;
  const long double area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  const long double w1 = ((px - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (py - y[0])) / area;
  const long double w2 = ((x[1] - x[0]) * (py - y[0]) - (px - x[0]) * (y[1] - y[0])) / area;
  return value[0] + w1 * (value[1] - value[0]) + w2 * (value[2] - value[0]);
}

double planeAt(const platform::AttributePlane& p, const TriangleSetup& t, double px, double py) {
  return p.v0 + static_cast<double>(p.ddx) * (px - t.x0) + static_cast<double>(p.ddy) * (py - t.y0);
}

// Every plane of `t` evaluated at the scissor's corners and centre agrees with the exact
// interpolation of the vertex values (in the set-up order, found by position) to `tolerance`
// of the values' magnitude.
void expectPlanesExact(const TriangleSetup& t, const ScreenVertex* const in[3], double tolerance) {
  const ScreenVertex* v[3];
  for (int i = 0; i < 3; ++i)
    for (const ScreenVertex* c : {in[0], in[1], in[2]})
      if (std::llround(double(c->x) * TriangleSetup::kOne) == t.X[i] &&
          std::llround(double(c->y) * TriangleSetup::kOne) == t.Y[i])
        v[i] = c;
  const double cx[] = {double(t.left), double(t.right - 1), double(t.left), double(t.right - 1),
                       (t.left + t.right) / 2.0};
  const double cy[] = {double(t.rowFirst), double(t.rowFirst), double(t.rowLast), double(t.rowLast),
                       (t.rowFirst + t.rowLast) / 2.0};
  auto check = [&](const platform::AttributePlane& p, float a, float b, float c, const char* name) {
    const float value[3] = {a, b, c};
    const double scale = std::max({std::fabs(a), std::fabs(b), std::fabs(c), 1e-3f});
    for (int k = 0; k < 5; ++k)
      EXPECT_NEAR(planeAt(p, t, cx[k], cy[k]), double(exactValue(t, value, cx[k], cy[k])), tolerance * scale)
          << name << " at " << cx[k] << "," << cy[k];
  };
  check(t.z, v[0]->z, v[1]->z, v[2]->z, "z");
  check(t.rhw, v[0]->rhw, v[1]->rhw, v[2]->rhw, "rhw");
  check(t.pw, v[0]->pw, v[1]->pw, v[2]->pw, "pw");
  for (int k = 0; k < platform::kAttrCount; ++k) check(t.q[k], v[0]->q[k], v[1]->q[k], v[2]->q[k], "q");
}

}  // namespace

TEST(TriangleSetupPlanes, MatchExactInterpolationFromSmallToGuardBandSize) {
  const platform::ViewportMapping map = scissor(0, 0, 640, 480);
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> centre(-100, 740), unit(0, 1);
  int checked = 0;
  for (int k = 0; k < 600; ++k) {
    // Sizes from a few pixels up to the guard band (2048 pixels beyond each edge).
    const float size = std::pow(2.0f, 2.0f + 10.0f * unit(rng));
    ScreenVertex v[3];
    for (auto& p : v) p = vertex(centre(rng) + (unit(rng) - 0.5f) * size, centre(rng) + (unit(rng) - 0.5f) * size, rng);
    TriangleSetup t;
    if (!platform::setupTriangle(v[0], v[1], v[2], D3DCULL_NONE, map, &t)) continue;
    const ScreenVertex* in[3] = {&v[0], &v[1], &v[2]};
    // Well-shaped triangles (not slivers): a few float steps of the largest value.
    const double area = std::fabs(double(t.X[1] - t.X[0]) * double(t.Y[2] - t.Y[0]) -
                                  double(t.X[2] - t.X[0]) * double(t.Y[1] - t.Y[0]));
    double longest = 0;
    for (int i = 0; i < 3; ++i)
      longest = std::max(longest, std::hypot(double(t.X[(i + 1) % 3] - t.X[i]), double(t.Y[(i + 1) % 3] - t.Y[i])));
    if (area < 0.1 * longest * longest) continue;
    ++checked;
    expectPlanesExact(t, in, 2e-5);
    if (HasFailure()) return;
  }
  EXPECT_GT(checked, 150);
}

TEST(TriangleSetupPlanes, GuardBandTrianglesAndSlivers) {
  const platform::ViewportMapping map = scissor(0, 0, 640, 480);
  std::mt19937 rng(11);
  struct Case {
    float x[3], y[3];
    double tolerance;
  } cases[] = {
      {{-2040.5f, 2680.25f, 320.0f}, {-2000.0f, -1990.75f, 2520.0f}, 2e-5},  // spans the whole guard band
      {{2680.0f, -2040.0f, 2600.0f}, {-2040.0f, 200.0f, 2520.0f}, 2e-5},
      {{-2000.0f, 2600.0f, -2000.0f}, {100.0f, 101.0f, 103.0f}, 1e-4},       // long sliver across the target
      {{10.0f, 11.5f, 12.0f}, {-2000.0f, 2400.0f, 2500.0f}, 1e-4},           // tall sliver
  };
  for (const Case& c : cases) {
    ScreenVertex v[3];
    for (int i = 0; i < 3; ++i) v[i] = vertex(c.x[i], c.y[i], rng);
    for (int order = 0; order < 2; ++order) {  // both windings
      const ScreenVertex* in[3] = {&v[0], &v[1 + order], &v[2 - order]};
      TriangleSetup t;
      ASSERT_TRUE(platform::setupTriangle(*in[0], *in[1], *in[2], D3DCULL_NONE, map, &t));
      expectPlanesExact(t, in, c.tolerance);
    }
  }
}

TEST(TriangleSetupSnap, RoundsHalvesAwayFromZeroAndRefusesTheLimit) {
  const platform::ViewportMapping map = scissor(0, 0, 64, 64);
  std::mt19937 rng(2);
  const float half = 1.0f / 512;  // half a sub-pixel step
  TriangleSetup t;
  ASSERT_TRUE(platform::setupTriangle(vertex(-10 - half, 1 + half, rng), vertex(40 + half, -3 - half, rng),
                                      vertex(-0.0f, 999999.9f, rng), D3DCULL_NONE, map, &t));
  std::int64_t xs[3], ys[3];
  for (int i = 0; i < 3; ++i) xs[i] = t.X[i], ys[i] = t.Y[i];
  std::sort(xs, xs + 3);
  std::sort(ys, ys + 3);
  EXPECT_EQ(-2561, xs[0]);
  EXPECT_EQ(0, xs[1]);
  EXPECT_EQ(10241, xs[2]);
  EXPECT_EQ(-769, ys[0]);
  EXPECT_EQ(257, ys[1]);
  EXPECT_EQ(std::llround(double(999999.9f) * 256), ys[2]);
  const float nan = std::nanf("");
  for (float bad : {1.0e6f, -1.0e6f, nan, std::numeric_limits<float>::infinity()})
    for (int at = 0; at < 6; ++at) {
      ScreenVertex v[3] = {vertex(1, 1, rng), vertex(30, 2, rng), vertex(5, 40, rng)};
      (at % 2 ? v[at / 2].y : v[at / 2].x) = bad;
      EXPECT_FALSE(platform::setupTriangle(v[0], v[1], v[2], D3DCULL_NONE, map, &t)) << bad << " at " << at;
    }
}

TEST(TriangleSetupPlanes, OnlyMaskedAttributesAreSetUp) {
  const platform::ViewportMapping map = scissor(0, 0, 64, 64);
  std::mt19937 rng(5);
  const ScreenVertex a = vertex(2, 3, rng), b = vertex(60, 10, rng), c = vertex(20, 55, rng);
  for (unsigned mask : {0u, 1u << platform::kAttrR, 0x2A5u, platform::kAllAttributes}) {
    TriangleSetup t;
    ASSERT_TRUE(platform::setupTriangle(a, b, c, D3DCULL_NONE, map, &t, mask));
    EXPECT_NE(0.0f, t.z.ddx);
    EXPECT_NE(0.0f, t.rhw.v0);
    EXPECT_NE(0.0f, t.pw.ddy);
    for (int k = 0; k < platform::kAttrCount; ++k) {
      const platform::AttributePlane& p = t.q[k];
      const bool set = p.v0 != 0 && p.ddx != 0 && p.ddy != 0, zero = p.v0 == 0 && p.ddx == 0 && p.ddy == 0;
      EXPECT_TRUE((mask >> k) & 1 ? set : zero) << "attribute " << k;
    }
  }
}

// Fans of triangles around a hub far outside the target share edges; with the rim ordered
// around the hub the fan never folds, so each pixel is covered at most once, and the fan
// spans nearly the whole target.
TEST(TriangleSetupCoverage, FarSharedEdgesCoverEachPixelOnce) {
  const platform::ViewportMapping map = scissor(0, 0, 48, 40);
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> far(-4000, -100), side(-200, 250), jitter(-8, 8);
  for (int round = 0; round < 40; ++round) {
    const ScreenVertex hub = vertex(far(rng), side(rng), rng);  // left of the target
    std::vector<ScreenVertex> rim;
    for (int k = 0; k < 7; ++k) rim.push_back(vertex(50.5f + k * 0.25f, -10.25f + k * 9.7f + jitter(rng) * 0.1f, rng));
    std::vector<int> hits(48 * 40, 0);
    for (int k = 0; k + 1 < int(rim.size()); ++k) {
      TriangleSetup t;
      if (!platform::setupTriangle(hub, rim[k], rim[k + 1], D3DCULL_NONE, map, &t)) continue;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 48; ++x) hits[y * 48 + x] += t.covers(x, y);
    }
    for (int i = 0; i < 48 * 40; ++i) ASSERT_LE(hits[i], 1) << "pixel " << i % 48 << "," << i / 48;
    int covered = 0;
    for (int h : hits) covered += h;
    EXPECT_GT(covered, 48 * 20);
  }
}

// Coordinates up to the setup's limit make the walk's start quotients as large as they get;
// every row agrees with the division-based row span.
TEST(SpanWalkerLimits, RowsMatchDividedSpansNearTheCoordinateLimit) {
  std::mt19937 rng(23);
  std::uniform_real_distribution<float> huge(-999000, 999000), unit(0, 1);
  const platform::ViewportMapping maps[] = {scissor(0, 0, 64, 48), scissor(16000, 12000, 384, 256)};
  int walked = 0;
  for (int k = 0; k < 4000; ++k) {
    const platform::ViewportMapping& map = maps[k % 2];
    ScreenVertex v[3];
    for (auto& p : v) p = vertex(huge(rng), huge(rng), rng);
    // Put one edge through the target so that many triangles reach it.
    v[0].x = float(map.left) + unit(rng) * 64, v[0].y = float(map.top) + unit(rng) * 48;
    if (k % 3 == 0) v[1].y = v[0].y;  // horizontal edges
    TriangleSetup t;
    if (!platform::setupTriangle(v[0], v[1], v[2], D3DCULL_NONE, map, &t)) continue;
    ++walked;
    platform::SpanWalker walk(t);
    for (int y = t.rowFirst; y <= t.rowLast; ++y, walk.next()) {
      int f0 = 0, l0 = -1, f1 = 0, l1 = -1;
      const bool a = t.rowSpan(y, &f0, &l0), b = walk.span(&f1, &l1);
      ASSERT_EQ(a, b) << "row " << y << " of triangle " << k;
      if (a) {
        ASSERT_TRUE(f0 == f1 && l0 == l1) << "row " << y << " of triangle " << k;
      }
    }
  }
  EXPECT_GT(walked, 1000);
}
