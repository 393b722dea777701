#pragma once
// The program's real main window, created in the benchmark's own process.

#include <windows.h>

#include <cstdio>

#include "app/application.h"
#include "app/appstate.h"
#include "app/program.h"

// The state of a new main window brought to the front, or null (reported).
inline AppState* OpenBenchWindow() {
    Application.instance = GetModuleHandleW(nullptr);
    RegisterWindowClasses(Application.instance);
    HWND owner = CreateOwnerWindow();
    HWND window = CreateMainWindow(owner);
    Application.mainwindow = window;
    if (!window || !TheAppState) {
        std::fprintf(stderr, "the main window could not be created\n");
        return nullptr;
    }
    SetForegroundWindow(window);
    return TheAppState;
}
