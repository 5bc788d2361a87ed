// Internal to platform/win32: the table of classes and live windows.
//
// Handles are never reused (each window gets the next number), so a stale handle is
// recognised as dead rather than naming another window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/WinUser.h"

namespace platform::detail {

struct WindowRecord {
  HWND handle = nullptr;
  WNDPROC procedure = nullptr;
  HBRUSH background = nullptr;
  std::string title;
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> image;  // RGB565, width x height, rows top first
  bool visible = false;
  bool needsPaint = false;
  bool needsErase = false;
  bool destroying = false;
  HDC paintDC = nullptr;
  std::uint64_t shownOrder = 0;  // when it was last shown; 0 = never
};

// The live window with this handle, or null.
WindowRecord* findWindow(HWND window);
// Live windows in creation order.
std::vector<WindowRecord*> liveWindows();
// Forgets every class and window (no messages are sent).
void clearWindowTable();
// Forgets queued messages, key states and a pending quit.
void clearMessageQueue();
// Drops every queued message addressed to this window (it is being destroyed).
void dropMessagesFor(HWND window);

}  // namespace platform::detail
