// TextureFormat: the rule by which a texture format is picked from the device's list.
//
// Formats with alpha (DDPF_ALPHAPIXELS or DDPF_ALPHA) are skipped. Candidates are RGB formats
// of more than 8 bits per pixel and 8-bit palette-indexed formats (DDPF_PALETTEINDEXED8 or 4).
// A candidate replaces the recorded format when the recorded one has 16 bits per pixel or the
// candidate has at least 16. The enumeration always goes on. The pick is written into a
// surface description's pixel-format field without DDSD_PIXELFORMAT, so texture surfaces are
// still made in the display's format.
#pragma once

#include "platform/d3d/D3D.h"

// EnumTextureFormats callback; `context` is the DDPIXELFORMAT holding the recorded format
// (zeroed before the enumeration). Always D3DENUMRET_OK.
HRESULT CALLBACK chooseTextureFormat(LPDDPIXELFORMAT format, LPVOID context);
