#include "tools/qelmodel/HeadlessRenderer.h"

#include <memory>

#include "platform/backend/HeadlessBackend.h"
#include "platform/win32/WinUser.h"
#include "platform/win32/WindowSystem.h"

namespace {
constexpr const char kWindowClass[] = "qelmodel";
}  // namespace

HeadlessRenderer::HeadlessRenderer() {
  platform::resetWindowSystem();
  platform::installBackend(std::make_unique<platform::HeadlessBackend>());
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, kWindowClass, "qelmodel", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                                nullptr, nullptr);
  if (window == nullptr) return;
  ShowWindow(window, SW_SHOWNORMAL);
  renderer.fullScreen = 0;
  created_ = renderer.create(window, nullptr) == 1;
}

HeadlessRenderer::~HeadlessRenderer() {
  renderer.releaseAll();
  platform::resetWindowSystem();
  platform::installBackend(nullptr);
}
