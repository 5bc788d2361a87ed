// Window messages: queue order, synchronous WM_DESTROY, WM_QUIT, painting, key state.
#include "platform/win32/MMSystem.h"
#include "tests/platform/PlatformFixture.h"

namespace platformtest {
namespace {

class MessageLoop : public PlatformTest {};

TEST_F(MessageLoop, PostedMessagesComeOutInOrderThenWmQuitWithItsCode) {
  HWND window = openWindow();
  PostMessageA(window, WM_USER + 1, 11, 0);
  PostQuitMessage(7);
  PostMessageA(window, WM_USER + 2, 22, 0);  // posted after the quit, still taken before it

  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT(WM_USER + 1));
  EXPECT_EQ(message.wParam, 11u);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT(WM_USER + 2));
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_EQ(message.hwnd, nullptr);
  EXPECT_EQ(DispatchMessageA(&message), 0);  // dispatching WM_QUIT is harmless
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));  // reported once
}

TEST_F(MessageLoop, PeekWithoutRemoveLeavesTheMessage) {
  HWND window = openWindow();
  PostMessageA(window, WM_USER, 1, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT(WM_USER));
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoop, DestroyWindowSendsWmDestroyBeforeItReturns) {
  HWND window = openWindow();
  PostMessageA(window, WM_USER, 0, 0);
  ASSERT_TRUE(DestroyWindow(window));
  ASSERT_EQ(seenMessages().size(), 1u);
  EXPECT_EQ(seenMessages()[0].message, UINT(WM_DESTROY));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(window));  // a stale handle is refused, not reused
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));  // its messages are dropped
}

LRESULT CALLBACK escapeClosingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seenMessages().push_back({window, message, wParam, lParam});
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (message == WM_KEYDOWN) {
    if (wParam == VK_ESCAPE) DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(MessageLoop, EscapeDestroysInsideDispatchAndTheLoopEndsWithZero) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = escapeClosingProcedure;
  windowClass.lpszClassName = "hello";
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  EXPECT_EQ(RegisterClassA(&windowClass), 0);  // a second registration is refused
  HWND window = CreateWindowExA(0, "HELLO", "Test", 0, 0, 0, 640, 480, nullptr, nullptr, nullptr,
                                nullptr);  // class names ignore case
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  platform::postKeyDown(VK_ESCAPE);

  int idleTurns = 0;
  WPARAM exitCode = 99;
  for (int turn = 0; turn < 100 && exitCode == 99; ++turn) {
    MSG message;
    bool took = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      took = true;
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (message.message == WM_QUIT) {
        exitCode = message.wParam;
        break;
      }
    }
    if (!took) ++idleTurns;
  }
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(IsWindow(window));
  // WM_PAINT (shown), WM_KEYDOWN, then WM_DESTROY from inside the key handling.
  std::vector<UINT> order;
  for (const Seen& seen : seenMessages())
    if (seen.message != WM_CREATE && seen.message != WM_ERASEBKGND) order.push_back(seen.message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_PAINT, WM_KEYDOWN, WM_DESTROY}));
}

TEST_F(MessageLoop, PaintComesAfterPostedMessagesAndStopsOncePainted) {
  HWND window = openWindow();
  InvalidateRect(window, nullptr, TRUE);
  PostMessageA(window, WM_USER, 0, 0);
  drainMessages();
  ASSERT_EQ(seenMessages().size(), 3u);
  EXPECT_EQ(seenMessages()[0].message, UINT(WM_USER));
  EXPECT_EQ(seenMessages()[1].message, UINT(WM_PAINT));
  EXPECT_EQ(seenMessages()[2].message, UINT(WM_ERASEBKGND));  // sent from BeginPaint
  seenMessages().clear();
  EXPECT_EQ(drainMessages(), 0);
}

TEST_F(MessageLoop, UpdateWindowPaintsAtOnceAndEraseUsesTheClassBrush) {
  HWND window = openWindow();
  platform::PixelTarget image = platform::windowImage(window);
  ASSERT_NE(image.bits, nullptr);
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.height, 480);
  const auto* pixels = static_cast<const std::uint16_t*>(image.bits);
  EXPECT_EQ(pixels[0], 0xFFFF);  // WHITE_BRUSH
  EXPECT_EQ(pixels[640 * 480 - 1], 0xFFFF);
  EXPECT_EQ(drainMessages(), 0);  // UpdateWindow already painted: nothing pending
}

TEST_F(MessageLoop, GetKeyStateFollowsTheMessagesTakenNotThosePosted) {
  openWindow();
  platform::postKeyDown(VK_NUMPAD8);
  EXPECT_EQ(GetKeyState(VK_NUMPAD8) & 0x8000, 0);  // posted, not yet taken
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT(WM_KEYDOWN));
  EXPECT_NE(GetKeyState(VK_NUMPAD8) & 0x8000, 0);
  EXPECT_NE(GetKeyState(VK_NUMPAD8) & 0xFF00, 0);  // the engine's test: high byte set
  EXPECT_LT(GetKeyState(VK_NUMPAD8), 0);
  platform::postKeyUp(VK_NUMPAD8);
  EXPECT_NE(GetKeyState(VK_NUMPAD8) & 0x8000, 0);  // still down until the up is taken
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT(WM_KEYUP));
  EXPECT_EQ(GetKeyState(VK_NUMPAD8) & 0x8000, 0);
  EXPECT_EQ(GetKeyState(VK_NUMPAD8) & 1, 1);  // toggled once
  EXPECT_EQ(GetKeyState(-1), 0);
  EXPECT_EQ(GetKeyState(100000), 0);
}

TEST_F(MessageLoop, AutoRepeatGivesRepeatedKeyDownsWithThePreviousStateBit) {
  openWindow();
  platform::postKeyDown(VK_SHIFT);
  platform::postKeyDown(VK_SHIFT);
  platform::postKeyDown(VK_SHIFT);
  platform::postKeyUp(VK_SHIFT);
  drainMessages();
  ASSERT_EQ(seenMessages().size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(seenMessages()[std::size_t(i)].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(seenMessages()[std::size_t(i)].wParam, WPARAM(VK_SHIFT));
    EXPECT_EQ((seenMessages()[std::size_t(i)].lParam >> 30) & 1, i == 0 ? 0 : 1);
  }
  EXPECT_EQ(seenMessages()[3].message, UINT(WM_KEYUP));
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 1, 1);  // repeats do not toggle
}

TEST_F(MessageLoop, KeysGoToTheWindowShownLast) {
  HWND first = openWindow("first");
  HWND second = openWindow("second");
  EXPECT_EQ(platform::focusWindow(), second);
  platform::postKeyDown(VK_SPACE);
  drainMessages();
  ASSERT_EQ(seenMessages().size(), 1u);
  EXPECT_EQ(seenMessages()[0].window, second);
  DestroyWindow(second);
  EXPECT_EQ(platform::focusWindow(), first);
}

TEST_F(MessageLoop, WmCloseThroughDefWindowProcDestroysTheWindow) {
  HWND window = openWindow();
  PostMessageA(window, WM_CLOSE, 0, 0);
  drainMessages();
  EXPECT_FALSE(IsWindow(window));
  ASSERT_EQ(seenMessages().size(), 2u);
  EXPECT_EQ(seenMessages()[1].message, UINT(WM_DESTROY));
}

TEST_F(MessageLoop, BadArgumentsAreRefusedWithoutHarm) {
  WNDCLASSA noName{};
  noName.lpfnWndProc = recordingProcedure;
  EXPECT_EQ(RegisterClassA(&noName), 0);
  EXPECT_EQ(RegisterClassA(nullptr), 0);
  EXPECT_EQ(CreateWindowExA(0, "nonexistent", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                            nullptr),
            nullptr);
  EXPECT_FALSE(ShowWindow(nullptr, SW_SHOW));
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0));
  EXPECT_EQ(BeginPaint(nullptr, nullptr), nullptr);
  EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
  EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

}  // namespace
}  // namespace platformtest
