// The host key map and the key-script format.
#include <gtest/gtest.h>

#include "platform/backend/KeyMap.h"
#include "platform/backend/KeyScript.h"
#include "platform/win32/WinUser.h"

namespace {

// USB HID usages, the numbering of SDL's scancodes.
enum : int {
  kA = 4, kD = 7, kQ = 20, kS = 22, kW = 26, kDigit1 = 30, kDigit0 = 39, kEscape = 41, kSpace = 44,
  kDown = 81, kUp = 82, kKeypad2 = 90, kKeypad4 = 92, kKeypad6 = 94, kKeypad8 = 96, kKeypad0 = 98,
  kLeftShift = 225, kRightShift = 229,
};

TEST(KeyMap, KeypadArrowsSpaceEscapeAndBothShifts) {
  using platform::virtualKeyForScancode;
  EXPECT_EQ(virtualKeyForScancode(kKeypad2), VK_NUMPAD2);
  EXPECT_EQ(virtualKeyForScancode(kKeypad4), VK_NUMPAD4);
  EXPECT_EQ(virtualKeyForScancode(kKeypad6), VK_NUMPAD6);
  EXPECT_EQ(virtualKeyForScancode(kKeypad8), VK_NUMPAD8);
  EXPECT_EQ(virtualKeyForScancode(kKeypad0), VK_NUMPAD0);
  EXPECT_EQ(virtualKeyForScancode(kUp), VK_UP);
  EXPECT_EQ(virtualKeyForScancode(kDown), VK_DOWN);
  EXPECT_EQ(virtualKeyForScancode(kSpace), VK_SPACE);
  EXPECT_EQ(virtualKeyForScancode(kEscape), VK_ESCAPE);
  EXPECT_EQ(virtualKeyForScancode(kLeftShift), VK_SHIFT);
  EXPECT_EQ(virtualKeyForScancode(kRightShift), VK_SHIFT);
}

TEST(KeyMap, WasdStandInForTheKeypadOtherKeysKeepTheirCodes) {
  using platform::virtualKeyForScancode;
  EXPECT_EQ(virtualKeyForScancode(kW), VK_NUMPAD8);
  EXPECT_EQ(virtualKeyForScancode(kA), VK_NUMPAD4);
  EXPECT_EQ(virtualKeyForScancode(kS), VK_NUMPAD2);
  EXPECT_EQ(virtualKeyForScancode(kD), VK_NUMPAD6);
  EXPECT_EQ(virtualKeyForScancode(kQ), 'Q');
  EXPECT_EQ(virtualKeyForScancode(kDigit1), '1');
  EXPECT_EQ(virtualKeyForScancode(kDigit0), '0');
  EXPECT_EQ(virtualKeyForScancode(0), 0);
  EXPECT_EQ(virtualKeyForScancode(-5), 0);
  EXPECT_EQ(virtualKeyForScancode(100000), 0);
}

TEST(KeyMap, ScriptNamesIgnoreCase) {
  using platform::virtualKeyForName;
  EXPECT_EQ(virtualKeyForName("numpad8"), VK_NUMPAD8);
  EXPECT_EQ(virtualKeyForName("Space"), VK_SPACE);
  EXPECT_EQ(virtualKeyForName("w"), VK_NUMPAD8);
  EXPECT_EQ(virtualKeyForName("ESCAPE"), VK_ESCAPE);
  EXPECT_EQ(virtualKeyForName("shift"), VK_SHIFT);
  EXPECT_EQ(virtualKeyForName("NUMPAD"), 0);
  EXPECT_EQ(virtualKeyForName("NUMPAD88"), 0);
  EXPECT_EQ(virtualKeyForName(""), 0);
}

TEST(KeyScript, EventsComeDueBeforeTheirFrameInFileOrder) {
  platform::KeyScript script;
  std::string error;
  ASSERT_TRUE(script.parse("# steer\n3 down NUMPAD8\n\n2 press shift  # toggle\n3 repeat NUMPAD8\n"
                           "5 up numpad8\n",
                           error))
      << error;
  EXPECT_TRUE(script.takeDue(0).empty());  // frame 1 has nothing
  auto frame2 = script.takeDue(1);
  ASSERT_EQ(frame2.size(), 1u);
  EXPECT_EQ(frame2[0].virtualKey, VK_SHIFT);
  EXPECT_EQ(frame2[0].kind, platform::KeyEvent::Down);
  auto frame3 = script.takeDue(2);
  ASSERT_EQ(frame3.size(), 3u);
  EXPECT_EQ(frame3[0].virtualKey, VK_NUMPAD8);  // file order within the frame
  EXPECT_EQ(frame3[1].kind, platform::KeyEvent::Up);  // the press releases Shift
  EXPECT_EQ(frame3[1].virtualKey, VK_SHIFT);
  EXPECT_EQ(frame3[2].kind, platform::KeyEvent::Repeat);
  EXPECT_TRUE(script.takeDue(2).empty());  // each event once
  EXPECT_EQ(script.takeDue(10).size(), 1u);  // late polls still deliver
  EXPECT_EQ(script.pending(), 0u);
}

TEST(KeyScript, BadLinesAreRefusedWithTheirLineNumber) {
  platform::KeyScript script;
  std::string error;
  EXPECT_FALSE(script.parse("1 down SPACE\n0 down SPACE\n", error));
  EXPECT_NE(error.find("line 2"), std::string::npos);
  EXPECT_FALSE(script.parse("1 hold SPACE\n", error));
  EXPECT_FALSE(script.parse("1 down NOSUCHKEY\n", error));
  EXPECT_FALSE(script.parse("x down SPACE\n", error));
  EXPECT_FALSE(script.parse("-1 down SPACE\n", error));
  EXPECT_FALSE(script.parse("1 down\n", error));
  EXPECT_FALSE(script.parse("1 down SPACE extra\n", error));
  EXPECT_FALSE(script.parse("99999999999999999999 down SPACE\n", error));
  EXPECT_FALSE(script.load("no-such-file.keys", error));
  EXPECT_NE(error.find("no-such-file.keys"), std::string::npos);
}

}  // namespace
