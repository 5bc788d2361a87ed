#include "tests/platform/PlatformFixture.h"

#include "platform/gdi/WinGdi.h"

namespace platformtest {

std::vector<Seen>& seenMessages() {
  static std::vector<Seen> seen;
  return seen;
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  seenMessages().push_back({window, message, wParam, lParam});
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void PlatformTest::SetUp() {
  platform::resetWindowSystem();
  auto backend = std::make_unique<platform::HeadlessBackend>();
  headless = backend.get();
  platform::installBackend(std::move(backend));
  seenMessages().clear();
}

void PlatformTest::TearDown() {
  platform::resetWindowSystem();
  platform::installBackend(nullptr);
}

HWND PlatformTest::openWindow(const char* title) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = recordingProcedure;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "recorder";
  RegisterClassA(&windowClass);  // 0 when already registered in this test: fine
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, "recorder", title, WS_OVERLAPPEDWINDOW, 0, 0, 640,
                                480, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  seenMessages().clear();
  return window;
}

int PlatformTest::drainMessages() {
  int count = 0;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    ++count;
  }
  return count;
}

}  // namespace platformtest
