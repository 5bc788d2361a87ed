// Host keys to Win32 virtual-key codes.
//
// Keypad digits give VK_NUMPAD0..9 whatever the NumLock state (host scancodes do not change
// with NumLock). Keyboards without a keypad are common, so W, A, S and D also give keypad
// 8, 4, 2 and 6. Either Shift gives VK_SHIFT. Letters other than W/A/S/D give their
// capital-letter codes, digits '0'..'9'. Unknown keys give 0 (ignored).
#pragma once

#include <string>

namespace platform {

// Virtual key for a host scancode (USB HID usage numbering, as SDL's scancodes); 0 if none.
int virtualKeyForScancode(int scancode);
// Virtual key for a key-script name ("NUMPAD8", "UP", "SPACE", "W", ...; any case); 0 if none.
int virtualKeyForName(const std::string& name);

}  // namespace platform
