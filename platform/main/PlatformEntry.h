// The platform's own entry point: parses the platform options, installs the display
// backend they ask for, then runs the program's WinMain with an empty command line.
//
// Without --headless the SDL2 backend needs a display; when there is none, a message saying
// how to run headless goes to stderr and the result is non-zero. Bad options print the usage.
#pragma once

#include "platform/win32/WinTypes.h"

// The program's entry, defined by the program.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);

namespace platform {

typedef int(WINAPI* WinMainFunction)(HINSTANCE, HINSTANCE, LPSTR, int);

// Exit status when the options are bad, and when no display can be opened.
inline constexpr int kExitBadOptions = 2;
inline constexpr int kExitNoDisplay = 3;

// Parses argv, installs the backend, calls `entry` (hInstance non-null, no previous
// instance, "" as command line, SW_SHOWNORMAL) and returns its result; the backend is
// uninstalled (back to the default headless one) before returning.
int runPlatformMain(int argc, char** argv, WinMainFunction entry);

}  // namespace platform
