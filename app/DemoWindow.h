// The program's entry, its window and its only loop.
//
// WinMain registers the "hello" class (unless a previous instance exists), opens the 640x480
// window "Test", builds the scene and then spins: it drains every waiting message and, when
// none is left, runs one turn of the frame driver; it returns the wParam of WM_QUIT.
// The window procedure paints a greeting, toggles the control scheme on Shift (every
// auto-repeat toggles again), destroys the window on Escape, and on WM_DESTROY releases the
// scene and posts the quit message.
#pragma once

#include "platform/win32/WinTypes.h"

inline constexpr char kWindowClassName[] = "hello";
inline constexpr char kWindowTitle[] = "Test";
inline constexpr char kGreeting[] = "Hello, World!";

// Registers the class unless a previous instance exists, then creates, shows and updates the
// window "Test" (640x480 at 0, 0).
HWND openDemoWindow(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);
// The program: window, scene, then the loop; returns the wParam of WM_QUIT.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
// The window procedure of the "hello" class.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Switches between hover (1) and flight (0) controls.
void toggleControlMode();
