// The real-world .x files of the shared test data: each loads (under the sanitizers) through a
// headless Renderer into the counts recorded below, renders into a 640x480 image, and the
// negative files are refused.
// A change in what the reader makes of a real file shows up here as a changed row.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "foundation/DebugLog.h"
#include "graphics/Texture.h"
#include "platform/bitmap/PngFile.h"
#include "tests/support/test_files.h"
#include "tools/qelmodel/DebugLogTail.h"
#include "tools/qelmodel/HeadlessRenderer.h"
#include "tools/qelmodel/ModelInfo.h"
#include "tools/qelmodel/ModelRender.h"
#include "tools/qelmodel/TableEntries.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

struct Counts {
  const char* file;
  int frames, meshes, vertices, faces;
  int materials;       // material entries in the Renderer's table
  int loadedTextures;  // meshes whose texture image loaded
  int logLines;        // debug-log lines: texture files that could not be loaded
};

// What the reader makes of each file (quirks included: comments and unknown blocks shift the
// fixed-stride lists of some files, a reference by name ends a frame early, one material per mesh).
const Counts kCorpus[] = {
    {"BCN_Epileptic.X", 1, 1, 1170, 1966, 0, 0, 0},
    {"Cube.x", 1, 1, 24, 12, 0, 0, 0},
    {"Disc.x", 1, 1, 4531, 7080, 0, 0, 0},
    {"Testwuson.X", 1, 1, 3205, 3732, 0, 0, 0},
    {"acropolis_ground.x", 16, 1, 15, 16, 0, 0, 0},
    {"acropolis_sky.x", 20, 1, 137, 240, 0, 0, 0},
    {"airplane 2.x", 9, 8, 1282, 596, 8, 6, 0},
    {"alley_skybox.x", 2, 1, 24, 12, 1, 0, 1},
    {"anim_test.x", 1, 0, 0, 0, 1, 0, 1},
    {"arrow.x", 6, 2, 156, 152, 2, 0, 0},
    {"car.x", 6, 5, 1860, 1850, 5, 0, 0},
    {"cell.x", 1, 1, 24, 12, 1, 0, 1},
    {"gazebo01.x", 2, 1, 7661, 3766, 1, 0, 1},
    {"kwxport_test_cubewithvcolors.x", 1, 1, 24, 12, 1, 0, 1},
    {"lobby_skybox.x", 1, 1, 0, 0, 0, 0, 0},
    {"malformed_skinweights_oob.x", 2, 1, 24, 12, 1, 0, 0},
    {"pine04.x", 2, 1, 3814, 2052, 1, 0, 1},
    {"quad.x", 3, 1, 4, 2, 1, 0, 0},
    {"quadlow.x", 4, 1, 4, 2, 1, 0, 0},
    {"ring.x", 1, 1, 1024, 2048, 1, 0, 0},
    {"rock.x", 2, 1, 285, 445, 1, 0, 1},
    {"room.x", 1, 1, 34, 24, 1, 0, 1},
    {"scene.x", 1, 0, 0, 0, 0, 0, 0},
    {"seafloor.x", 1, 1, 1490, 2830, 1, 1, 0},
    {"shapes1.x", 8, 1, 2814, 4136, 1, 0, 0},
    {"skybox01.x", 2, 1, 24, 12, 1, 0, 1},
    {"sphere.x", 2, 1, 2307, 2304, 1, 0, 1},
    {"sphereband.x", 1, 1, 2307, 4512, 1, 0, 1},
    {"spherelow.x", 4, 1, 380, 180, 1, 0, 0},
    {"spotlight.x", 1, 1, 53, 64, 1, 1, 0},
    {"terrain01.x", 3, 1, 3058, 6104, 1, 0, 0},
    {"test.x", 1, 1, 24, 12, 1, 0, 1},
    {"test_cube_text.x", 2, 1, 24, 12, 1, 0, 0},
    {"tiger.x", 1, 1, 303, 599, 1, 1, 0},
};

std::string corpusDir() { return qeltest::sharedDir() + "/testdata/xfiles"; }

// Runs in a folder of the scratch directory that links to every file of `folder` (texture
// names are relative to the working directory, and the debug log must be writable, which the
// shared folder is not); returns to the scratch directory afterwards.
class InCorpusFolder {
 public:
  explicit InCorpusFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    const fs::path links = fs::path(qeltest::scratchDir()) / fs::path(folder).filename();
    std::error_code error;
    fs::create_directories(links, error);
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (!entry.is_regular_file()) continue;
      const fs::path link = links / entry.path().filename();
      if (!fs::exists(fs::symlink_status(link))) fs::create_symlink(entry.path(), link, error);
    }
    fs::remove(links / kDebugLogFileName, error);
    ok = !error && chdir(links.c_str()) == 0;
  }
  ~InCorpusFolder() { [[maybe_unused]] int r = chdir(qeltest::scratchDir().c_str()); }
  bool ok = false;
};

void countFrames(const TQelXFrame& frame, Counts& counts) {
  ++counts.frames;
  for (AttachmentNode* n = frame.attachments.first(); n; n = frame.attachments.after(n)) {
    const TQelXMesh* mesh = dynamic_cast<const TQelXMesh*>(n->object);
    if (!mesh) continue;
    ++counts.meshes;
    counts.vertices += mesh->vertexCount;
    counts.faces += mesh->faceCount;
    if (imageOf(mesh->texture)) ++counts.loadedTextures;
    // Every face index a consumer would follow stays inside the mesh, or is left out by it.
    for (std::int32_t j = 0; j < mesh->faceCount; ++j) ASSERT_GE(mesh->faces[j]->count, 0);
  }
  for (TQelVTree* c = frame.firstChild(); c; c = c->nextSibling()) {
    if (const TQelXFrame* child = dynamic_cast<const TQelXFrame*>(c)) countFrames(*child, counts);
  }
}

class XFileCorpus : public testing::TestWithParam<Counts> {};

TEST_P(XFileCorpus, LoadsIntoTheRecordedCountsAndRenders) {
  const Counts& expected = GetParam();
  InCorpusFolder folder(corpusDir());
  ASSERT_TRUE(folder.ok) << corpusDir();
  HeadlessRenderer headless;
  ASSERT_TRUE(headless.created());
  DebugLogTail log;
  TQelXFrame* root = loadModel(headless.target, expected.file);
  ASSERT_NE(root, nullptr) << expected.file;
  const std::vector<std::string> logLines = log.lines();

  Counts got{expected.file, 0, 0, 0, 0, 0, 0, static_cast<int>(logLines.size())};
  countFrames(*root, got);
  for (const Texture* e : tableEntries(headless.renderer)) got.materials += isImageEntry(e) ? 0 : 1;
  EXPECT_EQ(got.frames, expected.frames);
  EXPECT_EQ(got.meshes, expected.meshes);
  EXPECT_EQ(got.vertices, expected.vertices);
  EXPECT_EQ(got.faces, expected.faces);
  EXPECT_EQ(got.materials, expected.materials);
  EXPECT_EQ(got.loadedTextures, expected.loadedTextures);
  EXPECT_EQ(got.logLines, expected.logLines);

  // The JSON report is produced for every file.
  std::string json = modelInfo(expected.file, root, headless.renderer, logLines, InfoOptions{true, true});
  EXPECT_EQ(json.rfind("{\"file\":", 0), 0u);

  const std::string png = qeltest::scratchDir() + "/render.png";
  int drawn = 0;
  ASSERT_TRUE(renderModel(root, headless.renderer, RenderOptions(), png.c_str(), &drawn));
  root->release();

  platform::RgbaImage image;
  ASSERT_TRUE(platform::readPngRgba(png.c_str(), image));
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.height, 480);
  int covered = 0;
  for (std::size_t p = 0; p < image.pixels.size(); p += 4) {
    // Anything but the background colour 0xCCCCDD as it reads back from RGB565.
    if (image.pixels[p] != image.pixels[0] || image.pixels[p + 1] != image.pixels[1] ||
        image.pixels[p + 2] != image.pixels[2]) {
      ++covered;
    }
  }
  if (drawn > 0 && expected.faces > 0) {
    EXPECT_GT(covered, 100) << expected.file;
  }
}

INSTANTIATE_TEST_SUITE_P(SharedFiles, XFileCorpus, testing::ValuesIn(kCorpus), [](const auto& info) {
  std::string name;
  for (const char* c = info.param.file; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
});

TEST(XFileCorpusNegative, BinaryCompressedAndEmptyFilesGiveNoModel) {
  InCorpusFolder folder(corpusDir() + "/negative");
  ASSERT_TRUE(folder.ok);
  for (const char* file : {"empty.x", "sphere0.x", "test_cube_binary.x", "test_cube_compressed.x"}) {
    HeadlessRenderer headless;
    TQelXFrame* root = loadModel(headless.target, file);
    EXPECT_EQ(root, nullptr) << file;
    if (root) root->release();
  }
}

TEST(XFileCorpusNegative, EveryFileOfTheFolderIsInTheTable) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpusDir())) {
    std::string ext = entry.path().extension().string();
    if (ext != ".x" && ext != ".X") continue;
    ++files;
    bool listed = false;
    for (const Counts& c : kCorpus) listed = listed || entry.path().filename() == c.file;
    EXPECT_TRUE(listed) << entry.path();
  }
  EXPECT_EQ(files, static_cast<int>(std::size(kCorpus)));
}

}  // namespace
