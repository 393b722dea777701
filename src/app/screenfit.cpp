// After the screens change the window is pulled back onto them, by the rule
// the start uses.
#include "app/screenfit.h"

#include "app/appstate.h"
#include "app/placement.h"

bool IsScreenChange(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_DISPLAYCHANGE: return true;
    case WM_SETTINGCHANGE: return wParam == SPI_SETWORKAREA;
    case WM_POWERBROADCAST: return wParam == PBT_APMRESUMEAUTOMATIC;
    default: return false;
    }
}

void AppState::OnScreenChanged() {
    fitwhenshown = true;
    FitIfShown();
}

void AppState::FitIfShown() {
    // A hidden, minimised or maximised window shows no rectangle of its own
    // now; its restored one is fitted once it shows that again.
    if (!fitwhenshown || !IsWindowVisible(mainwindow) || IsIconic(mainwindow) ||
        IsZoomed(mainwindow))
        return;
    fitwhenshown = false;
    RECT now;
    if (!GetWindowRect(mainwindow, &now)) return;
    // A window the rule leaves alone is not moved, not even onto itself.
    RECT fitted = FitToItsMonitor(now);
    if (EqualRect(&fitted, &now)) return;
    windowrect = now;
    FitToScreen();
}
