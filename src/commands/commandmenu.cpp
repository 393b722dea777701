// The command menu: loaded, adjusted, shown and destroyed on every showing,
// re-opened through a posted message while a pin holds it.
#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "app/application.h"
#include "app/handles.h"
#include "commands/commandtable.h"
#include "commands/pins.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "status/trim.h"

namespace {

bool ClipboardHoldsFiles(HWND owner) {
    ClipboardSession clipboard(owner);
    if (!clipboard.ok()) return false;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        if (format == CF_HDROP) return true;
    return false;
}

} // namespace

void AppState::UpdateMenuStates(HMENU menu) {
    MenuContext context;
    context.menupinned = menupinned;
    context.pinnedsubmenu = pinnedsubmenu;
    context.clipboardHasFiles = ClipboardHoldsFiles(mainwindow);
    context.anySelected = SendMessageW(desklist, LVM_GETSELECTEDCOUNT, 0, 0) != 0;
    // Items missing from the popup (a lone sub-menu) are simply not found.
    for (const MenuItemState& item : MenuStates(*this, context)) {
        if (item.checked) CheckMenuItem(menu, item.id, MF_BYCOMMAND | MF_CHECKED);
        if (item.greyed) EnableMenuItem(menu, item.id, MF_BYCOMMAND | MF_GRAYED);
    }
}

void AppState::OpenCommandMenu() {
    POINT point = {};
    GetCursorPos(&point);
    if (!atcursor || !PtInRect(&windowrect, point)) {
        point = {0, 0};
        ClientToScreen(mainwindow, &point);
    }
    ShowCommandMenu(point.x, point.y, 0);
}

void AppState::ShowCommandMenu(int x, int y, int position) {
    HWND window = mainwindow;
    UINT id = 0;
    {
        MenuHandle menu(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
        HMENU main = menu ? GetSubMenu(menu.get(), 0) : nullptr;
        if (main) ApplyMenuTexts(main);
        // While a sub-menu is pinned only that sub-menu is shown; position 0
        // holds none, so nothing shows and that counts as a dismissal.
        HMENU popup = main && pinnedsubmenu != -1 ? GetSubMenu(main, position) : main;
        if (popup) {
            UpdateMenuStates(popup);
            SetForegroundWindow(window);
            CloseGate::Hold modal(closegate);
            id = static_cast<UINT>(TrackPopupMenuEx(
                popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, window, nullptr));
        }
    }

    if (id == CMD_EXIT) {
        // Closing the window ends this state; nothing of it may be touched after.
        SendMessageW(window, WM_CLOSE, 0, 0);
    } else {
        PinOutcome outcome;
        if (id != 0) {
            SendMessageW(window, WM_COMMAND, id, 0);
            // The command may have opened a menu of its own in which Exit
            // was chosen: then this record is gone.
            if (TheAppState != this) return;
            outcome = AfterChosen({menupinned, pinnedsubmenu});
        } else {
            outcome = AfterDismissed({menupinned, pinnedsubmenu});
        }
        menupinned = outcome.pins.menupinned;
        pinnedsubmenu = outcome.pins.pinnedsubmenu;
        // Re-opened by a posted message, never by recursion.
        if (outcome.reopen != -1)
            PostMessageW(window, WM_REOPENMENU, EncodeMenuPoint(x, y), outcome.reopen);
    }
    TrimWorkingSet();
}
