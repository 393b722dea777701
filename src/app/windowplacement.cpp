#include <windows.h>

#include "app/appstate.h"
#include "app/placement.h"

namespace {

MONITORINFO MonitorOf(const RECT& rect) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    // A rectangle on a monitor that has gone belongs to the nearest that remains.
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
        SetRect(&info.rcMonitor, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    return info;
}

} // namespace

RECT FitToItsMonitor(const RECT& rect) {
    // The whole monitor, not its work area: a window may rest under a taskbar.
    RECT monitor = MonitorOf(rect).rcMonitor;
    SIZE minTrack = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    return FitRectToMonitor(rect, monitor, minTrack);
}

void AppState::FitToScreen() {
    RECT r = FitToItsMonitor(windowrect);
    MoveWindow(mainwindow, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    GetWindowRect(mainwindow, &windowrect);
}

void AppState::Centre(int command) {
    MONITORINFO monitor = MonitorOf(windowrect);
    POINT at = CentredPosition(windowrect, monitor.rcWork, monitor.rcMonitor, command);
    // windowrect follows through WM_MOVE.
    MoveWindow(mainwindow, at.x, at.y, windowrect.right - windowrect.left,
               windowrect.bottom - windowrect.top, TRUE);
}
