// What the platform options ask of a run, shared by every backend: scripted keys, the
// frame limit and captures of the primary surface.
//
// A frame is one present of the primary surface. Scripted keys for frame F are posted at
// the first message poll after F - 1 presents. Once the frame limit is reached, Escape is
// pressed (WM_KEYDOWN then WM_KEYUP to the focus window); should the program still run 10
// idle turns later, WM_CLOSE is posted, and 10 idle turns after that, with no window left,
// WM_QUIT. Under a virtual clock (headless) a program that presents nothing for 250 idle
// turns (5 virtual seconds) also counts as having reached the limit, so a run with
// --frames always ends.
#pragma once

#include <string>

#include "platform/backend/KeyScript.h"
#include "platform/backend/PlatformOptions.h"
#include "platform/gdi/SurfaceDC.h"

namespace platform {

class FrameSession {
 public:
  // Takes the options; loads the key script and creates the capture folder. False with
  // `error` set when either fails.
  bool configure(const PlatformOptions& options, std::string& error);
  // The primary surface was presented: counts the frame and captures it when due.
  void framePresented(const PixelTarget& primary);
  // Message poll: posts due scripted keys and, at the limit, the ending sequence.
  void poll();
  // An idle turn of the program's loop; `virtualClock` enables the no-present rule.
  void idleTurn(bool virtualClock);

  long presentedFrames() const { return presented_; }
  long capturedFrames() const { return captured_; }
  bool endRequested() const { return escapeSent_; }

 private:
  PlatformOptions options_;
  KeyScript keys_;
  long presented_ = 0;
  long captured_ = 0;
  long idleSincePresent_ = 0;
  long idleSinceEscape_ = 0;
  bool virtualClock_ = false;
  bool escapeSent_ = false;
  bool closeSent_ = false;
  bool quitSent_ = false;
};

}  // namespace platform
