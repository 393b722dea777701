#include "shell/shellmenu.h"

#include <shlobj.h>

#include "app/handles.h"

namespace {

constexpr UINT kFirstMenuId = 1;
constexpr UINT kLastMenuId = 30000;

// The shell's menu object and the newest of its interfaces it supports.
struct ShellMenu {
    ComPtr<IContextMenu> contextmenu; // holds the IContextMenu3/2 pointer when there is one
    int menuversion = 0;
};

bool ObtainShellMenu(const PathList& paths, ShellMenu& menu, HWND owner) {
    ComPtr<IContextMenu> first;
    if (!GetShellObject(paths, IID_IContextMenu, first.putVoid(), owner)) return false;
    // IContextMenu3 and IContextMenu2 extend IContextMenu, so either pointer
    // serves as the menu object.
    ComPtr<IContextMenu> newer;
    if (SUCCEEDED(first->QueryInterface(IID_IContextMenu3, newer.putVoid())) && newer) {
        menu.menuversion = 3;
    } else if (SUCCEEDED(first->QueryInterface(IID_IContextMenu2, newer.putVoid())) && newer) {
        menu.menuversion = 2;
    } else {
        menu.menuversion = 1;
        newer = std::move(first);
    }
    menu.contextmenu = std::move(newer);
    return true;
}

// Where the owner window's menu messages go while a shell menu is tracked.
// One menu is tracked at a time: TrackPopupMenuEx is modal.
struct MenuForwarding {
    WNDPROC previous = nullptr;
    IContextMenu2* contextmenu = nullptr;
};
MenuForwarding forwarding;

LRESULT ForwardToShell(UINT message, WPARAM wParam, LPARAM lParam) {
    if (forwarding.contextmenu) forwarding.contextmenu->HandleMenuMsg(message, wParam, lParam);
    return 0;
}

// Owner-drawn entries and sub-menus that the shell's handlers add are drawn
// and filled by the handlers themselves; everything else, including
// controls' own drawing, stays with the window.
LRESULT CALLBACK ForwardMenuMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITMENUPOPUP: return ForwardToShell(message, wParam, lParam);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        if (wParam == 0) return ForwardToShell(message, wParam, lParam);
        break;
    default: break;
    }
    return CallWindowProcW(forwarding.previous, window, message, wParam, lParam);
}

UINT TrackShellMenu(const ShellMenu& menu, HMENU popup, POINT point, HWND window) {
    if (menu.menuversion < 2)
        return static_cast<UINT>(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x,
                                                  point.y, window, nullptr));
    forwarding.contextmenu = static_cast<IContextMenu2*>(menu.contextmenu.get());
    forwarding.previous = nullptr;
    UINT id;
    {
        WindowProcSwap swap(window, ForwardMenuMessages);
        forwarding.previous = swap.previous();
        id = static_cast<UINT>(TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x,
                                                point.y, window, nullptr));
    }
    forwarding = {};
    return id;
}

} // namespace

UINT ShowShellContextMenu(const PathList& paths, POINT point, HWND window) {
    if (paths.empty()) return 0;
    ShellMenu menu;
    if (!ObtainShellMenu(paths, menu, window)) return 0;
    MenuHandle popup(CreatePopupMenu());
    if (!popup) return 0;
    menu.contextmenu->QueryContextMenu(popup.get(), 0, kFirstMenuId, kLastMenuId, CMF_EXPLORE);

    UINT id = TrackShellMenu(menu, popup.get(), point, window);
    if (id < kFirstMenuId || id > kLastMenuId) return 0;

    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    // What the entry shows (a confirmation, a property sheet) belongs to us.
    info.hwnd = window;
    info.lpVerb = MAKEINTRESOURCEA(id - kFirstMenuId);
    info.nShow = SW_SHOWNORMAL;
    menu.contextmenu->InvokeCommand(&info);
    return id;
}

HRESULT InvokeShellVerb(const PathList& paths, const char* verb, HWND owner) {
    ComPtr<IContextMenu> menu;
    if (!GetShellObject(paths, IID_IContextMenu, menu.putVoid(), owner)) return E_FAIL;
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}
