// The process entry point of every program built on the platform.
#include "platform/main/PlatformEntry.h"

int main(int argc, char** argv) { return platform::runPlatformMain(argc, argv, &WinMain); }
