// loadMesh: the first mesh of a model file copied into the actor; missing or meshless models
// leave the actor without mesh. Generated meshes: the sphere.
#include <gtest/gtest.h>

#include <string>

#include "actors/MeshActor.h"
#include "graphics/Texture.h"
#include "tests/support/test_files.h"
#include "xfile/MaterialSink.h"

namespace {

// A renderer table that holds nothing, or one entry it hands out for every texture and material.
class EmptySink : public MaterialSink {
 public:
  Texture* entry = nullptr;
  Texture* getTexture(const char*) override { return entry; }
  Texture* createMaterial(const char*, const D3DCOLORVALUE&, const D3DCOLORVALUE&, const D3DCOLORVALUE&,
                          const D3DCOLORVALUE&, float, DWORD) override {
    return entry;
  }
  Texture* findTexture(const char*) override { return nullptr; }
  void setBoundTexture(Texture*, Texture*) override {}
  Texture* boundTexture(Texture*) override { return nullptr; }
  const D3DMATERIAL* materialDesc(Texture*) override { return nullptr; }
};

const char kQuadModel[] =
    "xof 0302txt 0064\n"
    "Mesh quad {\n"
    " 4;\n"
    " 0.0;0.0;0.0;,\n"
    " 1.0;0.0;0.0;,\n"
    " 1.0;1.0;0.0;,\n"
    " 0.0;1.0;0.0;;\n"
    " 1;\n"
    " 4;0,1,2,3;;\n"
    "}\n";

TEST(LoadMesh, CopiesTheFirstMeshAndItsFannedTriangles) {
  ASSERT_TRUE(qeltest::writeFileText("quad.x", kQuadModel));
  EmptySink sink;
  MeshActor actor;
  ASSERT_EQ(actor.loadMesh(sink, "quad.x"), 1);
  ASSERT_EQ(actor.vertexCount, 4);
  ASSERT_EQ(actor.indexCount, 6);
  EXPECT_EQ(actor.vertices[2].x, 1.0f);
  EXPECT_EQ(actor.vertices[2].y, 1.0f);
  for (int k = 0; k < actor.indexCount; ++k) EXPECT_LT(actor.indices[k], 4);
  // Loading again replaces the mesh (the old arrays are freed, not leaked).
  ASSERT_EQ(actor.loadMesh(sink, "quad.x"), 1);
  EXPECT_EQ(actor.indexCount, 6);
}

// A stand-in device texture: never called, only passed along.
IDirect3DTexture2* const kDeviceTexture = reinterpret_cast<IDirect3DTexture2*>(0x2000);

TEST(LoadMesh, TakesTheFirstMeshTextureAndSetTextureReplacesIt) {
  std::string model = kQuadModel;
  model.insert(model.rfind('}'),
               " MeshMaterialList { 1; 1; 0;;\n"
               "  Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { \"check.bmp\"; } }\n"
               " }\n");
  ASSERT_TRUE(qeltest::writeFileText("textured.x", model));
  Texture entry;
  entry.deviceTexture = kDeviceTexture;
  EmptySink sink;
  sink.entry = &entry;
  MeshActor actor;
  ASSERT_EQ(actor.loadMesh(sink, "textured.x"), 1);
  EXPECT_EQ(actor.texture, kDeviceTexture);
  actor.setTexture(nullptr);
  EXPECT_EQ(actor.texture, nullptr);
  actor.setTexture(&entry);
  EXPECT_EQ(actor.texture, kDeviceTexture);
  // A model that cannot be read takes the texture away with the mesh.
  EXPECT_EQ(actor.loadMesh(sink, "missing.x"), 0);
  EXPECT_EQ(actor.texture, nullptr);
  entry.deviceTexture = nullptr;  // not a real interface: nothing to release
}

TEST(LoadMesh, MissingOrMeshlessModelsLeaveNoMesh) {
  EmptySink sink;
  MeshActor actor;
  actor.buildSphere(3, 3);
  ASSERT_NE(actor.vertices, nullptr);
  EXPECT_EQ(actor.loadMesh(sink, "nothing-here.x"), 0);
  EXPECT_EQ(actor.vertices, nullptr);
  EXPECT_EQ(actor.vertexCount, 0);
  EXPECT_EQ(actor.indices, nullptr);
  ASSERT_TRUE(qeltest::writeFileText("frame.x", "xof 0302txt 0064\nFrame empty {\n}\n"));
  EXPECT_EQ(actor.loadMesh(sink, "frame.x"), 0);
  EXPECT_EQ(actor.vertices, nullptr);
  actor.draw(nullptr, IdentityMatrix);  // draws nothing, passes nothing on
}

TEST(BuildSphere, RefusedSizesKeepTheMeshEmpty) {
  MeshActor sphere;
  sphere.buildSphere(2, 16);
  EXPECT_EQ(sphere.vertices, nullptr);
  sphere.buildSphere(32, 16);
  EXPECT_EQ(sphere.vertexCount, 528);
  EXPECT_EQ(sphere.allocateMesh(-1, 3), nullptr);
  EXPECT_EQ(sphere.vertices, nullptr);
  EXPECT_EQ(sphere.vertexCount, 0);
}

}  // namespace
