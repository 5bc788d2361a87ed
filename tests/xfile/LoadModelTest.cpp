// loadModel and readFrame: the top-level dispatch, nested frames and transforms, the quirks of
// references and comments, the accessors, the debug log, and registration by name.
#include <gtest/gtest.h>

#include "foundation/ClassRegistry.h"
#include "foundation/DebugLog.h"
#include "tests/xfile/RecordingSink.h"
#include "tests/xfile/XTestSupport.h"

namespace {

const char kHeader[] = "xof 0302txt 0032\n";
const char kTriangle[] = "{ 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";

class LoadModel : public testing::Test {
 protected:
  void TearDown() override { releaseModel(root); }
  TQelXFrame* load(const std::string& text) {
    releaseModel(root);
    root = modelFrom(sink, text);
    return root;
  }
  static TQelXFrame* child(TQelXFrame* frame) { return static_cast<TQelXFrame*>(frame->firstChild()); }
  RecordingSink sink;
  TQelXFrame* root = nullptr;
};

TEST_F(LoadModel, ClassesAreRegisteredByName) {
  ClassRecord* mesh = findClassRecord("TQelXMesh");
  ClassRecord* frame = findClassRecord("TQelXFrame");
  ASSERT_NE(mesh, nullptr);
  ASSERT_NE(frame, nullptr);
  EXPECT_STREQ(mesh->parentClassName, "TQelStringTree");
  EXPECT_STREQ(frame->parentClassName, "TQelStringTree");
  TQelLSObj* object = createObjectByName("TQelXFrame");
  ASSERT_NE(dynamic_cast<TQelXFrame*>(object), nullptr);
  object->release();
}

TEST_F(LoadModel, HeaderOnlyAndMissingFiles) {
  resetDebugLog();
  EXPECT_EQ(load(kHeader), nullptr);
  EXPECT_EQ(load(""), nullptr);  // an empty file: no model and no message
  EXPECT_EQ(qeltest::readFileText(kDebugLogFileName), "");
  EXPECT_EQ(loadModel(sink, "missing.x"), nullptr);
  std::string log = qeltest::readFileText(kDebugLogFileName);
  EXPECT_EQ(log, std::string(kOpenFailurePrefix) + "missing.x" + kOpenFailureSuffix);
}

TEST_F(LoadModel, FrameTreeWithTransformMeshAndChild) {
  load(std::string(kHeader) + "template Frame { <3D82AB46-62DA-11cf-AB39-0020AF71E433> [...] }\n"
       "Frame Root { FrameTransformMatrix { 1,0,0,0, 0,2,0,0, 0,0,3,0, 4,5,6,1;; }\n"
       " Mesh Box " + kTriangle + " Frame Child { } }\n");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "Root");
  EXPECT_EQ(root->transform._22, 2.0f);
  EXPECT_EQ(root->transform._33, 3.0f);
  EXPECT_EQ(root->transform._41, 4.0f);
  EXPECT_EQ(root->transform._43, 6.0f);
  EXPECT_EQ(root->attachments.count(), 1);
  TQelXMesh* mesh = root->firstMesh();
  ASSERT_NE(mesh, nullptr);
  EXPECT_STREQ(mesh->name, "Box");
  EXPECT_EQ(mesh->refCount, 1);
  ASSERT_NE(child(root), nullptr);
  EXPECT_STREQ(static_cast<TQelXFrame*>(root->firstChild())->name, "Child");
  EXPECT_EQ(child(root)->transform._11, 1.0f);  // identity without a FrameTransformMatrix
  EXPECT_EQ(child(root)->transform._41, 0.0f);
}

TEST_F(LoadModel, TwoMeshesAndTheAccessors) {
  load(std::string("Frame { Mesh A { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 4;0,1,2,3;, 3;0,1,9;; }"
                   " Mesh B ") + kTriangle + "}");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "");
  EXPECT_EQ(root->attachments.count(), 2);
  std::int32_t count = -1;
  MeshVertex* vertices = firstMeshVertices(root, &count);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(vertices, root->firstMesh()->vertices);
  std::uint16_t* triangles = firstMeshTriangles(root, &count);
  ASSERT_EQ(count, 6);  // the triangle naming vertex 9 of 4 is left out
  const std::uint16_t expected[6] = {0, 1, 2, 0, 2, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(triangles[i], expected[i]);
  delete[] triangles;
}

TEST_F(LoadModel, AccessorsReportNoMeshOnARootWithoutAttachments) {
  load("Frame Root { Frame Inner { Mesh " + std::string(kTriangle) + " } }");
  ASSERT_NE(root, nullptr);
  std::int32_t count = -1;
  EXPECT_EQ(firstMeshVertices(root, &count), nullptr);
  EXPECT_EQ(count, 0);
  count = -1;
  EXPECT_EQ(firstMeshTriangles(root, &count), nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(firstMeshTexture(root), nullptr);
}

TEST_F(LoadModel, LaterTopLevelFrameReplacesTheFirst) {
  load("Frame One { } Frame Two { }");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "Two");  // the first is destroyed (the leak checker sees to it)
}

TEST_F(LoadModel, TopLevelMeshEndsTheRead) {
  load(std::string("Frame One { } Mesh Lone ") + kTriangle + "Frame Later { } Material M { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->name, nullptr);  // a new unnamed frame
  ASSERT_NE(root->firstMesh(), nullptr);
  EXPECT_STREQ(root->firstMesh()->name, "Lone");
  EXPECT_EQ(root->firstChild(), nullptr);
  EXPECT_EQ(sink.materialCount, 0);
}

TEST_F(LoadModel, ReferenceByNameEndsTheFrameEarly) {
  load("Frame Outer { Frame Inner { { Box } Frame Late { } } }");
  ASSERT_NE(root, nullptr);
  TQelXFrame* inner = child(root);
  ASSERT_NE(inner, nullptr);
  EXPECT_STREQ(inner->name, "Inner");
  EXPECT_EQ(inner->firstChild(), nullptr);
  ASSERT_NE(inner->nextSibling(), nullptr);  // Late was read at the outer level
  EXPECT_STREQ(static_cast<TQelXFrame*>(inner->nextSibling())->name, "Late");
}

TEST_F(LoadModel, CommentWordsAreTokens) {
  load("// Frame made by a tool\n{ Mesh " + std::string(kTriangle) + "}");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "made");
  EXPECT_NE(root->firstMesh(), nullptr);
}

TEST_F(LoadModel, KeywordsAreCaseSensitiveAndFoundInsideUnknownObjects) {
  EXPECT_EQ(load("frame A { } MATERIAL X { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; }"), nullptr);
  EXPECT_EQ(sink.materialCount, 0);
  load("AnimationSet Run { Animation { Frame Hidden { } } }");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "Hidden");
}

TEST_F(LoadModel, MaterialsOutsideMeshesAreOnlyRegistered) {
  load("Material Red { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
       "Frame F { Material Blue { 0;0;1;1;; 0; 0;0;0;; 0;0;0;; }\n"
       " Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Red } } } }");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(sink.materialCount, 2);
  EXPECT_NE(sink.find("Blue"), nullptr);
  EXPECT_EQ(RecordingSink::entry(firstMeshTexture(root)), sink.find("Red"));
}

TEST_F(LoadModel, UnbalancedFilesReturnWhatWasRead) {
  load("Frame A { Frame B { Mesh { 3; 0;0;0;, 1;0;0;");
  ASSERT_NE(root, nullptr);
  ASSERT_NE(child(root), nullptr);
  EXPECT_NE(child(root)->firstMesh(), nullptr);
  load("Frame A { } template T { { ");
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "A");
}

TEST_F(LoadModel, DeepNestingIsBounded) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "Frame F { ";
  load(text);
  ASSERT_NE(root, nullptr);
  int depth = 0;
  for (TQelXFrame* f = root; f; f = child(f)) ++depth;
  EXPECT_LE(depth, 256);
}

TEST_F(LoadModel, MeshAttachedElsewhereOutlivesTheModel) {
  load("Frame { Mesh " + std::string(kTriangle) + "}");
  TQelXMesh* mesh = root->firstMesh();
  TQelXFrame other;
  other.attach(mesh);
  releaseModel(root);
  root = nullptr;
  EXPECT_EQ(mesh->refCount, 1);
  EXPECT_EQ(mesh->vertexCount, 3);
}

}  // namespace
