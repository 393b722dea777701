#pragma once

#include <windows.h>

// The program's life: classes, windows, message loop; returns the exit code.
int RunProgram(HINSTANCE instance);

void RegisterWindowClasses(HINSTANCE instance);
// The hidden owner window, which lets the main window drop its taskbar button.
HWND CreateOwnerWindow();
// The main window; its creation runs the whole start-up.
HWND CreateMainWindow(HWND owner);
int RunMessageLoop(HWND mainWindow, HACCEL accelerators);
