// readMesh: vertex and face lists at fixed stride, MeshNormals (per vertex and per face corner
// with the re-indexing), MeshTextureCoords, and hostile counts.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/xfile/RecordingSink.h"
#include "tests/xfile/XTestSupport.h"

namespace {

const char kCubeGeometry[] =
    "Box {\n 8;\n"
    " 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, 0;0;1;, 1;0;1;, 1;1;1;, 0;1;1;;\n"
    " 6;\n 4;0,1,2,3;, 4;4,5,6,7;, 4;0,1,5,4;, 4;1,2,6,5;, 4;2,3,7,6;, 4;3,0,4,7;;\n";

std::string cornerNormals() {
  std::ostringstream s;
  s << " MeshNormals {\n 24;\n";
  for (int c = 0; c < 24; ++c) s << " " << c << ";0;" << -c << ";" << (c == 23 ? ";\n" : ",\n");
  s << " 6;\n 4;0,1,2,3;, 4;4,5,6,7;, 4;8,9,10,11;, 4;12,13,14,15;, 4;16,17,18,19;, 4;20,21,22,23;;\n }\n";
  return s.str();
}

std::string textureCoords(int n) {
  std::ostringstream s;
  s << " MeshTextureCoords {\n " << n << ";\n";
  for (int i = 0; i < n; ++i) s << " " << i << ";" << i + 100 << ";" << (i + 1 == n ? ";\n" : ",\n");
  s << " }\n";
  return s.str();
}

const int kCubeFaces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};

class MeshRead : public testing::Test {
 protected:
  void TearDown() override {
    if (mesh) mesh->release();
  }
  TQelXMesh* read(const std::string& text) {
    mesh = meshFrom(sink, text);
    return mesh;
  }
  RecordingSink sink;
  TQelXMesh* mesh = nullptr;
};

TEST_F(MeshRead, CubeWithCornerNormalsBecomesTwentyFourVertices) {
  read(std::string(kCubeGeometry) + cornerNormals() + textureCoords(8) + "}");
  ASSERT_EQ(mesh->vertexCount, 24);
  ASSERT_EQ(mesh->faceCount, 6);
  EXPECT_STREQ(mesh->name, "Box");
  int c = 0;
  for (int j = 0; j < 6; ++j) {
    ASSERT_EQ(mesh->faces[j]->count, 4);
    for (int k = 0; k < 4; ++k, ++c) {
      EXPECT_EQ(mesh->faces[j]->indices[k], c);
      const MeshVertex& v = mesh->vertices[c];
      int o = kCubeFaces[j][k];
      EXPECT_EQ(v.nx, static_cast<float>(c));  // normal c stays on vertex c
      EXPECT_EQ(v.nz, static_cast<float>(-c));
      EXPECT_EQ(v.x, static_cast<float>(o == 1 || o == 2 || o == 5 || o == 6));
      EXPECT_EQ(v.z, static_cast<float>(o >= 4));
      EXPECT_EQ(v.tu, static_cast<float>(o));  // coordinates of the first-read vertex
      EXPECT_EQ(v.tv, static_cast<float>(o + 100));
    }
  }
}

TEST_F(MeshRead, CubeWithVertexNormalsKeepsItsVertices) {
  std::string normals = " MeshNormals {\n 8;\n";
  for (int i = 0; i < 8; ++i) normals += " 0;" + std::to_string(i) + ";0;" + (i == 7 ? ";" : ",");
  normals += "\n 6;\n 4;9,9,9,9;, 4;9,9,9,9;, 4;9,9,9,9;, 4;9,9,9,9;, 4;9,9,9,9;, 4;9,9,9,9;;\n }\n";
  read(std::string(kCubeGeometry) + normals + "}");
  ASSERT_EQ(mesh->vertexCount, 8);
  ASSERT_EQ(mesh->faceCount, 6);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(mesh->vertices[i].ny, static_cast<float>(i));
  for (int j = 0; j < 6; ++j) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(mesh->faces[j]->indices[k], kCubeFaces[j][k]);  // face normals skipped
  }
}

TEST_F(MeshRead, TextureCoordsBeforeReindexingAreCarriedOver) {
  read(std::string(kCubeGeometry) + textureCoords(8) + cornerNormals() + "}");
  ASSERT_EQ(mesh->vertexCount, 24);
  EXPECT_EQ(mesh->vertices[9].tu, 1.0f);  // corner 9: face (0,1,5,4), corner 1, first-read vertex 1
  EXPECT_EQ(mesh->vertices[9].tv, 101.0f);
  EXPECT_EQ(mesh->vertices[23].tu, 7.0f);
}

TEST_F(MeshRead, NamesAndEmptyBlocks) {
  read("{ }");
  EXPECT_STREQ(mesh->name, "");
  EXPECT_EQ(mesh->vertexCount, 0);
  EXPECT_EQ(mesh->faceCount, 0);
  EXPECT_EQ(mesh->vertices, nullptr);
  EXPECT_EQ(mesh->faces, nullptr);
  EXPECT_EQ(mesh->material, nullptr);
}

TEST_F(MeshRead, QuadStaysOneFaceAndIndicesWrapAt65536) {
  read("{ 1; 0;0;0;; 1; 4;0,65537,2,70000;; }");
  ASSERT_EQ(mesh->faceCount, 1);
  ASSERT_EQ(mesh->faces[0]->count, 4);
  EXPECT_EQ(mesh->faces[0]->indices[1], 1);
  EXPECT_EQ(mesh->faces[0]->indices[3], 70000 - 65536);
}

TEST_F(MeshRead, ExponentShiftsTheFixedStride) {
  // 1.0e-3 is two tokens: every value after it lands one token off.
  read("{ 2; 1.0e-3;2;3;, 4;5;6;; }");
  ASSERT_EQ(mesh->vertexCount, 2);
  EXPECT_EQ(mesh->vertices[0].x, 1.0f);
  EXPECT_EQ(mesh->vertices[0].y, 0.0f);  // "e-3" does not convert
  EXPECT_EQ(mesh->vertices[0].z, 0.0f);  // ";" is taken as the value
  EXPECT_NE(mesh->vertices[1].x, 4.0f);
}

TEST_F(MeshRead, FewerNormalsThanVerticesReadsOnlyThoseGiven) {
  read("{ 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;"
       " MeshNormals { 1; 0;0;1;; 1; 3;0,0,0;; }"
       " MeshTextureCoords { 3; 0.25;0.5;, 1;1;, 0;1;; } }");
  ASSERT_EQ(mesh->vertexCount, 3);
  EXPECT_EQ(mesh->vertices[0].nz, 1.0f);
  EXPECT_EQ(mesh->vertices[1].nz, 0.0f);  // never given: zero
  EXPECT_EQ(mesh->vertices[0].tu, 0.25f);
  EXPECT_EQ(mesh->vertices[2].tv, 1.0f);
}

TEST_F(MeshRead, ExtraTextureCoordsAreNotStored) {
  read("{ 1; 5;5;5;; 0;; MeshTextureCoords { 4; 1;2;, 3;4;, 5;6;, 7;8;; } }");
  ASSERT_EQ(mesh->vertexCount, 1);
  EXPECT_EQ(mesh->vertices[0].tu, 1.0f);
  EXPECT_EQ(mesh->vertices[0].tv, 2.0f);
}

TEST_F(MeshRead, UnknownSubObjectIsSkippedWhole) {
  read("{ 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;"
       " VertexDuplicationIndices { 3; 3; 0, 1, 2; }"
       " XSkinMeshHeader { 1; 2; 3; }"
       " MeshTextureCoords { 3; 0;0;, 1;0;, 0;1;; } }");
  ASSERT_EQ(mesh->vertexCount, 3);
  EXPECT_EQ(mesh->vertices[1].x, 1.0f);
  EXPECT_EQ(mesh->vertices[2].tv, 1.0f);
  EXPECT_EQ(mesh->faceCount, 1);
}

TEST_F(MeshRead, MismatchedCornerNormalsFallBackToOneNormalPerVertex) {
  // 5 normals for 3 vertices but a triangle has only 3 corners: the mesh stays as first read.
  read("{ 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;2,1,0;;"
       " MeshNormals { 5; 1;0;0;, 0;1;0;, 0;0;1;, 1;1;0;, 0;1;1;; 2; 3;0,1,2;, 2;3,4;; } }");
  ASSERT_EQ(mesh->vertexCount, 3);
  ASSERT_EQ(mesh->faceCount, 1);
  EXPECT_EQ(mesh->faces[0]->indices[0], 2);
  EXPECT_EQ(mesh->vertices[1].x, 1.0f);
  EXPECT_EQ(mesh->vertices[1].ny, 1.0f);
  EXPECT_EQ(mesh->vertices[2].nz, 1.0f);
}

TEST_F(MeshRead, ReindexingKeepsFacesWithMissingVerticesInBounds) {
  // A corner naming vertex 9 of 3: the new vertex gets no position, nothing is read beyond.
  read("{ 3; 1;1;1;, 2;2;2;, 3;3;3;; 1; 3;0,9,2;;"
       " MeshNormals { 3; 0;0;1;, 0;0;1;, 0;0;1;; 1; 3;0,1,2;; } }");
  // 3 normals for 3 vertices is one normal per vertex: no re-indexing; indices kept as read.
  ASSERT_EQ(mesh->faceCount, 1);
  EXPECT_EQ(mesh->faces[0]->indices[1], 9);
  mesh->release();
  read("{ 2; 1;1;1;, 2;2;2;; 1; 3;0,9,1;;"
       " MeshNormals { 3; 0;0;1;, 0;0;1;, 0;0;1;; 1; 3;0,1,2;; } }");
  ASSERT_EQ(mesh->vertexCount, 3);
  EXPECT_EQ(mesh->vertices[0].x, 1.0f);
  EXPECT_EQ(mesh->vertices[1].x, 0.0f);
  EXPECT_EQ(mesh->vertices[2].x, 2.0f);
  EXPECT_EQ(mesh->faces[0]->indices[1], 1);
}

TEST_F(MeshRead, HostileCountsAllocateOnlyWhatTheFileCouldHold) {
  read("{ 2000000000; 1;2;3;; 2000000000; 2000000000; 1,2,3;; }");
  EXPECT_LE(mesh->vertexCapacity, 10);
  EXPECT_LE(mesh->vertexCount, mesh->vertexCapacity);
  EXPECT_EQ(mesh->vertices[0].z, 3.0f);
  EXPECT_LE(mesh->faceCapacity, 10);
  mesh->release();
  read("{ -7; -3; MeshNormals { -4; } MeshTextureCoords { -9; } }");
  EXPECT_EQ(mesh->vertexCount, 0);
  EXPECT_EQ(mesh->vertices, nullptr);
  EXPECT_EQ(mesh->faceCount, 0);
  mesh->release();
  read("{ 100; 1;2;3;, 4;5;6;,");  // the file ends inside the list
  EXPECT_EQ(mesh->vertexCount, 2);
  EXPECT_EQ(mesh->vertices[1].z, 6.0f);
}

TEST(MeshFaces, AddFaceStopsAtCapacityAndAllocateFreesRecords) {
  TQelXMesh mesh;
  ASSERT_EQ(mesh.allocateFaces(2), 1);
  ASSERT_NE(mesh.addFace(3), nullptr);
  MeshFace* empty = mesh.addFace(-4);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->count, 0);
  EXPECT_EQ(mesh.addFace(3), nullptr);
  EXPECT_EQ(mesh.faceCount, 2);
  ASSERT_EQ(mesh.allocateFaces(1), 1);
  EXPECT_EQ(mesh.faceCount, 0);
  EXPECT_EQ(mesh.faceCapacity, 1);
}

}  // namespace
