// qelmodel's view of the Renderer: the table's entries in name order with their images, the
// debug-log lines a load wrote, and both in the info report of a model with a missing texture.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/DebugLog.h"
#include "graphics/Texture.h"
#include "tests/device/RendererTestSupport.h"
#include "tests/support/test_files.h"
#include "tools/qelmodel/DebugLogTail.h"
#include "tools/qelmodel/HeadlessRenderer.h"
#include "tools/qelmodel/ModelInfo.h"
#include "tools/qelmodel/TableEntries.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"

namespace {

Texture* material(Renderer& renderer, const char* name) {
  return renderer.createMaterial(name, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1);
}

TEST(QelModelTable, EntriesInNameOrderWithTheirImages) {
  ASSERT_TRUE(renderertest::writeChecker("c.bmp"));
  HeadlessRenderer headless;
  ASSERT_TRUE(headless.created());
  Renderer& renderer = headless.renderer;
  Texture* olderB = material(renderer, "b");
  Texture* a = material(renderer, "a");
  Texture* image = renderer.getTexture("c.bmp");
  Texture* newerB = material(renderer, "b");
  ASSERT_NE(image, nullptr);
  newerB->setBoundTexture(image);

  EXPECT_EQ(tableEntries(renderer), (std::vector<Texture*>{a, newerB, olderB, image}));
  EXPECT_TRUE(isImageEntry(image));
  EXPECT_FALSE(isImageEntry(a));
  EXPECT_FALSE(isImageEntry(nullptr));
  EXPECT_EQ(imageOf(image), image);
  EXPECT_EQ(imageOf(newerB), image);
  EXPECT_EQ(imageOf(olderB), nullptr);
  EXPECT_EQ(imageOf(nullptr), nullptr);
  int width = -1, height = -1;
  EXPECT_TRUE(imageSize(image, width, height));
  EXPECT_EQ(width, 8);
  EXPECT_EQ(height, 8);
  EXPECT_FALSE(imageSize(a, width, height));
  EXPECT_EQ(width, 0);
}

TEST(QelModelTable, LogTailSplitsTheLinesWrittenSinceItWasMade) {
  std::remove(kDebugLogFileName);
  EXPECT_TRUE(DebugLogTail().lines().empty());  // no log at all
  appendToDebugLog("before\r\n");
  DebugLogTail tail;
  EXPECT_TRUE(tail.lines().empty());
  appendToDebugLog("one\r\ntwo\n\r\nthree");
  EXPECT_EQ(tail.lines(), (std::vector<std::string>{"one", "two", "", "three"}));
}

TEST(QelModelTable, InfoListsTheTableAndTheLogOfTheLoad) {
  qeltest::writeFileText("model.x",
                         "xof 0302txt 0032\n"
                         "Mesh Plate { 3; 0.0;0.0;0.0;, 1.0;0.0;0.0;, 0.0;1.0;0.0;; 1; 3;0,1,2;;\n"
                         " MeshMaterialList { 1; 1; 0;; Material Zinc { 1.0;0.5;0.25;1.0;; 8.0; 0.0;0.0;0.0;;"
                         " 0.0;0.0;0.0;; TextureFilename { \"missing.bmp\"; } } } }\n");
  std::remove(kDebugLogFileName);
  HeadlessRenderer headless;
  ASSERT_TRUE(headless.created());
  material(headless.renderer, "Alum");  // entries made before the load are listed too
  DebugLogTail tail;
  TQelXFrame* root = loadModel(headless.target, "model.x");
  ASSERT_NE(root, nullptr);
  const std::vector<std::string> log = tail.lines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("\"missing.bmp\""), std::string::npos);

  const std::string json = modelInfo("model.x", root, headless.renderer, log, InfoOptions{true, false});
  EXPECT_NE(json.find("\"material\":\"Zinc\",\"texture\":null,\"textureLoaded\":false"), std::string::npos) << json;
  const std::size_t alum = json.find("{\"name\":\"Alum\"");
  const std::size_t zinc = json.find("{\"name\":\"Zinc\",\"diffuse\":[1,0.5,0.25,1]");
  EXPECT_NE(alum, std::string::npos);
  EXPECT_NE(zinc, std::string::npos);
  EXPECT_LT(alum, zinc);
  EXPECT_NE(json.find("\"power\":8,\"boundTexture\":null"), std::string::npos);
  // The log line, converted to UTF-8: "ファイルのオープンに失敗しました FileName…" and the name.
  EXPECT_NE(json.find("\"log\":[\"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB"), std::string::npos);
  EXPECT_NE(json.find("\\\"missing.bmp\\\"\"]"), std::string::npos);

  const std::string text = modelInfo("model.x", root, headless.renderer, log, InfoOptions{});
  EXPECT_NE(text.find("material \"Zinc\", texture none (no image)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nlog: "), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 14), "\"missing.bmp\"\n");
  root->release();
}

}  // namespace
