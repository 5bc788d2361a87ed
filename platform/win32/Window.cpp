// Window classes, window creation and destruction, painting, icons and cursors.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/backend/Backend.h"
#include "platform/gdi/Brushes.h"
#include "platform/win32/WindowSystem.h"
#include "platform/win32/WindowTable.h"

namespace platform::detail {
namespace {

struct ClassRecord {
  WNDCLASSA description{};
  std::string name;
};

struct Table {
  std::vector<ClassRecord> classes;
  std::map<std::uintptr_t, std::unique_ptr<WindowRecord>> windows;  // by handle number
  std::uintptr_t nextHandle = 0x10000;
  std::uint64_t showCounter = 0;
};

Table& table() {
  static Table instance;
  return instance;
}

bool equalIgnoringCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Class names are compared without regard to case, as USER32 does. Integer atoms
// (MAKEINTATOM) are not supported: names below 0x10000 are refused.
const ClassRecord* findClass(LPCSTR name) {
  if (!name || reinterpret_cast<std::uintptr_t>(name) < 0x10000) return nullptr;
  for (const ClassRecord& record : table().classes)
    if (equalIgnoringCase(record.name, name)) return &record;
  return nullptr;
}

void fillImage(WindowRecord& window, std::uint16_t colour) {
  std::fill(window.image.begin(), window.image.end(), colour);
}

}  // namespace

WindowRecord* findWindow(HWND window) {
  auto found = table().windows.find(reinterpret_cast<std::uintptr_t>(window));
  return found == table().windows.end() ? nullptr : found->second.get();
}

std::vector<WindowRecord*> liveWindows() {
  std::vector<WindowRecord*> result;
  for (auto& entry : table().windows) result.push_back(entry.second.get());
  return result;
}

void clearWindowTable() {
  table().classes.clear();
  table().windows.clear();
}

}  // namespace platform::detail

using platform::detail::findWindow;
using platform::detail::WindowRecord;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
  using namespace platform::detail;
  if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
  if (reinterpret_cast<std::uintptr_t>(windowClass->lpszClassName) < 0x10000) return 0;
  if (findClass(windowClass->lpszClassName)) return 0;
  ClassRecord record;
  record.description = *windowClass;
  record.name = windowClass->lpszClassName;
  record.description.lpszClassName = nullptr;  // the caller's string need not outlive the call
  record.description.lpszMenuName = nullptr;
  table().classes.push_back(record);
  return ATOM(0xC000 + table().classes.size());
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int, int,
                            int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
  using namespace platform::detail;
  const ClassRecord* windowClass = findClass(className);
  if (!windowClass) return nullptr;
  // CW_USEDEFAULT and unusable sizes give the display's size; huge ones are refused.
  if (width == CW_USEDEFAULT || width <= 0) width = 640;
  if (height == CW_USEDEFAULT || height <= 0) height = 480;
  if (width > 8192 || height > 8192) return nullptr;

  auto record = std::make_unique<WindowRecord>();
  record->handle = reinterpret_cast<HWND>(table().nextHandle);
  table().nextHandle += 0x10;
  record->procedure = windowClass->description.lpfnWndProc;
  record->background = windowClass->description.hbrBackground;
  record->title = windowName ? windowName : "";
  record->width = width;
  record->height = height;
  record->image.assign(std::size_t(width) * std::size_t(height), 0xFFFF);
  record->needsPaint = true;
  record->needsErase = true;
  HWND handle = record->handle;
  WNDPROC procedure = record->procedure;
  table().windows[reinterpret_cast<std::uintptr_t>(handle)] = std::move(record);

  platform::backend().windowCreated(handle, windowName ? windowName : "", width, height);
  if (procedure(handle, WM_CREATE, 0, 0) == -1) {  // creation refused by the window itself
    DestroyWindow(handle);
    return nullptr;
  }
  if ((style & WS_VISIBLE) && findWindow(handle)) ShowWindow(handle, SW_SHOW);
  return handle;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
  using namespace platform::detail;
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  BOOL wasVisible = record->visible ? TRUE : FALSE;
  bool visible = showCommand != SW_HIDE;
  record->visible = visible;
  if (visible) {
    record->shownOrder = ++table().showCounter;
    if (!wasVisible) {
      record->needsPaint = true;
      record->needsErase = true;
    }
  }
  platform::backend().windowShown(window, visible);
  return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window) {
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  if (record->needsPaint && record->visible) SendMessageA(window, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL WINAPI DestroyWindow(HWND window) {
  using namespace platform::detail;
  WindowRecord* record = findWindow(window);
  if (!record || record->destroying) return FALSE;
  record->destroying = true;
  record->visible = false;
  WNDPROC procedure = record->procedure;
  procedure(window, WM_DESTROY, 0, 0);  // synchronous, before the window goes away
  record = findWindow(window);          // the procedure may have reset the window system
  if (!record) return TRUE;
  if (record->paintDC) platform::releaseTargetDC(record->paintDC);
  dropMessagesFor(window);
  platform::backend().windowDestroyed(window);
  table().windows.erase(reinterpret_cast<std::uintptr_t>(window));
  return TRUE;
}

BOOL WINAPI IsWindow(HWND window) { return findWindow(window) ? TRUE : FALSE; }

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
  WindowRecord* record = findWindow(window);
  if (!record || !rect) return FALSE;
  *rect = RECT{0, 0, record->width, record->height};
  return TRUE;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT*, BOOL erase) {
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  record->needsPaint = true;
  if (erase) record->needsErase = true;
  return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
  WindowRecord* record = findWindow(window);
  if (!record) return 0;
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_PAINT: {  // validates the window so that WM_PAINT stops coming
      PAINTSTRUCT paint;
      if (BeginPaint(window, &paint)) EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
    {
      COLORREF colour = 0;
      if (!record->background || !platform::solidBrushColour(record->background, colour))
        return 0;
      unsigned red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
      platform::detail::fillImage(
          *record, std::uint16_t(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3)));
      return 1;
    }
    default:
      return 0;
  }
}

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  WindowRecord* record = findWindow(window);
  if (!record || !paint) return nullptr;
  std::memset(paint, 0, sizeof(*paint));
  if (record->paintDC) return nullptr;  // already painting
  record->needsPaint = false;
  if (record->needsErase) {
    record->needsErase = false;
    LRESULT erased = SendMessageA(window, WM_ERASEBKGND, 0, 0);
    record = findWindow(window);
    if (!record) return nullptr;
    paint->fErase = erased ? FALSE : TRUE;
  }
  platform::PixelTarget target;
  target.bits = record->image.data();
  target.width = record->width;
  target.height = record->height;
  target.pitch = record->width * 2;
  target.bitsPerPixel = 16;
  record->paintDC = platform::createTargetDC(target);
  paint->hdc = record->paintDC;
  paint->rcPaint = RECT{0, 0, record->width, record->height};
  return paint->hdc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
  WindowRecord* record = findWindow(window);
  if (!record || !paint || !record->paintDC || paint->hdc != record->paintDC) return FALSE;
  platform::releaseTargetDC(record->paintDC);
  record->paintDC = nullptr;
  platform::backend().windowPainted(window, platform::windowImage(window));
  return TRUE;
}

// The stock icon and cursor: distinct objects, never freed.
struct HICON__ {
  int id;
};
namespace {
HICON__ gApplicationIcon{32512};
HICON__ gArrowCursor{32513};
}  // namespace

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance || name != IDI_APPLICATION) return nullptr;  // only the stock icon exists
  return &gApplicationIcon;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance || name != IDC_ARROW) return nullptr;
  return &gArrowCursor;
}

namespace platform {

HWND focusWindow() {
  HWND best = nullptr;
  std::uint64_t bestOrder = 0;
  for (WindowRecord* record : detail::liveWindows()) {
    if (record->destroying) continue;
    if (!best || record->shownOrder >= bestOrder) {
      best = record->handle;
      bestOrder = record->shownOrder;
    }
  }
  return best;
}

int liveWindowCount() { return int(detail::liveWindows().size()); }

PixelTarget windowImage(HWND window) {
  PixelTarget target;
  WindowRecord* record = findWindow(window);
  if (!record) return target;
  target.bits = record->image.data();
  target.width = record->width;
  target.height = record->height;
  target.pitch = record->width * 2;
  target.bitsPerPixel = 16;
  return target;
}

void resetWindowSystem() {
  for (WindowRecord* record : detail::liveWindows()) {
    if (record->paintDC) releaseTargetDC(record->paintDC);
    backend().windowDestroyed(record->handle);
  }
  detail::clearWindowTable();
  detail::clearMessageQueue();
}

}  // namespace platform
