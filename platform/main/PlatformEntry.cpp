// runPlatformMain: options, backend, WinMain.
#include "platform/main/PlatformEntry.h"

#include <cstdio>
#include <string>

#include "platform/backend/HeadlessBackend.h"
#include "platform/backend/PlatformOptions.h"
#include "platform/backend/SdlBackend.h"
#include "platform/win32/WinUser.h"

// The instance handle handed to WinMain: any distinct non-null value serves.
struct HINSTANCE__ {
  int unused;
};

namespace platform {
namespace {
HINSTANCE__ gInstance{0};
char gEmptyCommandLine[1] = {'\0'};

const char* programName(int argc, char** argv) {
  return argc > 0 && argv && argv[0] ? argv[0] : "program";
}
}  // namespace

int runPlatformMain(int argc, char** argv, WinMainFunction entry) {
  PlatformOptions options;
  std::string error;
  if (!parsePlatformOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "%s: %s\nOptions:\n%s", programName(argc, argv), error.c_str(),
                 platformOptionsUsage());
    return kExitBadOptions;
  }

  if (options.headless) {
    auto headless = std::make_unique<HeadlessBackend>();
    if (!headless->configure(options, error)) {
      std::fprintf(stderr, "%s: %s\n", programName(argc, argv), error.c_str());
      return kExitBadOptions;
    }
    installBackend(std::move(headless));
  } else {
    std::unique_ptr<SdlBackend> sdl = SdlBackend::open(options, error);
    if (!sdl) {
      std::fprintf(stderr,
                   "%s: cannot open a display (%s).\n"
                   "To run without a display, add --headless, for example:\n"
                   "  %s --headless --frames 500 --capture captures\n",
                   programName(argc, argv), error.c_str(), programName(argc, argv));
      return kExitNoDisplay;
    }
    if (!sdl->configure(options, error)) {
      std::fprintf(stderr, "%s: %s\n", programName(argc, argv), error.c_str());
      return kExitBadOptions;
    }
    installBackend(std::move(sdl));
  }

  int result = entry ? entry(&gInstance, nullptr, gEmptyCommandLine, SW_SHOWNORMAL) : 0;
  installBackend(nullptr);
  return result;
}

}  // namespace platform
