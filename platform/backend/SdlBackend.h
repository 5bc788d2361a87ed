// The SDL2 backend: a real window, keyboard input, presentation of the display.
//
// One SDL window stands for the program's main window (the first created), titled as
// created. The image shown is the primary surface once something was presented to it, and
// the window's own image (its WM_PAINT drawing) before that or after the primary is gone.
// A full-screen display mode becomes a desktop full-screen window showing the 640x480 image
// scaled with its aspect kept; with `windowed` set, or in the normal mode, a 640x480 window.
// Keys become WM_KEYDOWN/WM_KEYUP (auto-repeat as repeated WM_KEYDOWN); closing the window
// posts WM_CLOSE. Time is SDL's millisecond counter. SDL headers stay in the .cpp.
#pragma once

#include <memory>
#include <string>

#include "platform/backend/Backend.h"
#include "platform/backend/PlatformOptions.h"

namespace platform {

class SdlBackend : public Backend {
 public:
  // Starts SDL video; null with `error` set when no display can be used.
  static std::unique_ptr<SdlBackend> open(const PlatformOptions& options, std::string& error);
  // Applies the options (key script, frame limit, capture); false with `error` on failure.
  bool configure(const PlatformOptions& options, std::string& error);
  ~SdlBackend() override;

  void windowCreated(HWND window, const char* title, int width, int height) override;
  void windowShown(HWND window, bool visible) override;
  void windowDestroyed(HWND window) override;
  void windowPainted(HWND window, const PixelTarget& image) override;
  void displayModeChanged(bool fullScreen) override;
  void primaryPresented(const PixelTarget& image) override;
  void primaryReleased() override;
  void pollInput() override;
  void idleTurn() override;
  DWORD milliseconds() override;

  struct State;  // SDL objects and the session, defined in the .cpp

 private:
  SdlBackend();
  std::unique_ptr<State> state_;
};

}  // namespace platform
