// Texture stage 0 and sampling: point and bilinear filtering with the genuine texel
// mapping, wrap and clamp, perspective-correct coordinates, the colour key, a missing
// texture, and the legacy TEXTUREMAPBLEND modes.
#include "DeviceTestKit.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace devicetest;
using platform::pack565;
using platform::TextureImage;

namespace {

constexpr int kTol = 8;

struct Texture {
  int w, h;
  std::vector<std::uint16_t> texels;
  TextureImage image() const { return {texels.data(), w * 2, w, h, false, 0}; }
};

// Distinct texels: red grows with x, green with y.
Texture gradient(int w, int h) {
  Texture t{w, h, std::vector<std::uint16_t>(w * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) t.texels[y * w + x] = pack565(x * 255 / (w - 1 ? w - 1 : 1), y * 255 / (h - 1 ? h - 1 : 1), 64);
  return t;
}

void quadTL(TestDevice& t, float x0, float y0, float x1, float y1, float u1, float v1, D3DCOLOR c = 0xFFFFFFFF) {
  D3DTLVERTEX v[4] = {tl(x0, y0, 0.5f, c, 0, 0), tl(x1, y0, 0.5f, c, u1, 0), tl(x0, y1, 0.5f, c, 0, v1),
                      tl(x1, y1, 0.5f, c, u1, v1)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0));
}

void selectTexture(TestDevice& t) {
  t.device->setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  t.device->setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
}

}  // namespace

TEST(TextureSampling, PointIsOneToOneWithTheHalfPixelShift) {
  Texture tex = gradient(8, 8);
  TextureImage img = tex.image();
  TestDevice t(8, 8, false);
  t.device->setTexture(0, &img);
  selectTexture(t);
  quadTL(t, -0.5f, -0.5f, 7.5f, 7.5f, 1, 1);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(tex.texels[y * 8 + x], t.pixel(x, y)) << x << "," << y;
}

TEST(TextureSampling, BilinearAtTexelCentresAndBetween) {
  Texture tex = gradient(8, 8);
  TextureImage img = tex.image();
  TestDevice t(8, 8, false);
  t.device->setTexture(0, &img);
  t.device->setTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  selectTexture(t);
  quadTL(t, -0.5f, -0.5f, 7.5f, 7.5f, 1, 1);  // centres: the texels themselves
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(tex.texels[y * 8 + x], t.pixel(x, y)) << x << "," << y;
  // Without the shift, pixel (x, y) samples the corner between four texels.
  quadTL(t, 0, 0, 8, 8, 1, 1);
  const int x = 3, y = 5;
  int r = 0, g = 0;
  for (int j = y - 1; j <= y; ++j)
    for (int i = x - 1; i <= x; ++i) r += platform::red565(tex.texels[j * 8 + i]), g += platform::green565(tex.texels[j * 8 + i]);
  EXPECT_NEAR(r / 4, platform::red565(t.pixel(x, y)), kTol);
  EXPECT_NEAR(g / 4, platform::green565(t.pixel(x, y)), kTol);
  // Pixel 0 blends texel 0 with the last texel under WRAP.
  int r0 = (platform::red565(tex.texels[0]) + platform::red565(tex.texels[7])) / 2;
  EXPECT_NEAR(r0, platform::red565(t.pixel(0, 2)), kTol);
}

TEST(TextureSampling, WrapRepeatsAndClampHoldsTheEdge) {
  Texture tex = gradient(4, 4);
  TextureImage img = tex.image();
  TestDevice t(16, 4, false);
  t.device->setTexture(0, &img);
  selectTexture(t);
  quadTL(t, -0.5f, -0.5f, 15.5f, 3.5f, 4, 1);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(tex.texels[x % 4], t.pixel(x, 0)) << x;
  t.device->setTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
  quadTL(t, -0.5f, -0.5f, 15.5f, 3.5f, 4, 1);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(tex.texels[x < 4 ? x : 3], t.pixel(x, 0)) << x;
}

TEST(TextureSampling, NonPowerOfTwoWraps) {
  Texture tex = gradient(3, 5);
  TextureImage img = tex.image();
  TestDevice t(9, 5, false);
  t.device->setTexture(0, &img);
  selectTexture(t);
  quadTL(t, -0.5f, -0.5f, 8.5f, 4.5f, 3, 1);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(tex.texels[3 * 2 + x % 3], t.pixel(x, 2)) << x;
}

TEST(TextureSampling, PerspectiveCorrectOnASteepFloor) {
  // A floor at y = -1 from depth 1 to 9, v running 0..1 with depth; 8 texel rows of distinct
  // colours. At screen row sy the depth is z = (H/2) / (sy - H/2), so the texel row is z - 1.
  const int W = 64, H = 64;
  Texture tex{1, 8, std::vector<std::uint16_t>(8)};
  for (int i = 0; i < 8; ++i) tex.texels[i] = pack565(i * 32, 255 - i * 32, 0);
  TextureImage img = tex.image();
  TestDevice t(W, H, false);
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, defaultProjection());
  t.device->setTexture(0, &img);
  selectTexture(t);
  D3DLVERTEX v[4] = {lv(-20, -1, 1, 0xFFFFFFFF, 0, 0), lv(20, -1, 1, 0xFFFFFFFF, 1, 0),
                     lv(-20, -1, 9, 0xFFFFFFFF, 0, 1), lv(20, -1, 9, 0xFFFFFFFF, 1, 1)};
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, v, 4, 0));
  int checked = 0;
  for (int sy = H / 2 + 4; sy < H; ++sy) {
    double z = (H / 2.0) / (sy - H / 2.0);
    double row = z - 1;
    if (std::fabs(row - std::round(row)) < 0.1 || row >= 8) continue;  // too close to a boundary
    EXPECT_EQ(tex.texels[int(row)], t.pixel(W / 2, sy)) << "row " << sy << " z " << z;
    ++checked;
  }
  EXPECT_GT(checked, 5);
  // Affine interpolation, as with TEXTUREPERSPECTIVE off, gets these rows wrong.
  t.device->setRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, FALSE);
  ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, v, 4, 0));
  int differing = 0;
  for (int sy = H / 2 + 4; sy < H; ++sy) {
    double row = (H / 2.0) / (sy - H / 2.0) - 1;
    if (row < 8) differing += tex.texels[int(row)] != t.pixel(W / 2, sy);
  }
  EXPECT_GT(differing, 5);
}

TEST(TextureStage, MissingTexturePassesDiffuseThrough) {
  TestDevice t(8, 8, false);
  selectTexture(t);
  quadTL(t, 0, 0, 8, 8, 1, 1, 0xFF336699);
  EXPECT_TRUE(near(0x336699, t.rgb(4, 4), kTol));
  t.device->setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  t.device->setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  quadTL(t, 0, 0, 8, 8, 1, 1, 0xFF996633);
  EXPECT_TRUE(near(0x996633, t.rgb(4, 4), kTol));
}

TEST(TextureStage, ModulateAndLegacyCopy) {
  Texture tex{1, 1, {pack565(255, 255, 255)}};
  TextureImage img = tex.image();
  TestDevice t(8, 8, false);
  t.device->setTexture(0, &img);
  DWORD blend = 0, alphaOp = 0;
  t.device->getRenderState(D3DRENDERSTATE_TEXTUREMAPBLEND, &blend);
  t.device->getTextureStageState(0, D3DTSS_ALPHAOP, &alphaOp);
  EXPECT_EQ(DWORD(D3DTBLEND_MODULATE), blend);
  EXPECT_EQ(DWORD(D3DTOP_SELECTARG1), alphaOp);
  quadTL(t, 0, 0, 8, 8, 1, 1, 0xFF808040);  // default MODULATE(TEXTURE, CURRENT)
  EXPECT_TRUE(near(0x808040, t.rgb(4, 4), kTol));
  t.device->setRenderState(D3DRENDERSTATE_TEXTUREMAPBLEND, D3DTBLEND_COPY);
  quadTL(t, 0, 0, 8, 8, 1, 1, 0xFF808040);  // texels copied, no modulation
  EXPECT_TRUE(near(0xFFFFFF, t.rgb(4, 4), kTol));
  // The stage states still read as before; setting one takes stage 0 back.
  t.device->getTextureStageState(0, D3DTSS_COLOROP, &alphaOp);
  EXPECT_EQ(DWORD(D3DTOP_MODULATE), alphaOp);
  t.device->setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  quadTL(t, 0, 0, 8, 8, 1, 1, 0xFF808040);
  EXPECT_TRUE(near(0x808040, t.rgb(4, 4), kTol));
}

TEST(TextureStage, ColorKeyDiscardsOnlyWhenEnabled) {
  Texture tex{2, 1, {0x001F, pack565(255, 0, 0)}};  // blue (the key) and red
  TextureImage img = tex.image();
  img.hasColorKey = true;
  img.colorKey = 0x001F;
  TestDevice t(8, 4);
  t.clear(0x00FF00);
  t.device->setTexture(0, &img);
  selectTexture(t);
  quadTL(t, -0.5f, -0.5f, 1.5f, 3.5f, 1, 1);
  EXPECT_EQ(0x001F, t.pixel(0, 1));
  t.device->setRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
  t.clear(0x00FF00);
  quadTL(t, -0.5f, -0.5f, 1.5f, 3.5f, 1, 1);
  EXPECT_EQ(0x07E0, t.pixel(0, 1));       // keyed: the background shows
  EXPECT_EQ(0xFFFF, t.depthAt(0, 1));     // and no depth is written
  EXPECT_EQ(pack565(255, 0, 0), t.pixel(1, 1));
}
