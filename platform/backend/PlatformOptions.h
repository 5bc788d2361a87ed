// The platform's command-line options, parsed by its entry point before WinMain runs.
//
//   --headless          offscreen display, virtual clock (20 ms per idle turn)
//   --windowed          a full-screen request opens a 640x480 window instead
//   --frames N          end as if Escape were pressed once N frames were presented
//   --keys FILE         scripted key presses per frame (format in KeyScript.h)
//   --capture DIR       write the primary surface as DIR/frame_NNNNNN.png after presents
//   --capture-every K   capture only every K-th presented frame (default 1)
#pragma once

#include <string>

namespace platform {

struct PlatformOptions {
  bool headless = false;
  bool windowed = false;
  long frameLimit = 0;  // 0: no limit
  std::string keysFile;
  std::string captureDirectory;  // empty: no capture
  long captureEvery = 1;
};

// Parses argv[1..argc-1]; false with `error` set on an unknown option or a bad value.
bool parsePlatformOptions(int argc, const char* const* argv, PlatformOptions& options,
                          std::string& error);
// One line per option, for the usage message.
const char* platformOptionsUsage();

}  // namespace platform
