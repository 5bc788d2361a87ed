// A small scene of actors drawn through the software Direct3D device and compared with a
// reference image: a checkered terrain grid, a textured sphere with a child sphere, a sky that
// follows the camera, and a particle tree drawn additively, on a 640x480 RGB565 target.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "actors/ParticleActor.h"
#include "actors/SkyActor.h"
#include "actors/TerrainActor.h"
#include "platform/bitmap/PngFile.h"
#include "platform/d3d/D3D.h"
#include "platform/d3d/RasterTargets.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "tests/support/RgbDeviceRig.h"
#include "tests/support/test_files.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

DWORD floatBits(float f) {
  DWORD d;
  std::memcpy(&d, &f, sizeof d);
  return d;
}

// DirectDraw, an RGB device over a 640x480 target with depth, the demo's viewport and
// projection, and 8x8 checker textures made from surfaces.
class ActorScene : public testing::Test {
 protected:
  qeltest::RgbDeviceRig rig;
  IDirectDraw4*& dd = rig.dd;
  IDirectDrawSurface4*& target = rig.target;
  IDirect3DDevice3*& device = rig.device;
  std::vector<IDirectDrawSurface4*> textureSurfaces;
  std::vector<IDirect3DTexture2*> textures;

  void SetUp() override { ASSERT_TRUE(rig.create(kWidth, kHeight)); }
  void TearDown() override {
    for (IDirect3DTexture2* t : textures) t->Release();
    for (IDirectDrawSurface4* s : textureSurfaces) s->Release();
    rig.release();
  }

  IDirect3DTexture2* checker(std::uint16_t a, std::uint16_t b) {
    DDSURFACEDESC2 d = qeltest::describeSurface(8, 8, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
    IDirectDrawSurface4* s = nullptr;
    EXPECT_EQ(DD_OK, dd->CreateSurface(&d, &s, nullptr));
    platform::SurfaceMemory m;
    EXPECT_TRUE(platform::surfaceMemory(s, m));
    for (int y = 0; y < 8; ++y) {
      auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(m.bits) + y * m.pitch);
      for (int x = 0; x < 8; ++x) row[x] = ((x / 2 + y / 2) % 2) ? a : b;
    }
    IDirect3DTexture2* t = nullptr;
    EXPECT_EQ(S_OK, s->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&t)));
    textureSurfaces.push_back(s);
    textures.push_back(t);
    return t;
  }

  // The frame driver's passes: clear, camera, scene tree with fog and depth writes, then the
  // particle tree additively with the particle texture bound.
  void drawFrame(MeshActor& sceneRoot, MeshActor& particleRoot, const Matrix4& camera, IDirect3DTexture2* spark) {
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    D3DRECT all{0, 0, kWidth, kHeight};
    rig.viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00CCCCDD, 1.0f, 0);
    device->BeginScene();
    // The view is the inverse of the rigid camera transform.
    D3DMATRIX view{};
    const Vector3 p(camera._41, camera._42, camera._43);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) (&view._11)[4 * r + c] = camera.at(c, r);
    view._41 = -dotProduct(p, Vector3(camera._11, camera._12, camera._13));
    view._42 = -dotProduct(p, Vector3(camera._21, camera._22, camera._23));
    view._43 = -dotProduct(p, Vector3(camera._31, camera._32, camera._33));
    view._44 = 1;
    device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    D3DMATRIX projection;
    std::memcpy(&projection, &DefaultProjectionMatrix, sizeof projection);
    device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
    device->SetRenderState(D3DRENDERSTATE_FOGENABLE, 1);
    device->SetRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
    device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, 0x00DDDDEE);
    device->SetRenderState(D3DRENDERSTATE_FOGTABLESTART, floatBits(10.0f));
    device->SetRenderState(D3DRENDERSTATE_FOGTABLEEND, floatBits(300.0f));
    device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 1);
    sceneRoot.draw(device, IdentityMatrix);
    device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device->SetTexture(0, spark);
    particleRoot.draw(device, IdentityMatrix);
    device->SetTexture(0, nullptr);
    device->EndScene();
  }

  // The target as an RGBA image, through the PNG writer (which also keeps it for inspection).
  platform::RgbaImage capture(const std::string& path) {
    platform::SurfaceMemory m;
    EXPECT_TRUE(platform::surfaceMemory(target, m));
    platform::PixelTarget pixels;
    pixels.bits = m.bits;
    pixels.width = kWidth;
    pixels.height = kHeight;
    pixels.pitch = m.pitch;
    pixels.bitsPerPixel = 16;
    platform::RgbaImage image;
    EXPECT_TRUE(platform::writePngTarget(path.c_str(), pixels));
    EXPECT_TRUE(platform::readPngRgba(path.c_str(), image));
    return image;
  }
};

TEST_F(ActorScene, MatchesReferenceImage) {
  MeshActor sceneRoot, particleRoot, ball, moon;
  TerrainActor ground;
  SkyActor sky;
  ParticleActor sparks[10];

  ground.buildTerrain("no-height-map.bmp", 16, 4.0f, 1.0f);  // flat: the file is missing
  ground.planarTexCoords(8.0f);
  ground.texture = checker(platform::pack565(40, 120, 40), platform::pack565(200, 220, 120));
  ground.setPosition(Vector3(0, -1.5f, 12));
  ball.buildSphere(24, 12);
  ball.sphericalTexCoords();
  ball.texture = checker(platform::pack565(220, 40, 40), platform::pack565(250, 250, 250));
  ball.localMatrix = rotationXMatrix(1.2f);
  ball.setPosition(Vector3(-1.5f, 0.5f, 10));
  moon.buildSphere(12, 8);
  moon.texture = checker(platform::pack565(40, 40, 220), platform::pack565(250, 250, 0));
  moon.setPosition(Vector3(0, 0, 2.0f));  // in the ball's turned frame
  ball.insertChild(&moon);
  // A large inside-out sphere around the camera, lit by nothing.
  sky.buildSphere(16, 8);
  for (int k = 0; k < sky.vertexCount; ++k) {
    sky.vertices[k].x *= 80, sky.vertices[k].y *= 80, sky.vertices[k].z *= 80;
  }
  sky.texture = checker(platform::pack565(120, 160, 230), platform::pack565(150, 190, 250));
  Matrix4 camera = IdentityMatrix;
  camera._42 = 1.0f;
  sky.followMatrix = &camera;
  sceneRoot.insertChild(&sky);
  sceneRoot.insertChild(&ground);
  sceneRoot.insertChild(&ball);

  IDirect3DTexture2* spark = checker(platform::pack565(255, 200, 80), platform::pack565(255, 120, 40));
  for (int k = 0; k < 10; ++k) {  // overlapping squares, dimmer with shorter life
    sparks[k].resetParticle(1.0f + 0.6f * float(k), 0.6f * float(k % 3) - 0.3f, 9.0f + 0.4f * float(k));
    sparks[k].life = 512 - 48 * k;
    sparks[k].texture = spark;
    particleRoot.insertChild(&sparks[k]);
  }

  drawFrame(sceneRoot, particleRoot, camera, spark);
  const std::string actualPath = qeltest::scratchDir() + "/actor_scene.png";
  const platform::RgbaImage actual = capture(actualPath);
  ASSERT_EQ(actual.pixels.size(), std::size_t(kWidth) * kHeight * 4);
  if (std::getenv("QEL_WRITE_REFERENCE")) {
    const std::string out = qeltest::sourceDir() + "/tests/actors/reference/actor_scene.png";
    platform::writePngRgba(out.c_str(), actual.pixels.data(), kWidth, kHeight, kWidth * 4);
  }

  platform::RgbaImage reference;
  ASSERT_TRUE(platform::readPngRgba((qeltest::sourceDir() + "/tests/actors/reference/actor_scene.png").c_str(), reference));
  ASSERT_EQ(reference.width, kWidth);
  ASSERT_EQ(reference.height, kHeight);
  // Small rounding changes in the rasterizer are tolerated; a moved or missing object is not.
  int farOff = 0;
  for (std::size_t i = 0; i < actual.pixels.size(); i += 4)
    for (int c = 0; c < 3; ++c)
      if (std::abs(int(actual.pixels[i + c]) - int(reference.pixels[i + c])) > 24) {
        ++farOff;
        break;
      }
  EXPECT_LE(farOff, kWidth * kHeight / 500) << "see " << actualPath << " (set QEL_KEEP_SCRATCH=1 to keep it)";
}

}  // namespace
