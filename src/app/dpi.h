#pragma once
// The display scale the main window is drawn at. The calls that know a scale
// per monitor came with Windows 10; where they are missing, the system's one
// scale is the only one the program ever sees, and the system's own metrics
// stand in for them.

#include <windows.h>

constexpr UINT kDefaultDpi = 96;

// The scale of the monitor the window is on (the system's where the system
// knows only one).
UINT WindowDpi(HWND window);
// A system metric (SM_...) at a scale.
int MetricForDpi(int index, UINT dpi);
// The font the shell labels icons with, at a scale.
LOGFONTW IconTitleFont(UINT dpi);
