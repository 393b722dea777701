#pragma once
// The program's small modal dialogs: the tool dialog with its program picker
// and the About dialog. The folder browser and the colour pickers are AppState
// operations of their own.

#include <windows.h>

#include <cstdint>

#include "settings/settings.h"

// What the tool dialog edits: one tool's command line, changed in place.
struct ToolDialogParams {
    ToolKind kind;
    wchar_t* value; // 260 units
};

// Template 102; the result is always 1.
INT_PTR CALLBACK ToolDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Template 101; the parameter is the path the button opens.
INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Cuts a tool command line before its options: at the first " -", or failing
// that at the first " /".
void CutToolOptions(wchar_t* commandLine);

// Lets the user pick a program for the tool; on confirmation the chosen path
// replaces the whole value, options included.
void ChooseExecutable(wchar_t* value);
