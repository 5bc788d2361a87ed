// The display backend: where windows, the display and time come from.
//
// One backend is installed at a time. The window system and DirectDraw call it; it never
// calls back into them except to post input (platform/win32/WindowSystem.h). Until a
// program installs one, a headless backend with default options serves (unit tests).
// Images handed over are valid only during the call.
#pragma once

#include <memory>

#include "platform/gdi/SurfaceDC.h"
#include "platform/win32/WinTypes.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;

  // A window was created with this title and size (not yet shown).
  virtual void windowCreated(HWND window, const char* title, int width, int height) = 0;
  // ShowWindow made the window visible or hid it.
  virtual void windowShown(HWND window, bool visible) = 0;
  // The window is being destroyed.
  virtual void windowDestroyed(HWND window) = 0;
  // EndPaint finished drawing into the window's image.
  virtual void windowPainted(HWND window, const PixelTarget& image) = 0;

  // Exclusive full-screen 640x480x16 was requested (true) or the desktop restored (false).
  virtual void displayModeChanged(bool fullScreen) = 0;
  // The primary surface changed (a present); `image` is its whole memory.
  virtual void primaryPresented(const PixelTarget& image) = 0;
  // The primary surface is gone; the display shows the windows again.
  virtual void primaryReleased() = 0;

  // Turns pending host input into queued messages (called by every PeekMessageA).
  virtual void pollInput() = 0;
  // PeekMessageA found no message: one idle turn of the program's loop.
  virtual void idleTurn() = 0;
  // Milliseconds for timeGetTime; 32 bits, wraps.
  virtual DWORD milliseconds() = 0;
};

// The installed backend (a default headless one when none was installed).
Backend& backend();
// Installs `next` (null: back to a fresh default headless backend) and returns the old one.
std::unique_ptr<Backend> installBackend(std::unique_ptr<Backend> next);

}  // namespace platform
