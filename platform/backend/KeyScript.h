// Scripted key presses: which key messages to post before which frame.
//
// File format, one event per line; '#' starts a comment; blank lines are ignored:
//   FRAME ACTION KEY
// FRAME is the number of the presented frame the event comes before (1 = the first frame);
// ACTION is "down", "up", "press" (down before FRAME, up before FRAME + 1) or "repeat"
// (one more auto-repeat WM_KEYDOWN); KEY is a name of KeyMap.h: NUMPAD0..NUMPAD9, UP, DOWN,
// LEFT, RIGHT, SPACE, ESCAPE, SHIFT, RETURN, a letter (W/A/S/D are keypad 8/4/2/6) or a digit.
// Events for one frame are posted in file order. Example:
//   10 press SHIFT
//   12 down NUMPAD8
//   40 up NUMPAD8
#pragma once

#include <string>
#include <vector>

namespace platform {

struct KeyEvent {
  long frame = 0;  // posted after frame - 1 frames were presented
  int virtualKey = 0;
  enum Kind { Down, Up, Repeat } kind = Down;
};

class KeyScript {
 public:
  // Parses the text; false with `error` naming the line on any bad line (nothing is kept).
  bool parse(const std::string& text, std::string& error);
  // Reads and parses a file; false with `error` set when it cannot be read or parsed.
  bool load(const std::string& path, std::string& error);
  // Events to post once `presentedFrames` frames were presented; each is returned once.
  std::vector<KeyEvent> takeDue(long presentedFrames);
  // Events still waiting.
  std::size_t pending() const { return events_.size() - next_; }

 private:
  std::vector<KeyEvent> events_;  // sorted by frame, file order kept within a frame
  std::size_t next_ = 0;
};

}  // namespace platform
