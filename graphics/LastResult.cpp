// The last DirectDraw or Direct3D result.
#include "graphics/LastResult.h"

HRESULT lastResult = S_OK;
