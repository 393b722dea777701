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
// Gives every later dialog the program's icon.
void SetDialogClassIcon(HWND mainWindow);

// Whether a key message may become a command through the accelerators:
// always, except in the name box of a label edit, where only Enter (commit)
// and Esc (abandon) do and every other key edits the text.
bool KeyMayBeCommand(const MSG& message, bool inLabelEdit);
// Whether window is the label-edit box of the desk list in mainWindow.
bool IsLabelEditBox(HWND mainWindow, HWND window);
