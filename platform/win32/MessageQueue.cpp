// The message queue, dispatch, keyboard state and WM_QUIT.
#include <array>
#include <deque>

#include "platform/backend/Backend.h"
#include "platform/win32/WindowSystem.h"
#include "platform/win32/WindowTable.h"

namespace platform::detail {
namespace {

struct Queue {
  std::deque<MSG> messages;
  bool quitPosted = false;
  int quitCode = 0;
  std::array<BYTE, 256> keyState{};   // bit 7 down, bit 0 toggled: as of the last taken message
  std::array<bool, 256> postedDown{};  // as of the last posted key message
};

Queue& queue() {
  static Queue instance;
  return instance;
}

void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG entry{};
  entry.hwnd = window;
  entry.message = message;
  entry.wParam = wParam;
  entry.lParam = lParam;
  entry.time = backend().milliseconds();
  queue().messages.push_back(entry);
}

// GetKeyState follows the key messages as they are taken from the queue.
void noteTakenKey(const MSG& message) {
  if (message.wParam >= 256) return;
  BYTE& state = queue().keyState[message.wParam];
  if (message.message == WM_KEYDOWN) {
    bool repeat = (message.lParam >> 30) & 1;
    if (!repeat) state ^= 0x01;
    state |= 0x80;
  } else if (message.message == WM_KEYUP) {
    state &= BYTE(~0x80);
  }
}

// WM_PAINT is generated, not queued: the first visible window needing paint.
HWND windowNeedingPaint(HWND filter) {
  for (WindowRecord* record : liveWindows())
    if (record->needsPaint && record->visible && !record->destroying &&
        (!filter || filter == record->handle))
      return record->handle;
  return nullptr;
}

}  // namespace

void clearMessageQueue() { queue() = Queue{}; }

void dropMessagesFor(HWND window) {
  auto& messages = queue().messages;
  for (auto it = messages.begin(); it != messages.end();)
    it = it->hwnd == window ? messages.erase(it) : it + 1;
}

}  // namespace platform::detail

using namespace platform::detail;

// Message filters are honoured for the window only; a message range other than "all" is
// not used by the engine and is treated as "all".
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT, UINT, UINT remove) {
  if (!message) return FALSE;
  platform::backend().pollInput();
  auto& messages = queue().messages;
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    if (window && it->hwnd != window) continue;
    *message = *it;
    if (remove & PM_REMOVE) {
      messages.erase(it);
      noteTakenKey(*message);
    }
    return TRUE;
  }
  if (queue().quitPosted && !window) {
    *message = MSG{};
    message->message = WM_QUIT;
    message->wParam = WPARAM(queue().quitCode);
    message->time = platform::backend().milliseconds();
    if (remove & PM_REMOVE) queue().quitPosted = false;
    return TRUE;
  }
  if (HWND painting = windowNeedingPaint(window)) {
    *message = MSG{};
    message->hwnd = painting;
    message->message = WM_PAINT;
    message->time = platform::backend().milliseconds();
    return TRUE;
  }
  platform::backend().idleTurn();
  return FALSE;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window && !findWindow(window)) return FALSE;
  post(window, message, wParam, lParam);
  return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = findWindow(window);
  if (!record) return 0;
  return record->procedure(window, message, wParam, lParam);
}

BOOL WINAPI TranslateMessage(const MSG* message) {
  if (!message) return FALSE;
  return message->message == WM_KEYDOWN || message->message == WM_KEYUP;
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
  if (!message || !message->hwnd) return 0;  // thread messages (WM_QUIT) have no procedure
  WindowRecord* record = findWindow(message->hwnd);
  if (!record) return 0;
  // As on Windows, a WM_PAINT handler that neither paints nor calls DefWindowProcA leaves
  // the window invalid, and WM_PAINT comes again.
  return record->procedure(message->hwnd, message->message, message->wParam, message->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
  queue().quitPosted = true;
  queue().quitCode = exitCode;
}

SHORT WINAPI GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= 256) return 0;
  BYTE state = queue().keyState[std::size_t(virtualKey)];
  std::uint16_t result = (state & 0x80) ? 0xFF80 : 0x0000;
  result |= state & 0x01;
  return SHORT(result);
}

namespace platform {

// lParam of a key message: repeat count 1, previous-state bit 30, transition bit 31.
void postKeyDown(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= 256) return;
  HWND target = focusWindow();
  bool wasDown = queue().postedDown[std::size_t(virtualKey)];
  queue().postedDown[std::size_t(virtualKey)] = true;
  if (!target) return;
  post(target, WM_KEYDOWN, WPARAM(virtualKey), LPARAM(1) | (wasDown ? LPARAM(1) << 30 : 0));
}

void postKeyUp(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= 256) return;
  HWND target = focusWindow();
  queue().postedDown[std::size_t(virtualKey)] = false;
  if (!target) return;
  post(target, WM_KEYUP, WPARAM(virtualKey), LPARAM(1) | (LPARAM(1) << 30) | (LPARAM(1) << 31));
}

bool isKeyPostedDown(int virtualKey) {
  if (virtualKey <= 0 || virtualKey >= 256) return false;
  return queue().postedDown[std::size_t(virtualKey)];
}

bool quitPending() { return queue().quitPosted; }

}  // namespace platform
