#pragma once

#include <windows.h>

// The exit code when the program's windows cannot be made.
constexpr int kStartFailed = 2;

// The program's life: classes, windows, message loop; returns the exit code.
int RunProgram(HINSTANCE instance);

// False when either class could not be registered.
bool RegisterWindowClasses(HINSTANCE instance);
// The hidden owner window, which lets the main window drop its taskbar button.
HWND CreateOwnerWindow();
// The main window; its creation runs the whole start-up.
HWND CreateMainWindow(HWND owner);
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);
