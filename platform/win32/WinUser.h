// Windows, messages, keyboard state and icons: the USER32 calls the engine makes.
//
// One thread owns every window and the one message queue. Posted messages and keyboard
// input share a first-in first-out queue; PeekMessageA takes from it, then reports WM_QUIT
// once PostQuitMessage was called and the queue is empty, then WM_PAINT for a window that
// needs painting. A PeekMessageA that finds nothing is an idle turn of the caller's loop:
// the display backend gets to run (the headless backend advances its clock by 20 ms).
// Window images are 16-bit RGB565, sized like the window; the client area is the whole window.
#pragma once

#include "platform/win32/WinTypes.h"

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
typedef WNDCLASSA* LPWNDCLASSA;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
typedef MSG* LPMSG;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

typedef WORD ATOM;

#define MAKEINTRESOURCEA(i) ((LPSTR)((std::uintptr_t)((WORD)(i))))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_VISIBLE 0x10000000L
#define WS_OVERLAPPEDWINDOW \
  (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_APPWINDOW 0x00040000L
#define CW_USEDEFAULT ((int)0x80000000)

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#define SW_SHOWDEFAULT 10

// PeekMessageA options.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// Messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_USER 0x0400

// Virtual-key codes.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_F1 0x70

// Registers a window class; 0 when the class name is missing or already registered.
ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass);
// Creates a window of a registered class (WM_CREATE is sent first); null on failure.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
// Shows or hides the window; returns whether it was visible before.
BOOL WINAPI ShowWindow(HWND window, int showCommand);
// Sends WM_PAINT at once when the window needs painting.
BOOL WINAPI UpdateWindow(HWND window);
// Sends WM_DESTROY to the window procedure, then frees the window; FALSE for a bad handle.
BOOL WINAPI DestroyWindow(HWND window);
// Takes the next message (see the file comment); FALSE when none is waiting.
BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
// Posts a message to the queue; FALSE for a bad window handle.
BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window procedure at once and returns its result.
LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Character translation: reports whether the message was a key message; posts nothing.
BOOL WINAPI TranslateMessage(const MSG* message);
// Hands the message to its window's procedure; 0 for messages without a live window.
LRESULT WINAPI DispatchMessageA(const MSG* message);
// Default handling: WM_CLOSE destroys, WM_PAINT validates, WM_ERASEBKGND fills; else 0.
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_QUIT with this exit code is reported once the queue is empty.
void WINAPI PostQuitMessage(int exitCode);
// Starts painting: erases to the class brush when needed, returns a DC over the window image.
HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint);
// Ends painting: releases the DC and shows the window image.
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);
// Marks the window as needing WM_PAINT.
BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase);
// Client rectangle {0, 0, width, height}.
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
// Whether the handle names a live window.
BOOL WINAPI IsWindow(HWND window);
// Stock icon / cursor handles (non-null for the IDI_/IDC_ identifiers).
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
// Key state as of the last message taken from the queue: bit 15 set while down, bit 0 toggles.
SHORT WINAPI GetKeyState(int virtualKey);
