// Host keys to Win32 virtual-key codes. Scancodes are USB HID keyboard usages, which is
// the numbering SDL's scancodes use; that keeps SDL headers out of this file.
#include "platform/backend/KeyMap.h"

#include <cctype>

#include "platform/win32/WinUser.h"

namespace platform {
namespace {

// USB HID usage numbers (keyboard page).
enum Usage {
  kUsageA = 4,
  kUsageZ = 29,
  kUsage1 = 30,
  kUsage0 = 39,
  kUsageReturn = 40,
  kUsageEscape = 41,
  kUsageBackspace = 42,
  kUsageTab = 43,
  kUsageSpace = 44,
  kUsageF1 = 58,
  kUsageF12 = 69,
  kUsageRight = 79,
  kUsageLeft = 80,
  kUsageDown = 81,
  kUsageUp = 82,
  kUsageKeypadEnter = 88,
  kUsageKeypad1 = 89,
  kUsageKeypad9 = 97,
  kUsageKeypad0 = 98,
  kUsageLeftControl = 224,
  kUsageLeftShift = 225,
  kUsageLeftAlt = 226,
  kUsageRightControl = 228,
  kUsageRightShift = 229,
  kUsageRightAlt = 230,
};

int letterKey(char upper) {
  switch (upper) {  // the keypad stand-ins
    case 'W': return VK_NUMPAD8;
    case 'A': return VK_NUMPAD4;
    case 'S': return VK_NUMPAD2;
    case 'D': return VK_NUMPAD6;
    default: return upper;
  }
}

}  // namespace

int virtualKeyForScancode(int scancode) {
  if (scancode >= kUsageA && scancode <= kUsageZ) return letterKey(char('A' + scancode - kUsageA));
  if (scancode >= kUsage1 && scancode < kUsage0) return '1' + (scancode - kUsage1);
  if (scancode >= kUsageKeypad1 && scancode <= kUsageKeypad9)
    return VK_NUMPAD1 + (scancode - kUsageKeypad1);
  if (scancode >= kUsageF1 && scancode <= kUsageF12) return VK_F1 + (scancode - kUsageF1);
  switch (scancode) {
    case kUsage0: return '0';
    case kUsageKeypad0: return VK_NUMPAD0;
    case kUsageReturn:
    case kUsageKeypadEnter: return VK_RETURN;
    case kUsageEscape: return VK_ESCAPE;
    case kUsageBackspace: return VK_BACK;
    case kUsageTab: return VK_TAB;
    case kUsageSpace: return VK_SPACE;
    case kUsageRight: return VK_RIGHT;
    case kUsageLeft: return VK_LEFT;
    case kUsageDown: return VK_DOWN;
    case kUsageUp: return VK_UP;
    case kUsageLeftShift:
    case kUsageRightShift: return VK_SHIFT;
    case kUsageLeftControl:
    case kUsageRightControl: return VK_CONTROL;
    case kUsageLeftAlt:
    case kUsageRightAlt: return VK_MENU;
    default: return 0;
  }
}

int virtualKeyForName(const std::string& name) {
  std::string upper;
  for (char c : name) upper += char(std::toupper(static_cast<unsigned char>(c)));
  if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z') return letterKey(upper[0]);
  if (upper.size() == 1 && upper[0] >= '0' && upper[0] <= '9') return upper[0];
  if (upper.size() == 7 && upper.compare(0, 6, "NUMPAD") == 0 && upper[6] >= '0' && upper[6] <= '9')
    return VK_NUMPAD0 + (upper[6] - '0');
  struct Named {
    const char* name;
    int key;
  };
  static const Named kNames[] = {
      {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},
      {"SPACE", VK_SPACE},   {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},  {"SHIFT", VK_SHIFT},
      {"RETURN", VK_RETURN}, {"ENTER", VK_RETURN},  {"TAB", VK_TAB},     {"CONTROL", VK_CONTROL},
  };
  for (const Named& entry : kNames)
    if (upper == entry.name) return entry.key;
  return 0;
}

}  // namespace platform
