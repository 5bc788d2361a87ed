// What the display backends and tests see of the window system (namespace platform).
//
// Backends turn host input into queued key messages with postKeyDown/postKeyUp, read a
// window's image to show it, and learn which window has the keyboard. resetWindowSystem
// returns the whole window system to its start state (no classes, windows or messages).
#pragma once

#include "platform/gdi/SurfaceDC.h"
#include "platform/win32/WinTypes.h"

namespace platform {

// Queues WM_KEYDOWN for the focus window; repeat = the key was already down (auto-repeat).
void postKeyDown(int virtualKey);
// Queues WM_KEYUP for the focus window.
void postKeyUp(int virtualKey);
// Whether the key is down as last posted (host view, ahead of GetKeyState).
bool isKeyPostedDown(int virtualKey);
// The window that receives keys: the most recently shown live window, else the most recent
// live window; null when none is left.
HWND focusWindow();
// Number of live windows.
int liveWindowCount();
// The window's image (RGB565, width x height); bits null for a bad handle.
PixelTarget windowImage(HWND window);
// Whether WM_QUIT was posted and not yet taken.
bool quitPending();
// Destroys every window without messages, forgets classes, messages, key states and quit.
void resetWindowSystem();

}  // namespace platform
