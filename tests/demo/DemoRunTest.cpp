// Whole runs of the program through the platform's entry point, headless: Escape, a folder
// without any asset, and the attract-mode script with captured frames compared against
// reference images (set QEL_WRITE_REFERENCE=1 to rewrite them from this run).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/SceneState.h"
#include "foundation/DebugLog.h"
#include "platform/bitmap/PngFile.h"
#include "platform/main/PlatformEntry.h"
#include "platform/win32/WindowSystem.h"
#include "tests/demo/DemoFixture.h"
#include "tests/support/test_files.h"

namespace demotest {
namespace {

namespace fs = std::filesystem;

// Runs the demo's WinMain with these platform options inside `folder` (created when missing),
// then returns to the previous working directory.
int runDemoIn(const std::string& folder, std::vector<std::string> options) {
  const fs::path before = fs::current_path();
  fs::create_directories(folder);
  fs::current_path(folder);
  options.insert(options.begin(), "demo");
  std::vector<char*> argv;
  for (std::string& option : options) argv.push_back(option.data());
  const int status = platform::runPlatformMain(int(argv.size()), argv.data(), &WinMain);
  fs::current_path(before);
  return status;
}

class DemoRun : public DemoTest {
 protected:
  void SetUp() override {
    DemoTest::SetUp();
    platform::installBackend(nullptr);  // the entry point installs its own backend
    clock = nullptr;
  }
};

TEST_F(DemoRun, EscapeShutsTheSceneDownAndEndsWithZero) {
  fs::create_directories("escape");
  ASSERT_TRUE(qeltest::writeFileText("escape/escape.keys", "4 press ESCAPE\n"));
  EXPECT_EQ(0, runDemoIn("escape", {"--headless", "--keys", "escape.keys"}));
  EXPECT_FALSE(scene.sceneReady);
  EXPECT_EQ(nullptr, scene.renderer);
  EXPECT_EQ(nullptr, scene.sceneRoot);
  EXPECT_EQ(nullptr, scene.particles[0]);
  EXPECT_EQ(0, platform::liveWindowCount());
}

TEST_F(DemoRun, EmptyFolderLogsEveryMissingFileAndStillEnds) {
  EXPECT_EQ(0, runDemoIn("empty", {"--headless", "--frames", "3"}));
  // One open-failure line per file the set-up tries, in its order.
  const char* const tried[] = {"ball.x",   "ball.x",   "tsume.x",  "f22.x",       "daikon.x",    "daikon.x",
                               "daikon.x", "daikon.x", "daikon.x", "daikon.x",    "daikon.x",    "daikon.x",
                               "daikon.x", "daikon.x", "daikon.x", "daikon.x",    "daikon.x",    "daikon.x",
                               "daikon.x", "daikon.x", "box.x",    "box.x",       "box.x",       "tsubo.x",
                               "sky2.x",   "land.bmp", "f22.x",    "f22.x",       "f22.x",       "f22.x",
                               "check.bmp", "akakumo.bmp", "map.bmp", "bakuhatsu.BMP"};
  std::string expected;
  for (const char* name : tried) expected += std::string(kOpenFailurePrefix) + name + kOpenFailureSuffix;
  EXPECT_EQ(expected, qeltest::readFileText("empty/QelDebug.txt"));
  EXPECT_EQ(nullptr, scene.renderer);
}

// Share of pixels whose colour differs from the reference by more than a small rounding step.
double farOffShare(const platform::RgbaImage& actual, const platform::RgbaImage& reference) {
  if (actual.pixels.size() != reference.pixels.size()) return 1.0;
  std::size_t farOff = 0;
  for (std::size_t i = 0; i < actual.pixels.size(); i += 4)
    for (int c = 0; c < 3; ++c)
      if (std::abs(int(actual.pixels[i + c]) - int(reference.pixels[i + c])) > 24) {
        ++farOff;
        break;
      }
  return double(farOff) / double(actual.pixels.size() / 4);
}

TEST_F(DemoRun, AttractScriptFliesThirtySecondsCleanly) {
  if (!copyAssets((fs::create_directories("attract"), "attract"))) GTEST_SKIP() << "no assets";
  EXPECT_EQ(0, runDemoIn("attract", {"--headless", "--frames", "1500", "--keys", "attract.keys", "--capture", "shots",
                                     "--capture-every", "10"}));
  EXPECT_EQ("", qeltest::readFileText("attract/QelDebug.txt"));
  std::size_t shots = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator("attract/shots")) shots += entry.is_regular_file();
  EXPECT_EQ(150u, shots);

  // Frame 20: the arm and the enemies ahead, crates beyond; 100: crates, pot, a trail; 500: trails
  // and bursts over the fogged hills; 750: a roll in flight controls; 1150: enemies, trails, sparks.
  const bool write = std::getenv("QEL_WRITE_REFERENCE") != nullptr;
  for (const char* frame : {"000020", "000100", "000500", "000750", "001150"}) {
    const std::string actualPath = "attract/shots/frame_" + std::string(frame) + ".png";
    const std::string referencePath = qeltest::sourceDir() + "/tests/demo/data/attract_" + frame + ".png";
    if (write) fs::copy_file(actualPath, referencePath, fs::copy_options::overwrite_existing);
    platform::RgbaImage actual, reference;
    ASSERT_TRUE(platform::readPngRgba(actualPath.c_str(), actual)) << actualPath;
    ASSERT_TRUE(platform::readPngRgba(referencePath.c_str(), reference)) << referencePath;
    EXPECT_LE(farOffShare(actual, reference), 0.002)
        << "frame " << frame << " differs; see " << qeltest::scratchDir() << "/" << actualPath
        << " (set QEL_KEEP_SCRATCH=1 to keep it)";
  }
}

}  // namespace
}  // namespace demotest
