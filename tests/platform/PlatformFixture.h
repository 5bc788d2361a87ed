// A clean window system and a fresh headless backend for each test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/backend/HeadlessBackend.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"

namespace platformtest {

// Messages seen by the recording window procedure, in order.
struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen>& seenMessages();
// Records every message, handles WM_PAINT with BeginPaint/EndPaint, else DefWindowProcA.
LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class PlatformTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Registers the recording class (once per test) and creates a shown 640x480 window.
  HWND openWindow(const char* title = "Test");
  // Takes every waiting message with PM_REMOVE and dispatches it; returns how many.
  int drainMessages();

  platform::HeadlessBackend* headless = nullptr;  // the installed backend
};

}  // namespace platformtest
