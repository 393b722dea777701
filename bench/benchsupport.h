#pragma once
// What both benchmarks need: the clock, the message pump, a folder removed
// with its contents, and the program's real main window in this process.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "app/program.h"

inline double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Handles every message that has arrived.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Runs on this machine vary by a fifth from one to the next; the middle one
// of a few is the figure a script can compare.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find.get(), &data));
    }
    find.reset();
    RemoveDirectoryW(path.c_str());
}

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
