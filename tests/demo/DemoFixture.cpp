#include "tests/demo/DemoFixture.h"

#include <filesystem>

#include "app/DemoWindow.h"
#include "app/FrameDriver.h"
#include "app/SceneSetUp.h"
#include "app/SceneShutDown.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"
#include "tests/support/test_files.h"

namespace demotest {

void DemoTest::SetUp() {
  platform::resetWindowSystem();
  auto backend = std::make_unique<ManualClockBackend>();
  clock = backend.get();
  platform::installBackend(std::move(backend));
  scene = SceneState{};
}

void DemoTest::TearDown() {
  shutDownScene();
  scene = SceneState{};
  platform::resetWindowSystem();
  platform::installBackend(nullptr);
}

void DemoTest::setUpDemoScene() {
  window = openDemoWindow(nullptr, nullptr, SW_SHOWNORMAL);
  ASSERT_NE(nullptr, window);
  ASSERT_NE(nullptr, setUpScene(window));
}

bool DemoTest::copyAssets(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path assets = fs::path(qeltest::sourceDir()) / "assets";
  std::error_code error;
  bool any = false;
  for (const fs::directory_entry& entry : fs::directory_iterator(assets, error)) {
    if (!entry.is_regular_file()) continue;
    fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename(), fs::copy_options::overwrite_existing,
                  error);
    any = any || !error;
  }
  return any;
}

void DemoTest::dispatchAndRun() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  runFrame();
}

void DemoTest::frame() {
  advance(kFrameInterval);
  dispatchAndRun();
}

void DemoTest::keyDown(int virtualKey) { platform::postKeyDown(virtualKey); }
void DemoTest::keyUp(int virtualKey) { platform::postKeyUp(virtualKey); }

void DemoTest::moveTo(MeshActor& actor, float x, float y, float z) { actor.setPosition(Vector3(x, y, z)); }

}  // namespace demotest
