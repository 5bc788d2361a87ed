// The headless backend's virtual clock and the 20 ms frame gate of a spinning loop.
#include "platform/win32/MMSystem.h"
#include "tests/platform/PlatformFixture.h"

namespace platformtest {
namespace {

class VirtualClock : public PlatformTest {};

TEST_F(VirtualClock, OnlyAnEmptyPeekAdvancesTheClockBy20Ms) {
  HWND window = openWindow();
  DWORD start = timeGetTime();
  EXPECT_EQ(timeGetTime(), start);  // reading does not advance
  PostMessageA(window, WM_USER, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(timeGetTime(), start);  // a message was found: no idle turn
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(timeGetTime(), start + 20);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(timeGetTime(), start + 40);
}

// The demo's loop: drain messages, then a frame gated on 20 ms of timeGetTime.
struct GatedLoop {
  DWORD lastFrameTime = 0;
  DWORD lastFpsTime = 0;
  int frames = 0;
  double lastRate = 0;
  void runFrame() {
    if (timeGetTime() - lastFrameTime < 20) return;
    lastFrameTime = timeGetTime();
    ++frames;
    DWORD elapsed = timeGetTime() - lastFpsTime;
    lastRate = 1000.0 / double(elapsed);
    lastFpsTime = timeGetTime();
  }
  void turn() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    runFrame();
  }
};

TEST_F(VirtualClock, EveryIdleTurnLetsExactlyOneFrameThroughAt50Fps) {
  openWindow();
  GatedLoop loop;
  for (int i = 0; i < 200; ++i) {
    if (i % 7 == 0) platform::postKeyDown(VK_UP);  // messages in between change nothing
    loop.turn();
    ASSERT_EQ(loop.frames, i + 1);
  }
  EXPECT_EQ(loop.lastRate, 50.0);
}

TEST_F(VirtualClock, WrapsAroundLikeTheRealCounter) {
  MSG message;
  auto backend = std::make_unique<platform::HeadlessBackend>(0xFFFFFFF0u);
  platform::installBackend(std::move(backend));
  DWORD before = timeGetTime();
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  DWORD after = timeGetTime();
  EXPECT_EQ(after, 4u);
  EXPECT_EQ(DWORD(after - before), 20u);  // unsigned difference survives the wrap
}

}  // namespace
}  // namespace platformtest
