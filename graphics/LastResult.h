// The result of the last DirectDraw or Direct3D call the graphics code made.
//
// Every such call stores its result here; it is read only where a caller tests it.
#pragma once

#include "platform/win32/WinTypes.h"

extern HRESULT lastResult;
