// The headless backend: no display, a virtual clock, the run's options applied.
//
// The clock starts at `startTime` and advances by exactly 20 ms on every idle turn (a
// PeekMessageA that found no message) and at no other time, so a loop that gates its frames
// on 20 ms of timeGetTime lets exactly one frame through per idle turn, and a whole run is
// deterministic. Windows and display-mode changes are accepted and otherwise ignored.
#pragma once

#include "platform/backend/Backend.h"
#include "platform/backend/FrameSession.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  static constexpr DWORD kIdleStep = 20;  // ms per idle turn

  explicit HeadlessBackend(DWORD startTime = 0) : clock_(startTime) {}
  // Applies the options (key script, frame limit, capture); false with `error` on failure.
  bool configure(const PlatformOptions& options, std::string& error) {
    return session_.configure(options, error);
  }
  const FrameSession& session() const { return session_; }
  long idleTurns() const { return idleTurns_; }

  void windowCreated(HWND, const char*, int, int) override {}
  void windowShown(HWND, bool) override {}
  void windowDestroyed(HWND) override {}
  void windowPainted(HWND, const PixelTarget&) override {}
  void displayModeChanged(bool) override {}
  void primaryPresented(const PixelTarget& image) override { session_.framePresented(image); }
  void primaryReleased() override {}
  void pollInput() override { session_.poll(); }
  void idleTurn() override {
    clock_ += kIdleStep;  // unsigned: wraps like the real counter
    ++idleTurns_;
    session_.idleTurn(true);
  }
  DWORD milliseconds() override { return clock_; }

 private:
  FrameSession session_;
  DWORD clock_;
  long idleTurns_ = 0;
};

}  // namespace platform
