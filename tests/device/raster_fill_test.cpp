// Coverage: integer pixel centres, the top-left rule, sub-pixel precision, shared edges,
// culling by screen winding, and the guard-band and near-plane clipping.
#include "DeviceTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace devicetest;

namespace {

constexpr std::uint16_t kWhite = 0xFFFF;

void drawTL(TestDevice& t, std::initializer_list<D3DTLVERTEX> v, D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST) {
  std::vector<D3DTLVERTEX> verts(v);
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(type, D3DFVF_TLVERTEX, verts.data(), static_cast<DWORD>(verts.size()), 0));
}

std::string coverageMap(const TestDevice& t, int w, int h) {
  std::string s;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s += t.pixel(x, y) ? '#' : '.';
    s += '\n';
  }
  return s;
}

}  // namespace

TEST(FillConvention, SquareCoversExactlyTwentyFivePixels) {
  TestDevice t(8, 8, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  drawTL(t, {tl(0, 0), tl(5, 0), tl(5, 5), tl(0, 0), tl(5, 5), tl(0, 5)});
  EXPECT_EQ(25, t.countNot(0));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(x < 5 && y < 5, t.pixel(x, y) != 0) << x << "," << y;
}

TEST(FillConvention, DiagonalSplitGivesFifteenAndTen) {
  TestDevice a(8, 8, false), b(8, 8, false);
  drawTL(a, {tl(0, 0), tl(5, 0), tl(5, 5)});
  drawTL(b, {tl(0, 5), tl(0, 0), tl(5, 5)});
  EXPECT_EQ(15, a.countNot(0));
  EXPECT_EQ(10, b.countNot(0));
}

TEST(FillConvention, PixelCentresAreIntegers) {
  // The left triangle of the filling-convention test covers exactly (2,3) and (2,4).
  TestDevice t(8, 8, false);
  drawTL(t, {tl(1.5f, 1.5f), tl(2.5f, 3.5f), tl(1.5f, 5.5f)});
  EXPECT_EQ(2, t.countNot(0)) << coverageMap(t, 8, 8);
  EXPECT_NE(0, t.pixel(2, 3));
  EXPECT_NE(0, t.pixel(2, 4));
}

TEST(FillConvention, TransformedVerticesMapLikeScreenVertices) {
  // NDC -2.5/4 on an 8-pixel viewport lands at 1.5: the same coverage as the TL triangle.
  TestDevice t(8, 8, false);
  auto ndcX = [](float px) { return px / 4.0f - 1.0f; };
  auto ndcY = [](float py) { return 1.0f - py / 4.0f; };
  D3DLVERTEX v[3] = {lv(ndcX(1.5f), ndcY(1.5f), 0.5f), lv(ndcX(2.5f), ndcY(3.5f), 0.5f), lv(ndcX(1.5f), ndcY(5.5f), 0.5f)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v, 3, 0));
  EXPECT_EQ(2, t.countNot(0)) << coverageMap(t, 8, 8);
  EXPECT_NE(0, t.pixel(2, 3));
  EXPECT_NE(0, t.pixel(2, 4));
}

TEST(FillConvention, SixteenthPixelNudgeChangesCoverage) {
  // (3,1) is the right end of the top edge, excluded by the right edge; moved by 1/16 px
  // to the right, the vertex leaves the centre strictly inside.
  TestDevice c(8, 8, false), d(8, 8, false);
  drawTL(c, {tl(1, 1), tl(3, 1), tl(1, 3)});
  drawTL(d, {tl(1, 1), tl(3 + 1.0f / 16, 1), tl(1, 3)});
  EXPECT_EQ(0, c.pixel(3, 1));
  EXPECT_NE(0, d.pixel(3, 1));
  EXPECT_EQ(0, c.pixel(2, 2));  // on the right edge in c, inside in d
  EXPECT_NE(0, d.pixel(2, 2));
}

TEST(FillConvention, FullScreenQuadCoversEveryPixelOnce) {
  TestDevice t(16, 12, false);
  t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  drawTL(t, {tl(0, 0, 0.5f, 0x080408), tl(16, 0, 0.5f, 0x080408), tl(0, 12, 0.5f, 0x080408),
             tl(16, 12, 0.5f, 0x080408)},
         D3DPT_TRIANGLESTRIP);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(0x0821, t.pixel(x, y)) << x << "," << y;
}

// A jittered grid tessellating the screen, drawn additively with one step per channel:
// every pixel must be hit exactly once, through either vertex path.
class Tessellation : public ::testing::TestWithParam<bool> {};

TEST_P(Tessellation, EveryPixelExactlyOnce) {
  const bool transformed = GetParam();
  const int W = 96, H = 64, N = 12;
  TestDevice t(W, H, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> jitter(-0.25f, 0.25f);  // cells stay convex
  std::vector<float> px((N + 1) * (N + 1)), py((N + 1) * (N + 1));
  for (int j = 0; j <= N; ++j)
    for (int i = 0; i <= N; ++i) {
      float x = i * float(W) / N, y = j * float(H) / N;
      // Interior points wander; some are snapped onto pixel centres and half-pixels.
      if (i > 0 && i < N) x += jitter(rng) * W / N;
      if (j > 0 && j < N) y += jitter(rng) * H / N;
      if ((i + j) % 5 == 0) x = std::round(x);
      if ((i + j) % 7 == 0) y = std::round(y * 2) / 2;
      px[j * (N + 1) + i] = x, py[j * (N + 1) + i] = y;
    }
  std::vector<WORD> idx;
  for (int j = 0; j < N; ++j)
    for (int i = 0; i < N; ++i) {
      WORD a = WORD(j * (N + 1) + i), b = WORD(a + 1), c = WORD(a + N + 1), d = WORD(c + 1);
      if ((i + j) & 1) idx.insert(idx.end(), {a, b, c, b, d, c});
      else idx.insert(idx.end(), {a, b, d, a, d, c});
    }
  const D3DCOLOR step = 0x080408;  // one step of each 565 channel
  if (transformed) {
    std::vector<D3DLVERTEX> v;
    for (size_t k = 0; k < px.size(); ++k) v.push_back(lv(px[k] / (W / 2.0f) - 1, 1 - py[k] / (H / 2.0f), 0.5f, step));
    ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v.data(), DWORD(v.size()),
                                                     idx.data(), DWORD(idx.size()), 0));
  } else {
    std::vector<D3DTLVERTEX> v;
    for (size_t k = 0; k < px.size(); ++k) v.push_back(tl(px[k], py[k], 0.5f, step));
    ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v.data(), DWORD(v.size()),
                                                     idx.data(), DWORD(idx.size()), 0));
  }
  int wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      wrong += t.pixel(x, y) != 0x0821;
    }
  EXPECT_EQ(0, wrong);
}

INSTANTIATE_TEST_SUITE_P(BothVertexPaths, Tessellation, ::testing::Values(false, true));

TEST(Culling, ScreenWindingDecides) {
  // (0,0)(6,0)(0,6) is clockwise on screen (A > 0): drawn under CCW and NONE, culled under CW.
  struct Case {
    DWORD mode;
    bool clockwiseDrawn, counterDrawn;
  } cases[] = {{D3DCULL_CCW, true, false}, {D3DCULL_CW, false, true}, {D3DCULL_NONE, true, true}};
  for (const Case& c : cases) {
    TestDevice a(8, 8, false), b(8, 8, false);
    a.device->setRenderState(D3DRENDERSTATE_CULLMODE, c.mode);
    b.device->setRenderState(D3DRENDERSTATE_CULLMODE, c.mode);
    drawTL(a, {tl(0, 0), tl(6, 0), tl(0, 6)});
    drawTL(b, {tl(0, 0), tl(0, 6), tl(6, 0)});
    EXPECT_EQ(c.clockwiseDrawn, a.countNot(0) > 0) << c.mode;
    EXPECT_EQ(c.counterDrawn, b.countNot(0) > 0) << c.mode;
  }
}

TEST(Culling, DefaultIsCounterClockwise) {
  TestDevice t(4, 4, false);
  DWORD v = 0;
  ASSERT_EQ(D3D_OK, t.device->getRenderState(D3DRENDERSTATE_CULLMODE, &v));
  EXPECT_EQ(DWORD(D3DCULL_CCW), v);
}

TEST(Culling, StripKeepsWindingOfOddTriangles) {
  TestDevice t(8, 8, false);
  drawTL(t, {tl(0, 0), tl(8, 0), tl(0, 8), tl(8, 8)}, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(64, t.countNot(0));
}

TEST(Clipping, GuardBandKeepsHugeTrianglesExact) {
  TestDevice t(16, 16, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  // A screen-space triangle reaching far beyond the guard band still covers the whole target.
  drawTL(t, {tl(-100000, -100000), tl(300000, -100000), tl(-100000, 300000)});
  EXPECT_EQ(256, t.countNot(0));
}

TEST(Clipping, NearPlaneCutsNotMirrors) {
  // A floor under the eye, from 10 units ahead back to 10 units behind: only the part in
  // front of the near plane is drawn, so nothing appears above the horizon (screen row < 32).
  TestDevice t(64, 64, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  D3DMATRIX proj = defaultProjection();
  t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, proj);
  D3DLVERTEX v[3] = {lv(-5, -1, 10), lv(5, -1, 10), lv(0, -1, -10)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v, 3, 0));
  int above = 0, below = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) (y < 32 ? above : below) += t.pixel(x, y) != 0;
  EXPECT_EQ(0, above);
  EXPECT_GT(below, 200);
  // At the near plane (z = 1) the floor's bottom edge lies one unit below the eye: y = 1 in
  // NDC below centre, i.e. the bottom row region is covered.
  EXPECT_NE(0, t.pixel(32, 63));
}

TEST(Clipping, TriangleWhollyBehindTheEyeDrawsNothing) {
  TestDevice t(32, 32, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, defaultProjection());
  D3DLVERTEX v[3] = {lv(-1, -1, -2), lv(1, -1, -2), lv(0, 1, -2)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v, 3, 0));
  EXPECT_EQ(0, t.countNot(0));
}

TEST(Clipping, ViewportScissorsScreenVertices) {
  TestDevice t(16, 16, false);
  D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 4, 4, 8, 8, -1, 1, 2, 2, 0, 1};
  ASSERT_EQ(D3D_OK, t.device->setViewport(&vp));
  drawTL(t, {tl(0, 0), tl(16, 0), tl(0, 16), tl(16, 16)}, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(64, t.countNot(0));
  EXPECT_EQ(0, t.pixel(3, 3));
  EXPECT_NE(0, t.pixel(4, 4));
  EXPECT_NE(0, t.pixel(11, 11));
  EXPECT_EQ(0, t.pixel(12, 12));
}
