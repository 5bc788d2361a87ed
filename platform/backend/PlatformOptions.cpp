// Parsing of the platform's command-line options.
#include "platform/backend/PlatformOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// A whole decimal number in [minimum, 1e9]; no sign, spaces or trailing characters.
bool parseCount(const char* text, long minimum, long& value) {
  if (!text || !*text) return false;
  for (const char* p = text; *p; ++p)
    if (*p < '0' || *p > '9') return false;
  errno = 0;
  char* end = nullptr;
  long parsed = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed < minimum || parsed > 1000000000L) return false;
  value = parsed;
  return true;
}

}  // namespace

bool parsePlatformOptions(int argc, const char* const* argv, PlatformOptions& options,
                          std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i] ? argv[i] : "";
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto needValue = [&](const char* what) {
      if (value) return true;
      error = std::string(option) + " needs " + what;
      return false;
    };
    if (std::strcmp(option, "--headless") == 0) {
      options.headless = true;
    } else if (std::strcmp(option, "--windowed") == 0) {
      options.windowed = true;
    } else if (std::strcmp(option, "--frames") == 0) {
      if (!needValue("a frame count")) return false;
      if (!parseCount(value, 1, options.frameLimit)) {
        error = std::string("--frames needs a whole number of at least 1, not \"") + value + "\"";
        return false;
      }
      ++i;
    } else if (std::strcmp(option, "--keys") == 0) {
      if (!needValue("a file name")) return false;
      options.keysFile = value;
      ++i;
    } else if (std::strcmp(option, "--capture") == 0) {
      if (!needValue("a folder name")) return false;
      options.captureDirectory = value;
      ++i;
    } else if (std::strcmp(option, "--capture-every") == 0) {
      if (!needValue("a frame count")) return false;
      if (!parseCount(value, 1, options.captureEvery)) {
        error = std::string("--capture-every needs a whole number of at least 1, not \"") +
                value + "\"";
        return false;
      }
      ++i;
    } else {
      error = std::string("unknown option \"") + option + "\"";
      return false;
    }
  }
  return true;
}

const char* platformOptionsUsage() {
  return "  --headless          run without a display (offscreen, virtual 20 ms clock)\n"
         "  --windowed          open a 640x480 window instead of going full screen\n"
         "  --frames N          end (as if Escape were pressed) after N presented frames\n"
         "  --keys FILE         press keys at given frames (lines: FRAME down|up|press|repeat KEY)\n"
         "  --capture DIR       save the screen as DIR/frame_NNNNNN.png after each frame\n"
         "  --capture-every K   save only every K-th frame\n";
}

}  // namespace platform
