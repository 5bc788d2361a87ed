// readMaterial: the slot mapping, names, texture keywords, the MeshMaterialList rules (first
// entry only, references by name) and the lists that name nothing usable.
#include <gtest/gtest.h>

#include "tests/xfile/RecordingSink.h"
#include "tests/xfile/XTestSupport.h"
#include "xfile/ReadMaterial.h"

namespace {

void expectColour(const D3DCOLORVALUE& c, float r, float g, float b, float a) {
  EXPECT_EQ(c.r, r);
  EXPECT_EQ(c.g, g);
  EXPECT_EQ(c.b, b);
  EXPECT_EQ(c.a, a);
}

class MaterialRead : public testing::Test {
 protected:
  void TearDown() override {
    if (mesh) mesh->release();
  }
  // A top-level Material over the text after the keyword; returns the token after it.
  std::string topLevel(const std::string& text) {
    TextStream stream;
    setText(stream, text);
    readMaterial(sink, stream, nullptr, true);
    return stream.nextToken().c_str();
  }
  // A triangle mesh whose MeshMaterialList body is `list`, then a texture-coordinate block.
  void meshWithList(const std::string& list) {
    mesh = meshFrom(sink, "M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { " + list +
                              " } MeshTextureCoords { 3; 0.5;0.5;, 1;1;, 0;1;; } }");
  }
  RecordingSink sink;
  TQelXMesh* mesh = nullptr;
};

TEST_F(MaterialRead, FileColoursLandInTheEngineSlots) {
  EXPECT_EQ(topLevel("Red { 1.0;0.0;0.0;1.0;; 5.0; 1.0;1.0;1.0;; 0.0;0.0;0.0;; } next"), "next");
  ASSERT_EQ(sink.entries.size(), 1u);
  const RecordedEntry& e = *sink.entries[0];
  EXPECT_EQ(e.name, "Red");
  expectColour(e.desc.diffuse, 1, 0, 0, 1);
  expectColour(e.desc.ambient, 1, 1, 1, 0);
  expectColour(e.desc.specular, 0, 0, 0, 0);
  expectColour(e.desc.emissive, 0.5f, 0.5f, 0.5f, 1.0f);
  EXPECT_EQ(e.desc.power, 5.0f);
  EXPECT_EQ(e.desc.dwRampSize, 1u);
  EXPECT_EQ(e.bound, nullptr);
}

TEST_F(MaterialRead, UnnamedMaterialAndLeadingPointShift) {
  // ".5" is dropped by the scan, so every later value moves up one slot.
  topLevel("{ 1;0.2;.5;1;; 7; 0;0;0;; 0;0;0;; 9; }");
  ASSERT_EQ(sink.entries.size(), 1u);
  const RecordedEntry& e = *sink.entries[0];
  EXPECT_EQ(e.name, "NoNameMaterial");
  expectColour(e.desc.diffuse, 1, 0.2f, 1, 7);
  EXPECT_EQ(e.desc.power, 0.0f);
  EXPECT_EQ(e.desc.specular.b, 9.0f);
}

TEST_F(MaterialRead, BothTextureKeywordSpellings) {
  sink.loadable = {"a.bmp", "b.bmp"};
  topLevel("A { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"a.bmp\"; } }");
  topLevel("B { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFileName { \"b.bmp\"; } }");
  topLevel("C { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; texturefilename { \"c.bmp\"; } }");
  ASSERT_NE(sink.find("A"), nullptr);
  EXPECT_EQ(sink.find("A")->bound, sink.find("a.bmp"));
  EXPECT_EQ(sink.find("B")->bound, sink.find("b.bmp"));
  EXPECT_EQ(sink.find("C")->bound, nullptr);
  EXPECT_EQ(sink.getTextureCalls, (std::vector<std::string>{"a.bmp", "b.bmp"}));
}

TEST_F(MaterialRead, UnquotedTextureNameTakesTheWrongToken) {
  topLevel("A { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { tex.bmp; } }");
  EXPECT_EQ(sink.getTextureCalls, (std::vector<std::string>{";"}));
}

TEST_F(MaterialRead, InlineMaterialWithTextureGivesMeshBoth) {
  sink.loadable = {"tex.bmp"};
  meshWithList("1; 1; 0;; Material Skin { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"tex.bmp\"; } }");
  ASSERT_NE(mesh->material, nullptr);
  EXPECT_EQ(RecordingSink::entry(mesh->material)->name, "Skin");
  EXPECT_EQ(RecordingSink::entry(mesh->texture), sink.find("tex.bmp"));
  EXPECT_EQ(mesh->vertices[0].tu, 0.5f);  // the mesh goes on after the list
}

TEST_F(MaterialRead, MissingTextureKeepsMaterialWithNullTexture) {
  meshWithList("1; 1; 0;; Material Skin { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"gone.bmp\"; } }");
  ASSERT_NE(mesh->material, nullptr);
  EXPECT_EQ(mesh->texture, nullptr);
}

TEST_F(MaterialRead, UntexturedMaterialStandsInForTheTexture) {
  meshWithList("1; 1; 0;; Material { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }");
  ASSERT_NE(mesh->material, nullptr);
  EXPECT_EQ(mesh->texture, mesh->material);
}

TEST_F(MaterialRead, SecondInlineMaterialIsNeverRead) {
  meshWithList("2; 1; 1;; Material First { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }"
               " Material Second { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; }");
  EXPECT_EQ(sink.materialCount, 1);
  EXPECT_EQ(sink.find("Second"), nullptr);
  EXPECT_EQ(RecordingSink::entry(mesh->material)->name, "First");
  EXPECT_EQ(mesh->vertices[1].tu, 1.0f);
}

TEST_F(MaterialRead, ReferenceByNameUsesTheBoundTextureOrTheMaterial) {
  sink.loadable = {"red.bmp"};
  topLevel("Red { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"red.bmp\"; } }");
  topLevel("Plain { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }");
  meshWithList("1; 1; 0;; { Red }");
  EXPECT_EQ(RecordingSink::entry(mesh->material), sink.find("Red"));
  EXPECT_EQ(RecordingSink::entry(mesh->texture), sink.find("red.bmp"));
  mesh->release();
  meshWithList("1; 1; 0;; { Plain }");
  EXPECT_EQ(RecordingSink::entry(mesh->texture), sink.find("Plain"));
  EXPECT_EQ(mesh->vertices[2].tv, 1.0f);
}

TEST_F(MaterialRead, UnknownReferenceAndEmptyListLeaveNoMaterial) {
  meshWithList("1; 1; 0;; { Nobody }");
  EXPECT_EQ(mesh->material, nullptr);
  EXPECT_EQ(mesh->texture, nullptr);
  EXPECT_EQ(mesh->vertices[2].tv, 1.0f);
  mesh->release();
  meshWithList("0; 0;;");
  EXPECT_EQ(mesh->material, nullptr);
  EXPECT_EQ(mesh->vertices[2].tv, 1.0f);  // the list ended at its own "}"
}

}  // namespace
