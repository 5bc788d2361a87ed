#include "app/DemoWindow.h"

#include <cstring>

#include "app/FrameDriver.h"
#include "app/SceneSetUp.h"
#include "app/SceneShutDown.h"
#include "app/SceneState.h"
#include "platform/gdi/WinGdi.h"
#include "platform/win32/WinUser.h"

namespace {
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kGreetingX = 10;
constexpr int kGreetingY = 10;

void registerWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = nullptr;
  windowClass.lpszClassName = kWindowClassName;
  RegisterClassA(&windowClass);  // not tested: without a class the loop runs without a window
}

void paintGreeting(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  TextOutA(dc, kGreetingX, kGreetingY, kGreeting, int(std::strlen(kGreeting)));
  EndPaint(window, &paint);
}
}  // namespace

void toggleControlMode() { scene.hoverControls ^= 1; }

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      shutDownScene();
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      paintGreeting(window);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_SHIFT) toggleControlMode();
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND openDemoWindow(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  if (previousInstance == nullptr) registerWindowClass(instance);
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, kWindowClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, 0, 0,
                                kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, showCommand);  // results not tested: the loop runs even without a window
  UpdateWindow(window);
  return window;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  HWND window = openDemoWindow(instance, previousInstance, showCommand);
  setUpScene(window);  // a failed set-up leaves sceneReady false: the loop still runs
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
      if (message.message == WM_QUIT) return int(message.wParam);
    }
    runFrame();
  }
}
