#pragma once
// What both benchmarks need: the clock, the message pump, the checks and
// their report, files made and folders removed, and the program's real main
// window in this process.

#include <windows.h>

#include <algorithm>
#include <cstdarg>
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

// Handles messages as they arrive until done() holds or the time is up,
// sleeping while none come. True when done() held.
template <typename Done> bool PumpUntil(Done done, double seconds) {
    for (double end = Now() + seconds;;) {
        Pump();
        if (done()) return true;
        if (Now() >= end) return false;
        MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

inline void PumpFor(double seconds) {
    PumpUntil([] { return false; }, seconds);
}

// The list holds every item of the last fill or refresh, each with its own icon.
inline bool Complete(const AppState* state) {
    return !state->fill.Busy() && state->icons.Pending() == 0;
}

inline bool PumpUntilComplete(const AppState* state, double seconds = 120) {
    return PumpUntil([state] { return Complete(state); }, seconds);
}

// The checks that failed so far; a benchmark exits with 1 when any did.
inline int FailedChecks = 0;

// Counts a failed check and reports it on stderr in one line.
[[gnu::format(printf, 1, 2)]] inline void Fail(const char* format, ...) {
    ++FailedChecks;
    std::fputs("check failed: ", stderr);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

// A figure that must have been measured (a negative one was not) and must
// not exceed its target; the format names the figure.
[[gnu::format(printf, 3, 4)]] inline void CheckAtMost(double figure, double target,
                                                      const char* format, ...) {
    char what[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(what, sizeof what, format, args);
    va_end(args);
    if (figure < 0)
        Fail("%s was not measured", what);
    else if (figure > target)
        Fail("%s=%.3f, target at most %.3f", what, figure, target);
}

// Runs on this machine vary by a fifth from one to the next; the middle one
// of a few is the figure a script can compare.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// An empty file, made or emptied.
inline void Touch(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Read-only entries included: a customised folder is marked so.
inline void RemoveTree(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else if (SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL))
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
