// The window procedure and the shutdown: Shift toggling (auto-repeat included), Escape, the
// greeting, class registration, and the scene released in order with every pointer cleared.
#include <gtest/gtest.h>

#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "app/DemoWindow.h"
#include "app/FrameDriver.h"
#include "app/SceneShutDown.h"
#include "graphics/Renderer.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"
#include "tests/demo/DemoFixture.h"

namespace demotest {
namespace {

class DemoWindowTest : public DemoTest {};

TEST_F(DemoWindowTest, EveryShiftKeyDownTogglesTheScheme) {
  window = openDemoWindow(nullptr, nullptr, SW_SHOWNORMAL);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(1, scene.hoverControls);
  keyDown(VK_SHIFT);
  dispatchAndRun();
  EXPECT_EQ(0, scene.hoverControls);
  keyDown(VK_SHIFT);  // auto-repeat while held
  keyDown(VK_SHIFT);
  dispatchAndRun();
  EXPECT_EQ(0, scene.hoverControls);
  keyDown(VK_SHIFT);
  dispatchAndRun();
  EXPECT_EQ(1, scene.hoverControls);
  keyUp(VK_SHIFT);
  keyDown(VK_SPACE);  // other keys change nothing and never reach the default procedure
  dispatchAndRun();
  EXPECT_EQ(1, scene.hoverControls);
  EXPECT_EQ(0, SendMessageA(window, WM_KEYDOWN, 'Q', 0));
}

TEST_F(DemoWindowTest, EscapeDestroysTheWindowAndPostsQuit) {
  setUpDemoScene();
  EXPECT_EQ(0, SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(platform::quitPending());
  EXPECT_FALSE(scene.sceneReady);
  EXPECT_EQ(nullptr, scene.renderer);
}

TEST_F(DemoWindowTest, PreviousInstanceSkipsClassRegistration) {
  int marker = 0;
  HINSTANCE previous = reinterpret_cast<HINSTANCE>(&marker);
  EXPECT_EQ(nullptr, openDemoWindow(nullptr, previous, SW_SHOWNORMAL));  // no class "hello" yet
  HWND first = openDemoWindow(nullptr, nullptr, SW_SHOWNORMAL);
  EXPECT_NE(nullptr, first);
  EXPECT_NE(nullptr, openDemoWindow(nullptr, previous, SW_SHOWNORMAL));  // the class exists now
}

TEST_F(DemoWindowTest, PaintWritesTheGreetingOnWhite) {
  window = openDemoWindow(nullptr, nullptr, SW_SHOWNORMAL);
  InvalidateRect(window, nullptr, TRUE);
  EXPECT_EQ(0, SendMessageA(window, WM_PAINT, 0, 0));
  const platform::PixelTarget image = platform::windowImage(window);
  ASSERT_NE(nullptr, image.bits);
  int dark = 0, white = 0;
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint16_t*>(static_cast<const std::uint8_t*>(image.bits) +
                                                              y * image.pitch);
    for (int x = 0; x < image.width; ++x) {
      if (row[x] == 0xFFFF) ++white;
      if (row[x] == 0 && x >= 10 && x < 10 + 13 * 8 && y >= 10 && y < 26) ++dark;
    }
  }
  EXPECT_GT(dark, 50);  // the text's glyphs in its cell at (10, 10)
  EXPECT_GT(white, image.width * image.height * 9 / 10);
}

TEST_F(DemoWindowTest, ShutdownReleasesEverythingOnceAndFramesStop) {
  setUpDemoScene();
  keyDown(VK_SPACE);
  for (int k = 0; k < 3; ++k) frame();
  ASSERT_NE(nullptr, scene.missiles[0]->parent);   // a missile in flight
  ASSERT_NE(nullptr, scene.particles[0]->parent);  // and its trail
  shutDownScene();
  EXPECT_FALSE(scene.sceneReady);
  EXPECT_EQ(nullptr, scene.renderer);
  EXPECT_EQ(nullptr, scene.sceneRoot);
  EXPECT_EQ(nullptr, scene.particleRoot);
  EXPECT_EQ(nullptr, scene.player);
  EXPECT_EQ(nullptr, scene.particleTemplate);
  for (MissileActor* m : scene.missiles) EXPECT_EQ(nullptr, m);
  for (ParticleActor* p : scene.particles) ASSERT_EQ(nullptr, p);
  shutDownScene();  // nothing left to release
  const float phase = scene.ornamentPhase;
  frame();
  EXPECT_EQ(phase, scene.ornamentPhase);
}

TEST_F(DemoWindowTest, ShutdownAfterAFailedSetUpDeletesOnlyTheRenderer) {
  scene.renderer = new Renderer;  // what a set-up that could not create the device leaves
  shutDownScene();
  EXPECT_EQ(nullptr, scene.renderer);
  EXPECT_FALSE(scene.sceneReady);
}

}  // namespace
}  // namespace demotest
