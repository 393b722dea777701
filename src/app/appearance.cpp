#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "app/appstate.h"
#include "app/handles.h"
#include "resources/resource.h"

void AppState::ApplySettings() {
    convertpending = convertlinks;
    FitToScreen();
    SendMessageW(desklist, LVM_SETBKCOLOR, 0, colour);
    // Icons are drawn onto the background colour, so in the transparent
    // window only their own pixels remain.
    ImageList_SetBkColor(images, colour);
    SendMessageW(desklist, LVM_SETTEXTCOLOR, 0, textcolour);
    // Labels are drawn without a background of their own.
    SendMessageW(desklist, LVM_SETTEXTBKCOLOR, 0, CLR_NONE);
    if (iconstyle != 0) ApplyIconStyle();
    if (transparent) {
        // This run happens while the window is still being created; the
        // posted command turns transparency on again once the loop runs.
        ApplyTransparency();
        transparent = false;
        PostMessageW(mainwindow, WM_COMMAND, CMD_TRANSPARENT, 0);
    }
    if (trayicon) ApplyTrayIcon();
    if (ontop) ApplyStayOnTop();
    if (trimmemory != 0) SetTimer(mainwindow, TIMER_TRIM, static_cast<UINT>(trimmemory), nullptr);
    if (recycler) SetTimer(mainwindow, TIMER_RECYCLER, static_cast<UINT>(recyclerpoll), nullptr);
}

void AppState::ApplyTransparency() {
    if (!setlayered) return;
    ShowWindow(mainwindow, SW_HIDE);
    LONG_PTR exstyle = GetWindowLongPtrW(mainwindow, GWL_EXSTYLE);
    if (transparent) {
        RECT client;
        GetClientRect(mainwindow, &client);
        int caption = GetSystemMetrics(SM_CYCAPTION);
        // The caption and the frame lie outside the region and disappear.
        GdiObject region(CreateRectRgn(GetSystemMetrics(SM_CXFRAME),
                                       GetSystemMetrics(SM_CYFRAME) + caption, client.right,
                                       client.bottom + caption));
        // Once set, the region belongs to the system.
        if (region && SetWindowRgn(mainwindow, static_cast<HRGN>(region.get()), TRUE))
            region.release();
        SetWindowLongPtrW(mainwindow, GWL_EXSTYLE, exstyle | WS_EX_LAYERED);
        // Every pixel in the background colour becomes see-through.
        setlayered(mainwindow, colour, 0, LWA_COLORKEY);
    } else {
        SetWindowRgn(mainwindow, nullptr, TRUE);
        SetWindowLongPtrW(mainwindow, GWL_EXSTYLE, exstyle & ~WS_EX_LAYERED);
    }
    ShowWindow(mainwindow, SW_SHOW);
}

void AppState::ApplyTrayIcon() {
    // Hiding and showing makes the taskbar take note of the style change.
    bool visible = IsWindowVisible(mainwindow);
    if (visible) ShowWindow(mainwindow, SW_HIDE);
    LONG_PTR exstyle = GetWindowLongPtrW(mainwindow, GWL_EXSTYLE);
    if (trayicon) {
        SetWindowLongPtrW(mainwindow, GWL_EXSTYLE, exstyle & ~WS_EX_APPWINDOW);
        Shell_NotifyIconW(NIM_ADD, &trayicondata);
    } else {
        SetWindowLongPtrW(mainwindow, GWL_EXSTYLE, exstyle | WS_EX_APPWINDOW);
        Shell_NotifyIconW(NIM_DELETE, &trayicondata);
    }
    // Without the tray icon a hidden window could never be reached again.
    if (visible || !trayicon) ShowWindow(mainwindow, SW_SHOW);
}

void AppState::ApplyStayOnTop() {
    const UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW;
    SetWindowPos(mainwindow, ontop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (ontop || !(GetWindowLongPtrW(mainwindow, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
    // Still topmost: Wine keeps an owned window above its owner by placing it
    // after the window right above the owner, and when the hidden owner lies
    // directly below, that is the window itself, so nothing moves. Without
    // its owner for this one call the window leaves the topmost band like any
    // other. Windows clears the style at the first call and never comes here.
    HWND owner = GetWindow(mainwindow, GW_OWNER);
    if (!owner) return;
    SetWindowLongPtrW(mainwindow, GWLP_HWNDPARENT, 0);
    SetWindowPos(mainwindow, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowLongPtrW(mainwindow, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}
