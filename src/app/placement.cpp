#include "app/placement.h"

#include "commands/commandids.h"

namespace {

constexpr LONG kMinimumSide = 100;
constexpr LONG kTolerance = 10;

} // namespace

RECT FitRectToMonitor(RECT r, const RECT& m, SIZE minTrack) {
    LONG w = r.right - r.left;
    LONG h = r.bottom - r.top;
    if (w < minTrack.cx) {
        r.right = r.left + kMinimumSide;
        w = kMinimumSide;
    }
    if (h < minTrack.cy) {
        r.bottom = r.top + kMinimumSide;
        h = kMinimumSide;
    }
    // Each step works on what the previous one left.
    if (r.top > m.bottom || r.bottom > m.bottom + kTolerance) {
        r.bottom = m.bottom;
        r.top = m.bottom - h;
    }
    if (r.left > m.right || r.right > m.right + kTolerance) {
        r.right = m.right;
        r.left = m.right - w;
    }
    if (r.right < m.left || r.left < m.left - kTolerance) {
        r.left = m.left;
        r.right = m.left + w;
    }
    if (r.bottom < m.top || r.top < m.top - kTolerance) {
        r.top = m.top;
        r.bottom = m.top + h;
    }
    return r;
}

POINT CentredPosition(const RECT& window, const RECT& workArea, const RECT& monitor, int command) {
    LONG w = window.right - window.left;
    LONG h = window.bottom - window.top;
    POINT at = {window.left, window.top};
    // Integer division truncates toward zero, also for a window wider than the area.
    if (command == CMD_CENTER_HORIZ) at.x = monitor.left + (workArea.right - monitor.left - w) / 2;
    if (command == CMD_CENTER_VERT) at.y = monitor.top + (workArea.bottom - monitor.top - h) / 2;
    return at;
}

// The placement gives the restored rectangle relative to the work area,
// which differs from the screen where a taskbar stands at the top or the
// left; converted here, so a save and the next start's MoveWindow agree and
// the window does not creep.
bool RestoredRectangle(HWND window, RECT& rect) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return false;
    rect = placement.rcNormalPosition;
    if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor))
            OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
                       monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return true;
}
