#include "app/windowevents.h"

#include "app/appstate.h"
#include "app/dpi.h"
#include "resources/resource.h"
#include "status/trim.h"

void OnGetMinMaxInfo(HWND window, MINMAXINFO* info) {
    if (info) info->ptMinTrackSize.x = MetricForDpi(SM_CXICONSPACING, WindowDpi(window));
}

bool BringUpDialogForward(HWND window) {
    if (IsWindowEnabled(window)) return false;
    SetForegroundWindow(GetLastActivePopup(window));
    return true;
}

void AppState::OnMove() { GetWindowRect(mainwindow, &windowrect); }

void AppState::OnSize(int width, int height) {
    MoveWindow(desklist, 0, 0, width, height, TRUE);
    GetWindowRect(mainwindow, &windowrect);
}

void AppState::OnTimer(UINT_PTR id) {
    switch (id) {
    case TIMER_TRIM: TrimWorkingSet(); break;
    case TIMER_CLOCK:
        // A one-shot: UpdateClock arms it again for the next minute.
        KillTimer(mainwindow, TIMER_CLOCK);
        UpdateClock();
        break;
    case TIMER_RECYCLER: UpdateRecycleStatus(); break;
    default: break;
    }
}

void AppState::OnTrayIcon(UINT mouseMessage) {
    if (mouseMessage != WM_RBUTTONUP && mouseMessage != WM_LBUTTONUP) return;
    if (BringUpDialogForward(mainwindow)) return;
    if (mouseMessage == WM_RBUTTONUP) {
        // Exit chosen from the menu ends this state: keep the window apart.
        HWND window = mainwindow;
        POINT cursor = {};
        GetCursorPos(&cursor);
        ShowCommandMenu(cursor.x, cursor.y, 0);
        PostMessageW(window, WM_USER, 0, 0);
        return;
    }
    // A click on the tray icon toggles the window.
    if (!IsWindowVisible(mainwindow)) {
        ShowWindow(mainwindow, SW_SHOW);
        SetForegroundWindow(mainwindow);
    } else if (IsIconic(mainwindow)) {
        ShowWindow(mainwindow, SW_RESTORE);
        SetForegroundWindow(mainwindow);
    } else {
        ShowWindow(mainwindow, SW_HIDE);
    }
}

void AppState::OnDpiChanged(UINT newdpi, const RECT& suggested) {
    dpi = newdpi;
    SetWindowPos(mainwindow, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyListFont();
    SizeIconsToView();
    ReloadIcons();
    // The frame changed size with the scale.
    if (transparent && setlayered) CutToClientArea();
}

bool AppState::DeferClose() {
    return closegate.Defer();
}
