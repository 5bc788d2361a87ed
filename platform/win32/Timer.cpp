// timeGetTime: the installed backend's millisecond clock.
#include "platform/backend/Backend.h"
#include "platform/win32/MMSystem.h"

DWORD WINAPI timeGetTime() { return platform::backend().milliseconds(); }
