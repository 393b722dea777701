#pragma once
// The window the start-up benchmark's yardstick programs show: a plain
// top-level window of a class of its own, not shown yet.
#include <windows.h>
#include <commctrl.h>

inline HWND CreateYardstickWindow(HINSTANCE instance, const wchar_t* className,
                                  const wchar_t* title, WNDPROC procedure) {
    InitCommonControls();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           600, 400, nullptr, nullptr, instance, nullptr);
}
