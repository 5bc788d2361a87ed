// Scripted keys, the frame limit and captures.
#include "platform/backend/FrameSession.h"

#include <cstdio>
#include <filesystem>

#include "platform/bitmap/PngFile.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"

namespace platform {
namespace {
constexpr long kIdleTurnsWithoutPresent = 250;  // 5 s of virtual time
constexpr long kIdleTurnsBeforeClose = 10;
}  // namespace

bool FrameSession::configure(const PlatformOptions& options, std::string& error) {
  options_ = options;
  if (!options.keysFile.empty() && !keys_.load(options.keysFile, error)) return false;
  if (!options.captureDirectory.empty()) {
    std::error_code failure;
    std::filesystem::create_directories(options.captureDirectory, failure);
    if (failure || !std::filesystem::is_directory(options.captureDirectory)) {
      error = "cannot create the capture folder \"" + options.captureDirectory + "\"";
      return false;
    }
  }
  return true;
}

void FrameSession::framePresented(const PixelTarget& primary) {
  ++presented_;
  idleSincePresent_ = 0;
  if (options_.captureDirectory.empty() || presented_ % options_.captureEvery != 0) return;
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06ld.png", presented_);
  std::string path = (std::filesystem::path(options_.captureDirectory) / name).string();
  if (writePngTarget(path.c_str(), primary))
    ++captured_;
  else
    std::fprintf(stderr, "capture: cannot write %s\n", path.c_str());
}

void FrameSession::poll() {
  if (escapeSent_) return;
  bool limitReached =
      options_.frameLimit > 0 &&
      (presented_ >= options_.frameLimit ||
       (virtualClock_ && idleSincePresent_ >= kIdleTurnsWithoutPresent));
  if (limitReached) {
    escapeSent_ = true;
    postKeyDown(VK_ESCAPE);
    postKeyUp(VK_ESCAPE);
    return;
  }
  for (const KeyEvent& event : keys_.takeDue(presented_)) {
    if (event.kind == KeyEvent::Up)
      postKeyUp(event.virtualKey);
    else
      postKeyDown(event.virtualKey);  // Repeat: a second down is an auto-repeat
  }
}

void FrameSession::idleTurn(bool virtualClock) {
  virtualClock_ = virtualClock;
  ++idleSincePresent_;
  if (!escapeSent_) return;
  ++idleSinceEscape_;
  if (!closeSent_ && idleSinceEscape_ >= kIdleTurnsBeforeClose) {
    closeSent_ = true;
    if (HWND window = focusWindow()) PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (!quitSent_ && idleSinceEscape_ >= 2 * kIdleTurnsBeforeClose && liveWindowCount() == 0) {
    quitSent_ = true;
    PostQuitMessage(0);
  }
}

}  // namespace platform
