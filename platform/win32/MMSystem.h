// The multimedia timer call the engine uses.
#pragma once

#include "platform/win32/WinTypes.h"

// Milliseconds since an arbitrary start; 32 bits, wraps after about 49.7 days. Under the
// headless backend this is a virtual clock that each idle turn of the message loop (a
// PeekMessageA finding no message) advances by exactly 20 ms.
DWORD WINAPI timeGetTime();
