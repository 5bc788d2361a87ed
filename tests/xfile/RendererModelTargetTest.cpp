// RendererModelTarget: a model loaded through a headless Renderer lands in the Renderer's own
// table (materials, bound texture, image entry), and TQelXMesh::draw through it lights with
// the Renderer's parameters and draws on the Renderer's device into its target.
#include <gtest/gtest.h>

#include "graphics/LastResult.h"
#include "tests/device/RendererTestSupport.h"
#include "tests/xfile/XTestSupport.h"
#include "xfile/RendererModelTarget.h"

namespace {

// A 200 x 200 plate facing the camera, drawn with the textured material "Paint", and a second
// plate drawn with the plain material "Red" defined before it.
const char kModel[] =
    "xof 0302txt 0032\n"
    "Material Paint { 1.0;1.0;1.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { \"check.bmp\"; } }\n"
    "Material Red { 1.0;0.0;0.0;1.0;; 5.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n"
    "Frame Plates {\n"
    " Mesh Textured { 4; -100.0;-100.0;0.0;, 100.0;-100.0;0.0;, 100.0;100.0;0.0;, -100.0;100.0;0.0;;\n"
    "  1; 4;0,1,2,3;;\n"
    "  MeshNormals { 4; 0.0;0.0;-1.0;, 0.0;0.0;-1.0;, 0.0;0.0;-1.0;, 0.0;0.0;-1.0;; 1; 4;0,1,2,3;; }\n"
    "  MeshTextureCoords { 4; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;; }\n"
    "  MeshMaterialList { 1; 1; 0;; { Paint } } }\n"
    " Mesh Plain { 4; -100.0;-100.0;0.0;, 100.0;-100.0;0.0;, 100.0;100.0;0.0;, -100.0;100.0;0.0;;\n"
    "  1; 4;0,1,2,3;;\n"
    "  MeshNormals { 4; 0.0;0.0;-1.0;, 0.0;0.0;-1.0;, 0.0;0.0;-1.0;, 0.0;0.0;-1.0;; 1; 4;0,1,2,3;; }\n"
    "  MeshMaterialList { 1; 1; 0;; { Red } } }\n"
    "}\n";

constexpr std::uint16_t kClear565 = 0x0000;

class RendererModelTargetTest : public renderertest::RendererTest {
 protected:
  void SetUp() override {
    RendererTest::SetUp();
    ASSERT_TRUE(renderertest::writeChecker("check.bmp"));
    ASSERT_EQ(renderer.create(window, nullptr), 1);
    root = modelFrom(target, kModel);
    ASSERT_NE(root, nullptr);
  }
  void TearDown() override {
    releaseModel(root);
    renderer.releaseAll();
    RendererTest::TearDown();
  }
  TQelXMesh* mesh(int index) {
    AttachmentNode* node = root->attachments.first();
    for (int i = 0; i < index && node; ++i) node = root->attachments.after(node);
    return node ? dynamic_cast<TQelXMesh*>(node->object) : nullptr;
  }
  // Clears the target to black and draws `drawn` 5 units in front of the eye, one model unit
  // a pixel, with `image` bound.
  void drawPlate(TQelXMesh& drawn, Texture* image) {
    D3DRECT all{0, 0, renderer.target->width, renderer.target->height};
    ASSERT_EQ(renderer.viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
    root->worldMatrix = IdentityMatrix;
    root->worldViewMatrix = IdentityMatrix;
    root->worldViewMatrix._11 = 5.0f;   // divided by z = 5 again: a unit a pixel
    root->worldViewMatrix._22 = -5.0f;  // screen y grows downwards
    root->worldViewMatrix._43 = 5.0f;
    ASSERT_EQ(renderer.device->BeginScene(), D3D_OK);
    renderer.device->SetTexture(0, image ? image->deviceTexture : nullptr);
    lastResult = E_FAIL;
    drawn.draw(target, *root);
    EXPECT_EQ(lastResult, D3D_OK);
    renderer.device->SetTexture(0, nullptr);
    ASSERT_EQ(renderer.device->EndScene(), D3D_OK);
  }
  std::uint16_t pixel(int x, int y) { return pixel16(renderer.target->surface, x, y); }

  Renderer renderer;
  RendererModelTarget target{renderer};
  TQelXFrame* root = nullptr;
};

TEST_F(RendererModelTargetTest, LoadedEntriesLiveInTheRenderersTable) {
  Texture* image = renderer.findTexture("check.bmp");
  Texture* paint = renderer.findTexture("Paint");
  Texture* red = renderer.findTexture("Red");
  ASSERT_NE(image, nullptr);
  ASSERT_NE(paint, nullptr);
  ASSERT_NE(red, nullptr);
  for (const Texture* entry : {image, paint, red}) EXPECT_EQ(tableCount(renderer, entry), 1);
  EXPECT_NE(image->deviceTexture, nullptr);  // an image entry the device can bind
  EXPECT_EQ(paint->boundTexture(), image);
  EXPECT_EQ(target.boundTexture(paint), image);
  EXPECT_EQ(red->boundTexture(), nullptr);
  EXPECT_EQ(red->materialDesc.diffuse.r, 1.0f);
  EXPECT_EQ(red->materialDesc.diffuse.g, 0.0f);
  EXPECT_EQ(target.materialDesc(red), &red->materialDesc);
  EXPECT_EQ(target.materialDesc(nullptr), nullptr);
  EXPECT_EQ(target.boundTexture(nullptr), nullptr);

  ASSERT_NE(mesh(0), nullptr);
  ASSERT_NE(mesh(1), nullptr);
  EXPECT_EQ(mesh(0)->material, paint);
  EXPECT_EQ(mesh(0)->texture, image);
  EXPECT_EQ(mesh(1)->material, red);
  EXPECT_EQ(mesh(1)->texture, red);  // the material stands in for the texture
  // Loading again finds the image instead of loading it twice, and adds new materials.
  TQelXFrame* again = modelFrom(target, kModel, "again.x");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->firstMesh()->texture, image);
  EXPECT_EQ(tableCount(renderer, image), 1);
  EXPECT_NE(renderer.findTexture("Paint"), paint);
  again->release();
  EXPECT_EQ(logText(), "");
}

TEST_F(RendererModelTargetTest, LightingParametersAndBuffersAreTheRenderers) {
  renderer.halfWidth = 100.0f;
  renderer.ambientColour[1] = 0.25f;
  renderer.lightDirection = Vector3(1.0f, 0.0f, 0.0f);
  const SoftwareLighting& lighting = target.softwareLighting();
  EXPECT_EQ(lighting.halfWidth, 100.0f);
  EXPECT_EQ(lighting.halfHeight, 240.0f);
  EXPECT_EQ(lighting.ambientColour[1], 0.25f);
  EXPECT_EQ(lighting.lightDirection.x, 1.0f);
  EXPECT_EQ(target.vertexBuffer(), renderer.vertexBuffer);
  EXPECT_EQ(target.indexBuffer(), renderer.indexBuffer);
}

TEST_F(RendererModelTargetTest, DrawLightsWithTheRenderersParametersOnItsDevice) {
  renderer.ambientColour[0] = renderer.ambientColour[1] = renderer.ambientColour[2] = 0.0f;
  drawPlate(*mesh(1), nullptr);
  EXPECT_EQ(renderer.worldTransform._43, 0.0f);  // the world transform went through the target
  // Fully lit by a light shining straight at it, no ambient: the material's diffuse red.
  EXPECT_EQ(pixel(320, 240), 0xF800);
  EXPECT_EQ(pixel(230, 150), 0xF800);
  EXPECT_EQ(pixel(200, 240), kClear565);
  EXPECT_EQ(pixel(320, 120), kClear565);
  // The same light from behind leaves the dark (ambient-lit) level: black.
  renderer.lightDirection = Vector3(0.0f, 0.0f, -1.0f);
  drawPlate(*mesh(1), nullptr);
  EXPECT_EQ(pixel(320, 240), 0x0000);
}

TEST_F(RendererModelTargetTest, DrawShowsTheBoundImage) {
  renderer.ambientColour[0] = renderer.ambientColour[1] = renderer.ambientColour[2] = 0.0f;
  drawPlate(*mesh(0), mesh(0)->texture);
  // White light on the checker: both of its colours show inside the plate, nothing outside.
  int red = 0, green = 0;
  for (int y = 145; y < 335; ++y) {
    for (int x = 225; x < 415; ++x) {
      const std::uint16_t p = pixel(x, y);
      const int r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
      if (r > 24 && g < 16 && b < 8) {
        ++red;
      } else if (g > 48 && r < 8 && b < 8) {
        ++green;
      }
    }
  }
  EXPECT_GT(red, 5000);
  EXPECT_GT(green, 5000);
  EXPECT_EQ(pixel(210, 240), kClear565);
}

}  // namespace
