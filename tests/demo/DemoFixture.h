// A clean scene state, window system and a test-controlled clock for each demo test.
//
// The clock is the headless backend's, except that time only moves when the test says so
// (`advance`), so the frame gate can be probed to the millisecond. `frame` runs one turn of
// the program's loop: every waiting message dispatched, then runFrame.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "actors/MeshActor.h"
#include "app/SceneState.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win32/WinTypes.h"

namespace demotest {

// The headless backend with a clock the test sets.
class ManualClockBackend : public platform::HeadlessBackend {
 public:
  DWORD milliseconds() override { return now; }
  DWORD now = 0;
};

class DemoTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the demo's window and builds the scene in the working directory.
  void setUpDemoScene();
  // Copies the demo's assets into the working directory; false when there are none.
  static bool copyAssets(const std::string& folder = ".");
  // Advances the clock by `ms`.
  void advance(DWORD ms) { clock->now += ms; }
  // Dispatches every waiting message, then runFrame.
  void dispatchAndRun();
  // Advances 20 ms and runs one loop turn: exactly one frame.
  void frame();
  // Presses or releases a key (the message is taken at the next loop turn).
  static void keyDown(int virtualKey);
  static void keyUp(int virtualKey);
  // Moves an actor to (x, y, z), leaving its orientation.
  static void moveTo(MeshActor& actor, float x, float y, float z);

  ManualClockBackend* clock = nullptr;
  HWND window = nullptr;
};

}  // namespace demotest
