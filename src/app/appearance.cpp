#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "app/appstate.h"
#include "app/dpi.h"
#include "app/handles.h"
#include "resources/resource.h"

void AppState::ApplySettings() {
    convertpending = convertlinks;
    FitToScreen();
    SendMessageW(desklist, LVM_SETBKCOLOR, 0, colour);
    // Icons are drawn onto the background colour, so in the transparent
    // window only their own pixels remain.
    ImageList_SetBkColor(icons.Images(), colour);
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
    // A text that names no key, or a key another program holds, leaves the
    // program without one; the three message boxes are for other things.
    deskkey.take(mainwindow, HOTKEY_DESK, hotkey);
}

void AppState::ApplyTransparency() {
    if (!setlayered) return;
    ShowWindow(mainwindow, SW_HIDE);
    LONG_PTR exstyle = GetWindowLongPtrW(mainwindow, GWL_EXSTYLE);
    if (transparent) {
        CutToClientArea();
        SetWindowLongPtrW(mainwindow, GWL_EXSTYLE, exstyle | WS_EX_LAYERED);
        // Every pixel in the background colour becomes see-through.
        setlayered(mainwindow, colour, 0, LWA_COLORKEY);
    } else {
        SetWindowRgn(mainwindow, nullptr, TRUE);
        SetWindowLongPtrW(mainwindow, GWL_EXSTYLE, exstyle & ~WS_EX_LAYERED);
    }
    ShowWindow(mainwindow, SW_SHOW);
}

void AppState::CutToClientArea() {
    // Where the client area lies in the window, whatever the frame: the
    // caption and every border, padded or not, lie outside the region.
    RECT window, client;
    POINT origin = {0, 0};
    if (!GetWindowRect(mainwindow, &window) || !GetClientRect(mainwindow, &client) ||
        !ClientToScreen(mainwindow, &origin))
        return;
    int left = origin.x - window.left, top = origin.y - window.top;
    GdiObject region(CreateRectRgn(left, top, left + client.right, top + client.bottom));
    // Once set, the region belongs to the system.
    if (region && SetWindowRgn(mainwindow, static_cast<HRGN>(region.get()), TRUE)) region.release();
}

void AppState::ApplyTrayIcon() {
    // Hiding and showing makes the taskbar take note of the style change.
    bool visible = IsWindowVisible(mainwindow);
    if (visible) ShowWindow(mainwindow, SW_HIDE);
    // An icon that is still there (the taskbar announced itself again) is
    // as good as a new one.
    bool inTray = trayicon && (Shell_NotifyIconW(NIM_ADD, &trayicondata) ||
                               Shell_NotifyIconW(NIM_MODIFY, &trayicondata));
    if (!trayicon) Shell_NotifyIconW(NIM_DELETE, &trayicondata);
    // Without a tray icon the taskbar button keeps the window reachable.
    LONG_PTR exstyle = GetWindowLongPtrW(mainwindow, GWL_EXSTYLE);
    SetWindowLongPtrW(mainwindow, GWL_EXSTYLE,
                      inTray ? exstyle & ~WS_EX_APPWINDOW : exstyle | WS_EX_APPWINDOW);
    if (visible || !inTray) ShowWindow(mainwindow, SW_SHOW);
}

void AppState::OnTaskbarCreated() {
    if (trayicon) ApplyTrayIcon();
}

void AppState::ApplyListFont() {
    LOGFONTW font = IconTitleFont(dpi);
    GdiObject made(CreateFontIndirectW(&font));
    if (!made) return;
    SendMessageW(desklist, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    // The list draws with the new font from now on; the old one can go.
    listfont = std::move(made);
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
