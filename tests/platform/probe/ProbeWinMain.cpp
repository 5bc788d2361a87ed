// A small program on the platform entry point: a window greeting in WM_PAINT and a frame
// loop that presents a cleared back buffer every 20 ms until Escape; prints its frame count.
#include <cstdio>

#include "tests/platform/probe/ProbeDisplay.h"
#include "platform/ddraw/DDraw.h"
#include "platform/gdi/WinGdi.h"
#include "platform/win32/MMSystem.h"
#include "platform/win32/WinUser.h"

namespace {
LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      TextOutA(dc, 10, 10, "Hello, World!", 13);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "hello";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, "hello", "Test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                nullptr, nullptr, instance, nullptr);
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  ProbeDisplay display;
  display.open(window);

  int frames = 0;
  DWORD lastFrame = 0;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (message.message == WM_QUIT) {
        display.release();
        std::printf("frames %d\n", frames);
        return int(message.wParam);
      }
    }
    if (timeGetTime() - lastFrame < 20) continue;
    lastFrame = timeGetTime();
    ++frames;
    display.present(DWORD(frames * 0x0841), "Platform probe");  // a grey ramp
  }
}
