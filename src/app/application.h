#pragma once
// The process-wide record, the global AppState pointer and the one way the
// program shows a message box.

#include <windows.h>

class AppState;

struct ApplicationRecord {
    HINSTANCE instance;
    HWND mainwindow;
    const wchar_t* caption;
    const wchar_t* version;
};

extern ApplicationRecord Application;

// Published by WM_CREATE after the AppState is constructed; cleared before it
// is destroyed, so nothing reaches a record that is going away.
extern AppState* TheAppState;

int ShowMessage(const wchar_t* text, UINT type);
