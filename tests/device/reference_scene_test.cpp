// Reference images: small scenes rendered through the software device and compared with
// PNGs kept in tests/device/reference (looked at when they were made). A pixel may differ
// by a few levels per channel; more than a handful of differing pixels fails. Each run
// writes its image to the scratch directory; QEL_UPDATE_REFERENCE=1 rewrites the references.
#include "DeviceTestKit.h"
#include "platform/bitmap/PngFile.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

using namespace devicetest;

namespace {

constexpr int kW = 320, kH = 240;

void compareWithReference(TestDevice& t, const std::string& name) {
  platform::PixelTarget target{t.color.data(), t.width, t.height, t.width * 2, 16};
  const std::string produced = qeltest::scratchDir() + "/" + name + ".png";
  ASSERT_TRUE(platform::writePngTarget(produced.c_str(), target));
  const std::string reference = qeltest::sourceDir() + "/tests/device/reference/" + name + ".png";
  const char* update = std::getenv("QEL_UPDATE_REFERENCE");
  if (update && std::string(update) == "1") {
    ASSERT_TRUE(platform::writePngTarget(reference.c_str(), target));
    return;
  }
  platform::RgbaImage ref;
  ASSERT_TRUE(platform::readPngRgba(reference.c_str(), ref)) << reference;
  ASSERT_EQ(t.width, ref.width);
  ASSERT_EQ(t.height, ref.height);
  int differing = 0;
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x) {
      std::uint32_t got = t.rgb(x, y);
      const std::uint8_t* r = &ref.pixels[(y * ref.width + x) * 4];
      std::uint32_t want = (std::uint32_t(r[0]) << 16) | (r[1] << 8) | r[2];
      differing += !near(got, want, 8);
    }
  EXPECT_LE(differing, t.width * t.height / 1000) << name << ": compare " << produced << " with " << reference;
}

// A UV sphere of D3DVERTEX (position, normal, texture coordinates) as an indexed list.
void sphere(float cx, float cy, float cz, float r, std::vector<D3DVERTEX>& v, std::vector<WORD>& idx) {
  const int slices = 24, stacks = 16;
  const WORD base = WORD(v.size());
  for (int s = 0; s <= stacks; ++s)
    for (int i = 0; i <= slices; ++i) {
      float th = 3.14159265f * s / stacks, ph = 2 * 3.14159265f * i / slices;
      float nx = std::sin(th) * std::cos(ph), ny = std::cos(th), nz = std::sin(th) * std::sin(ph);
      v.push_back(vx(cx + r * nx, cy + r * ny, cz + r * nz, nx, ny, nz, float(i) / slices, float(s) / stacks));
    }
  for (int s = 0; s < stacks; ++s)
    for (int i = 0; i < slices; ++i) {
      WORD a = WORD(base + s * (slices + 1) + i), b = WORD(a + 1), c = WORD(a + slices + 1), d = WORD(c + 1);
      idx.insert(idx.end(), {a, b, c, b, d, c});
    }
}

// The engine's camera set-up: 4:3 clip rectangle and the default projection.
void engineView(TestDevice& t) {
  t.setViewport(-1, 0.75f, 2, 1.5f);
  t.device->setTransform(D3DTRANSFORMSTATE_PROJECTION, defaultProjection());
  t.device->setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
}

}  // namespace

TEST(ReferenceScenes, LitAndSpecularSpheres) {
  TestDevice t(kW, kH);
  engineView(t);
  t.clear(0x202830);
  D3DMATERIAL m{};
  m.dwSize = sizeof m;
  m.diffuse = {0.9f, 0.35f, 0.2f, 1};
  m.ambient = {0.9f, 0.35f, 0.2f, 1};
  m.specular = {1, 1, 1, 1};
  m.power = 20;
  t.device->setMaterial(&m);
  t.device->setAmbient(0x00303030);
  platform::LightSource light;
  light.direction = {0.6f, -0.5f, 1};
  t.device->setLights(&light, 1);
  std::vector<D3DVERTEX> v;
  std::vector<WORD> idx;
  sphere(-1.2f, 0, 4, 1, v, idx);
  ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, v.data(), DWORD(v.size()),
                                                   idx.data(), DWORD(idx.size()), 0));
  v.clear(), idx.clear();
  sphere(1.2f, 0, 4, 1, v, idx);
  t.device->setRenderState(D3DRENDERSTATE_SPECULARENABLE, TRUE);
  ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, v.data(), DWORD(v.size()),
                                                   idx.data(), DWORD(idx.size()), 0));
  compareWithReference(t, "lit_spheres");
}

TEST(ReferenceScenes, FoggedTexturedGrid) {
  TestDevice t(kW, kH);
  engineView(t);
  t.clear(0xDDDDEE);
  std::vector<std::uint16_t> checker(16 * 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) checker[y * 16 + x] = ((x / 4 + y / 4) & 1) ? platform::pack565(40, 140, 60) : platform::pack565(200, 190, 120);
  platform::TextureImage img{checker.data(), 32, 16, 16, false, 0};
  t.device->setTexture(0, &img);
  t.device->setTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  t.device->setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
  t.device->setRenderState(D3DRENDERSTATE_FOGCOLOR, 0x00DDDDEE);
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(10.0f));
  t.device->setRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(300.0f));
  // A floor 3 units below the eye, cells of 10 units, reaching 400 units ahead.
  const int N = 40;
  std::vector<D3DLVERTEX> v;
  std::vector<WORD> idx;
  for (int j = 0; j <= N; ++j)
    for (int i = 0; i <= N; ++i) v.push_back(lv((i - N / 2) * 10.0f, -3, j * 10.0f, 0xFFFFFFFF, float(i), float(j)));
  for (int j = 0; j < N; ++j)
    for (int i = 0; i < N; ++i) {
      WORD a = WORD(j * (N + 1) + i), b = WORD(a + 1), c = WORD(a + N + 1), d = WORD(c + 1);
      idx.insert(idx.end(), {a, b, c, b, d, c});
    }
  ASSERT_EQ(D3D_OK, t.device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, v.data(), DWORD(v.size()),
                                                   idx.data(), DWORD(idx.size()), 0));
  compareWithReference(t, "fogged_grid");
}

TEST(ReferenceScenes, AdditiveParticles) {
  TestDevice t(kW, kH);
  t.clear(0x101018);
  std::vector<std::uint16_t> blob(32 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      float dx = (x + 0.5f - 16) / 15.5f, dy = (y + 0.5f - 16) / 15.5f;
      float a = std::fmax(0.0f, 1 - std::sqrt(dx * dx + dy * dy));
      blob[y * 32 + x] = platform::pack565(int(255 * a), int(220 * a), int(160 * a));
    }
  platform::TextureImage img{blob.data(), 64, 32, 32, false, 0};
  t.device->setTexture(0, &img);
  t.device->setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
  t.device->setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
  t.device->setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  t.device->setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  t.device->setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  t.device->setTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
  t.device->setTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> px(0, kW), py(0, kH), size(4, 24);
  for (int k = 0; k < 200; ++k) {
    float x = px(rng), y = py(rng), s = size(rng);
    int g = 64 + k % 192;
    D3DCOLOR c = 0xFF000000u | (g << 16) | (g << 8) | g;
    D3DTLVERTEX q[4] = {tl(x - s, y - s, 0.5f, c, 0, 0), tl(x + s, y - s, 0.5f, c, 1, 0), tl(x - s, y + s, 0.5f, c, 0, 1),
                        tl(x + s, y + s, 0.5f, c, 1, 1)};
    ASSERT_EQ(D3D_OK, t.device->drawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, 0));
  }
  compareWithReference(t, "additive_particles");
}
