// The software transform, lighting and near-plane clipping of a mesh, and draw's wiring.
#include <gtest/gtest.h>

#include <vector>

#include "tests/xfile/RecordingSink.h"
#include "tests/xfile/XTestSupport.h"
#include "xfile/MeshDrawTarget.h"
#include "xfile/MeshLighting.h"

namespace {

D3DMATERIAL materialOf(float diffuse, float ambient, float specular, float power) {
  D3DMATERIAL m{};
  m.dwSize = 80;
  m.diffuse = {diffuse, diffuse, diffuse, 1};
  m.ambient = {ambient, ambient, ambient, 0};
  m.specular = {specular, specular, specular, 0};
  m.power = power;
  return m;
}

D3DTLVERTEX lit(const MeshVertex& v, const D3DMATERIAL& material, const Matrix4& worldView,
                const SoftwareLighting& lighting = SoftwareLighting()) {
  LightingConstants k = computeLightingConstants(material, lighting, worldView, IdentityMatrix);
  D3DTLVERTEX out{};
  transformVertex(v, k, worldView, lighting, out);
  return out;
}

TEST(MeshLighting, NormalAgainstTheLightGetsTheBrightLevel) {
  // Ambient 0.5, material ambient 0, diffuse 0.5: dark = 0.5, bright = 0.75.
  D3DMATERIAL m = materialOf(0.5f, 0.0f, 0.0f, 1.0f);
  Matrix4 w = translationMatrix(0, 0, 5);
  EXPECT_EQ(lit({0, 0, 0, 0, 0, -1, 0, 0}, m, w).color, 0xBFBFBFu);  // N = -L: 191
  EXPECT_EQ(lit({0, 0, 0, 1, 0, 0, 0, 0}, m, w).color, 0x7F7F7Fu);   // across: 127
  EXPECT_EQ(lit({0, 0, 0, 0, 0, 1, 0, 0}, m, w).color, 0x7F7F7Fu);   // light behind: 127
}

TEST(MeshLighting, FullAmbientMaterialIsWhite) {
  D3DMATERIAL m = materialOf(0.0f, 1.0f, 0.0f, 1.0f);
  EXPECT_EQ(lit({0, 0, 0, 0.6f, 0.8f, 0, 0, 0}, m, translationMatrix(0, 0, 5)).color, 0xFFFFFFu);
}

TEST(MeshLighting, ZeroToTheZeroIsAFullHighlight) {
  // W without translation: V = 0, so s = 0; with power 0 the factor is 1.
  D3DMATERIAL m = materialOf(0.0f, 0.0f, 0.5f, 0.0f);
  EXPECT_EQ(lit({0, 0, 2, 0, 0, -1, 0, 0}, m, IdentityMatrix).specular, 0x7F7F7Fu);
}

TEST(MeshLighting, ChannelsAreClamped) {
  // Red: dark 2.0, bright 1.5, light 2: 765 would run into the alpha byte.
  D3DMATERIAL m = materialOf(0.5f, 3.0f, 9.0f, 0.0f);
  SoftwareLighting bright;
  bright.lightColour[0] = 2.0f;
  D3DTLVERTEX v = lit({0, 0, 0, 0, 0, -1, 0, 0}, m, IdentityMatrix, bright);
  EXPECT_EQ(v.color >> 16, 0xFFu);
  EXPECT_EQ(v.color >> 24, 0u);
  EXPECT_EQ(v.specular, 0xFFFFFFu);
}

TEST(MeshLighting, ProjectionAndTheNearPlane) {
  D3DMATERIAL m = materialOf(1, 0, 0, 1);
  D3DTLVERTEX onPlane = lit({2, 3, 1, 0, 0, 1, 0.25f, 0.5f}, m, IdentityMatrix);
  EXPECT_EQ(onPlane.sz, 0.0f);
  EXPECT_EQ(onPlane.rhw, 1.0f);
  EXPECT_EQ(onPlane.sx, 322.0f);
  EXPECT_EQ(onPlane.sy, 243.0f);
  EXPECT_EQ(onPlane.tu, 0.25f);
  D3DTLVERTEX far = lit({10, 0, 1000, 0, 0, 1, 0, 0}, m, IdentityMatrix);
  EXPECT_FLOAT_EQ(far.sz, 1.0f);
  EXPECT_FLOAT_EQ(far.rhw, 0.001f);
  EXPECT_FLOAT_EQ(far.sx, 320.01f);
  D3DTLVERTEX near = lit({0, 0, 0.5f, 0, 0, 1, 0, 0}, m, IdentityMatrix);
  EXPECT_EQ(near.rhw, -1.0f);
  EXPECT_LT(near.sz, 0.0f);
}

struct Batch {
  DWORD vertexCount, indexCount;
  std::vector<WORD> indices;
};

class Recorder : public TransformedBatchSink {
 public:
  explicit Recorder(const WORD* indices) : indices_(indices) {}
  void drawBatch(DWORD vertexCount, DWORD indexCount) override {
    batches.push_back({vertexCount, indexCount, std::vector<WORD>(indices_, indices_ + indexCount)});
  }
  std::vector<Batch> batches;

 private:
  const WORD* indices_;
};

class MeshTransform : public testing::Test {
 protected:
  void SetUp() override {
    vertices.resize(kWorkVertexCapacity);
    indices.resize(kWorkIndexCapacity);
  }
  // A mesh of the given vertices and one face over all of them.
  void makeMesh(const std::vector<MeshVertex>& vs, std::vector<int> face = {}) {
    mesh.allocateVertices(static_cast<std::int32_t>(vs.size()));
    for (const MeshVertex& v : vs) mesh.vertices[mesh.vertexCount++] = v;
    if (face.empty()) {
      for (size_t i = 0; i < vs.size(); ++i) face.push_back(static_cast<int>(i));
    }
    mesh.allocateFaces(1);
    MeshFace* f = mesh.addFace(static_cast<std::int32_t>(face.size()));
    for (size_t i = 0; i < face.size(); ++i) f->indices[i] = static_cast<std::uint16_t>(face[i]);
  }
  Recorder run(std::int32_t vertexCapacity = kWorkVertexCapacity, std::int32_t indexCapacity = kWorkIndexCapacity,
               int expected = 1) {
    Recorder r(indices.data());
    EXPECT_EQ(transformMesh(mesh, materialOf(1, 0, 0, 1), IdentityMatrix, IdentityMatrix, SoftwareLighting(),
                            vertices.data(), vertexCapacity, indices.data(), indexCapacity, r),
              expected);
    return r;
  }
  static MeshVertex at(float x, float y, float z) { return {x, y, z, 0, 0, 1, 0, 0}; }
  TQelXMesh mesh;
  std::vector<D3DTLVERTEX> vertices;
  std::vector<WORD> indices;
};

TEST_F(MeshTransform, FaceInFrontIsAPlainFan) {
  makeMesh({at(0, 0, 2), at(1, 0, 2), at(1, 1, 2), at(0, 1, 2), at(-1, 1, 2)});
  Recorder r = run();
  ASSERT_EQ(r.batches.size(), 1u);
  EXPECT_EQ(r.batches[0].vertexCount, 5u);
  EXPECT_EQ(r.batches[0].indices, (std::vector<WORD>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
}

TEST_F(MeshTransform, OneVertexBehindMakesAQuadrilateral) {
  makeMesh({at(0, 0, 3), at(4, 0, -1), at(0, 4, 3)});
  Recorder r = run();
  ASSERT_EQ(r.batches.size(), 1u);
  EXPECT_EQ(r.batches[0].vertexCount, 5u);
  EXPECT_EQ(r.batches[0].indices, (std::vector<WORD>{0, 3, 4, 0, 4, 2}));
  // The edge (0, 1) meets z = 1 half way: view x = 2 at the plane.
  EXPECT_EQ(vertices[3].sz, 0.0f);
  EXPECT_EQ(vertices[3].rhw, 1.0f);
  EXPECT_FLOAT_EQ(vertices[3].sx, 322.0f);
  EXPECT_FLOAT_EQ(vertices[3].sy, 240.0f);
}

TEST_F(MeshTransform, TwoVerticesBehindMakeASmallerTriangle) {
  makeMesh({at(0, 0, 3), at(4, 0, -1), at(0, 4, -1)});
  Recorder r = run();
  ASSERT_EQ(r.batches.size(), 1u);
  EXPECT_EQ(r.batches[0].vertexCount, 5u);
  EXPECT_EQ(r.batches[0].indices, (std::vector<WORD>{0, 3, 4}));
}

TEST_F(MeshTransform, TriangleEntirelyBehindWritesNothing) {
  makeMesh({at(0, 0, 0.5f), at(4, 0, -1), at(0, 4, 0)});
  EXPECT_TRUE(run().batches.empty());
}

TEST_F(MeshTransform, IndicesBeyondTheVerticesAreLeftOut) {
  makeMesh({at(0, 0, 2), at(1, 0, 2), at(1, 1, 2)}, {0, 1, 2, 7});
  Recorder r = run();
  ASSERT_EQ(r.batches.size(), 1u);
  EXPECT_EQ(r.batches[0].indices, (std::vector<WORD>{0, 1, 2}));
}

TEST_F(MeshTransform, FullBuffersSplitTheDrawAndOversizedMeshesAreRefused) {
  std::vector<MeshVertex> fan;
  for (int i = 0; i < 12; ++i) fan.push_back(at(static_cast<float>(i), static_cast<float>(i * i), 2));
  makeMesh(fan);  // 10 triangles
  Recorder r = run(kWorkVertexCapacity, 9);
  ASSERT_EQ(r.batches.size(), 4u);
  EXPECT_EQ(r.batches[0].indexCount, 9u);
  EXPECT_EQ(r.batches[3].indexCount, 3u);
  EXPECT_EQ(r.batches[3].indices, (std::vector<WORD>{0, 10, 11}));
  EXPECT_TRUE(run(13, kWorkIndexCapacity, 0).batches.empty());
}

// A draw target over plain buffers that records the device calls.
class FakeTarget : public MeshDrawTarget {
 public:
  FakeTarget() : vertices(kWorkVertexCapacity), indices(kWorkIndexCapacity) {}
  Texture* getTexture(const char* n) override { return sink.getTexture(n); }
  Texture* createMaterial(const char* n, const D3DCOLORVALUE& d, const D3DCOLORVALUE& a, const D3DCOLORVALUE& s,
                          const D3DCOLORVALUE& e, float p, DWORD r) override {
    return sink.createMaterial(n, d, a, s, e, p, r);
  }
  Texture* findTexture(const char* n) override { return sink.findTexture(n); }
  void setBoundTexture(Texture* m, Texture* t) override { sink.setBoundTexture(m, t); }
  Texture* boundTexture(Texture* m) override { return sink.boundTexture(m); }
  const D3DMATERIAL* materialDesc(Texture* e) override { return sink.materialDesc(e); }
  const SoftwareLighting& softwareLighting() override { return lighting; }
  D3DTLVERTEX* vertexBuffer() override { return vertices.data(); }
  WORD* indexBuffer() override { return indices.data(); }
  void setWorldTransform(const Matrix4& m) override { worlds.push_back(m); }
  void drawTransformed(DWORD v, DWORD i) override { draws.push_back({v, i, {}}); }

  RecordingSink sink;
  SoftwareLighting lighting;
  std::vector<D3DTLVERTEX> vertices;
  std::vector<WORD> indices;
  std::vector<Matrix4> worlds;
  std::vector<Batch> draws;
};

TEST(MeshDraw, DrawsWithTheFramesMatricesAndSkipsMeshesWithoutMaterial) {
  FakeTarget target;
  TQelXFrame* root = modelFrom(target, "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }");
  ASSERT_NE(root, nullptr);
  TQelXMesh* mesh = root->firstMesh();
  mesh->draw(target, *root);
  EXPECT_TRUE(target.draws.empty());
  EXPECT_TRUE(target.worlds.empty());
  root->release();

  root = modelFrom(target, "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;"
                           " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }");
  ASSERT_NE(root, nullptr);
  root->worldViewMatrix = translationMatrix(0, 0, 5);
  root->worldMatrix = translationMatrix(7, 0, 0);
  root->firstMesh()->draw(target, *root);
  ASSERT_EQ(target.worlds.size(), 1u);
  EXPECT_EQ(target.worlds[0]._41, 7.0f);
  ASSERT_EQ(target.draws.size(), 1u);
  EXPECT_EQ(target.draws[0].vertexCount, 3u);
  EXPECT_EQ(target.draws[0].indexCount, 3u);
  EXPECT_FLOAT_EQ(target.vertices[1].sx, 320.2f);
  root->release();
}

}  // namespace
