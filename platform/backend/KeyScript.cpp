// Parsing and scheduling of scripted key presses.
#include "platform/backend/KeyScript.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/backend/KeyMap.h"

namespace platform {

bool KeyScript::parse(const std::string& text, std::string& error) {
  std::vector<KeyEvent> parsed;
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string frameText, action, keyName, extra;
    if (!(words >> frameText)) continue;  // blank or comment only
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(lineNumber) + ": " + why;
      return false;
    };
    if (!(words >> action >> keyName) || (words >> extra))
      return fail("expected \"FRAME ACTION KEY\"");
    if (frameText.empty() || frameText.size() > 9 ||
        !std::all_of(frameText.begin(), frameText.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return fail("bad frame number \"" + frameText + "\"");
    long frame = std::stol(frameText);
    if (frame < 1) return fail("frame numbers start at 1");
    int key = virtualKeyForName(keyName);
    if (key == 0) return fail("unknown key \"" + keyName + "\"");
    if (action == "down") {
      parsed.push_back({frame, key, KeyEvent::Down});
    } else if (action == "up") {
      parsed.push_back({frame, key, KeyEvent::Up});
    } else if (action == "repeat") {
      parsed.push_back({frame, key, KeyEvent::Repeat});
    } else if (action == "press") {
      parsed.push_back({frame, key, KeyEvent::Down});
      parsed.push_back({frame + 1, key, KeyEvent::Up});
    } else {
      return fail("unknown action \"" + action + "\" (down, up, press or repeat)");
    }
  }
  std::stable_sort(parsed.begin(), parsed.end(),
                   [](const KeyEvent& a, const KeyEvent& b) { return a.frame < b.frame; });
  events_ = std::move(parsed);
  next_ = 0;
  return true;
}

bool KeyScript::load(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read key script \"" + path + "\"";
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!parse(text, error)) {
    error = "key script \"" + path + "\", " + error;
    return false;
  }
  return true;
}

std::vector<KeyEvent> KeyScript::takeDue(long presentedFrames) {
  std::vector<KeyEvent> due;
  while (next_ < events_.size() && events_[next_].frame <= presentedFrames + 1)
    due.push_back(events_[next_++]);
  return due;
}

}  // namespace platform
