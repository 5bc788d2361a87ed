// What the platform's own code needs to know about brushes (window backgrounds).
#pragma once

#include "platform/win32/WinTypes.h"

namespace platform {

// The colour of a solid brush (stock or not); false for the null brush or a non-brush.
bool solidBrushColour(HBRUSH brush, COLORREF& colour);

}  // namespace platform
