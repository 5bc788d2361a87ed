// One frame end to end through the Renderer: a headless renderer, the frame driver's cull mode
// and clear, two lit, textured, fogged cubes drawn with the renderer's default states and
// material, the back buffer copied to the primary, and the primary compared with a reference
// image (tests/device/data/renderer_scene.png, looked at when it was made). A pixel may differ
// by a few levels per channel; more than a handful of differing pixels fails. Each run writes
// its image to the scratch directory; QEL_UPDATE_REFERENCE=1 rewrites the reference.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/bitmap/PngFile.h"
#include "tests/device/RendererTestSupport.h"

namespace renderertest {
namespace {

using RendererScene = RendererTest;

DWORD floatBits(float f) {
  DWORD d;
  std::memcpy(&d, &f, sizeof d);
  return d;
}

D3DMATRIX asDevice(const Matrix4& m) {
  D3DMATRIX d;
  std::memcpy(&d, &m, sizeof d);
  return d;
}

Matrix4 translation(float x, float y, float z) { return Matrix4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1); }

// A unit cube (half size 1) of 24 D3DVERTEX and 36 indices; each face is clockwise seen from
// outside, so CCW culling keeps the faces that look at the camera.
void cube(std::vector<D3DVERTEX>& vertices, std::vector<WORD>& indices) {
  const Vector3 normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (const Vector3& n : normals) {
    const Vector3 u = n.y != 0 ? Vector3(1, 0, 0) : crossProduct(Vector3(0, 1, 0), n);
    const Vector3 v = crossProduct(u, n);  // u x v = -n: a, b, c run clockwise around n
    const Vector3 corners[4] = {n - u + v, n + u + v, n + u - v, n - u - v};
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const WORD base = WORD(vertices.size());
    for (int i = 0; i < 4; ++i)
      vertices.push_back({corners[i].x, corners[i].y, corners[i].z, n.x, n.y, n.z, uv[i][0], uv[i][1]});
    indices.insert(indices.end(), {base, WORD(base + 1), WORD(base + 2), base, WORD(base + 2), WORD(base + 3)});
  }
}

TEST_F(RendererScene, LitTexturedFoggedCubesMatchTheReferenceImage) {
  // A 16x16 texture: 4x4 squares of two colours with a dark frame.
  ASSERT_TRUE(writeBmp24("crate.bmp", 16, 16, [](int x, int y) -> std::uint32_t {
    if (x == 0 || y == 0 || x == 15 || y == 15) return 0x302010;
    return ((x / 4 + y / 4) % 2) ? 0xE0A040 : 0x4080E0;
  }));
  Renderer renderer;
  renderer.fullScreen = 1;
  ASSERT_EQ(renderer.create(window, nullptr), 1);
  Texture* crate = renderer.getTexture("crate.bmp");
  ASSERT_NE(crate, nullptr);
  IDirect3DDevice3* device = renderer.device;

  // The frame driver's start of frame.
  ASSERT_EQ(device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW), D3D_OK);
  D3DRECT all{0, 0, 640, 480};
  ASSERT_EQ(renderer.viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xCCCCDD, 1.0f, 0), D3D_OK);
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  D3DMATRIX view = asDevice(translation(0, -0.5f, 4.5f) * rotationXMatrix(-0.1f));
  ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view), D3D_OK);
  device->SetRenderState(D3DRENDERSTATE_FOGENABLE, 1);
  device->SetRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
  device->SetRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(4.0f));
  device->SetRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(14.0f));
  device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0xCCCCDD);
  ASSERT_EQ(device->SetTexture(0, crate->deviceTexture), D3D_OK);

  std::vector<D3DVERTEX> vertices;
  std::vector<WORD> indices;
  cube(vertices, indices);
  const Matrix4 worlds[2] = {rotationFromVector(Vector3(0.35f, 0.8f, 0.15f), 1.0f) * translation(-0.9f, 0, 0),
                             rotationFromVector(Vector3(0.1f, 0.5f, 0.3f), 1.0f) * translation(2.4f, 0.6f, 5.0f)};
  for (const Matrix4& world : worlds) {
    D3DMATRIX w = asDevice(world);
    ASSERT_EQ(device->SetTransform(D3DTRANSFORMSTATE_WORLD, &w), D3D_OK);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, vertices.data(), DWORD(vertices.size()),
                                           indices.data(), DWORD(indices.size()), D3DDP_WAIT),
              D3D_OK);
  }
  ASSERT_EQ(device->EndScene(), D3D_OK);

  // Present as the frame driver does, then capture the primary.
  RECT source{0, 0, 640, 480};
  Surface* primary = renderer.display->primary;
  ASSERT_EQ(primary->surface->BltFast(0, 0, renderer.target->surface, &source, DDBLTFAST_WAIT), DD_OK);
  platform::SurfaceMemory memory;
  ASSERT_TRUE(platform::surfaceMemory(primary->surface, memory));
  platform::PixelTarget image{memory.bits, memory.width, memory.height, memory.pitch, 16};

  EXPECT_EQ(pixel16(primary->surface, 2, 2), rgb565(0xCCCCDD));  // the clear colour
  EXPECT_NE(pixel16(primary->surface, 220, 250), rgb565(0xCCCCDD));  // the near cube

  const std::string produced = qeltest::scratchDir() + "/renderer_scene.png";
  ASSERT_TRUE(platform::writePngTarget(produced.c_str(), image));
  const std::string reference = qeltest::sourceDir() + "/tests/device/data/renderer_scene.png";
  const char* update = std::getenv("QEL_UPDATE_REFERENCE");
  if (update && std::string(update) == "1") {
    ASSERT_TRUE(platform::writePngTarget(reference.c_str(), image));
    return;
  }
  platform::RgbaImage want;
  ASSERT_TRUE(platform::readPngRgba(reference.c_str(), want)) << reference;
  ASSERT_EQ(want.width, 640);
  ASSERT_EQ(want.height, 480);
  int differing = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const std::uint16_t p = pixel16(primary->surface, x, y);
      const int got[3] = {(p >> 11) << 3 | (p >> 13), ((p >> 5) & 63) << 2 | ((p >> 9) & 3), (p & 31) << 3 | ((p >> 2) & 7)};
      const std::uint8_t* r = &want.pixels[std::size_t(y * 640 + x) * 4];
      bool near = true;
      for (int c = 0; c < 3; ++c) near = near && std::abs(got[c] - int(r[c])) <= 8;
      differing += !near;
    }
  EXPECT_LE(differing, 640 * 480 / 1000) << "compare " << produced << " with " << reference;
}

}  // namespace
}  // namespace renderertest
