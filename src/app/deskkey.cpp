// The system-wide key that brings the desk up or puts it away.
#include <windows.h>

#include "app/appstate.h"
#include "app/windowevents.h"
#include "resources/resource.h"

void AppState::OnHotKey(WPARAM id) {
    if (id != HOTKEY_DESK) return;
    // A dialog of ours holds the window: the key brings the dialog up instead.
    if (BringUpDialogForward(mainwindow)) return;
    bool shown = IsWindowVisible(mainwindow) && !IsIconic(mainwindow);
    if (shown && GetForegroundWindow() == mainwindow) {
        // Without a taskbar button a minimised window would have nowhere to go.
        ShowWindow(mainwindow, trayicon ? SW_HIDE : SW_MINIMIZE);
        return;
    }
    if (!IsWindowVisible(mainwindow)) ShowWindow(mainwindow, SW_SHOW);
    if (IsIconic(mainwindow)) ShowWindow(mainwindow, SW_RESTORE);
    SetForegroundWindow(mainwindow);
    SetFocus(desklist);
}
