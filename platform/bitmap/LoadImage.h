// LoadImageA for bitmaps read from files, in its Win32 shape.
//
// Only IMAGE_BITMAP with LR_LOADFROMFILE is supported: the file is found through
// platform::openFile (exact name, else a case-insensitive match; backslashes separate
// folders), decoded by platform::decodeBmp and returned as a DIB section that keeps the
// file's bit depth and colour table, with any RLE expanded. The flags LR_CREATEDIBSECTION
// and LR_DEFAULTSIZE, and the sizes cx and cy, change nothing: a DIB section at the file's
// own size is always made (what the engine's 0, 0 with LR_DEFAULTSIZE asks for).
#pragma once

#include "platform/win32/WinTypes.h"

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040
#define LR_CREATEDIBSECTION 0x2000

// The bitmap (an HBITMAP, to free with DeleteObject), or null when the file is missing,
// not a BMP GDI reads, truncated or malformed, or the call asks for something else.
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
