#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/itemnames.h"

LRESULT AppState::OnListNotify(NMHDR* header) {
    switch (header->code) {
    case NM_DBLCLK: OpenItemAtCursor(); return 0;
    case NM_RCLICK: ItemContextMenu(HitItemAtCursor()); return 0;
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: DragSelectedItemsOut(); return 0;
    case LVN_BEGINLABELEDITW: return BeginLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(header));
    case LVN_ENDLABELEDITW: return EndLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(header));
    case LVN_GETDISPINFOW: ItemLabel(reinterpret_cast<NMLVDISPINFOW*>(header)); return 0;
    // Emptying the list needs no word per item.
    case LVN_DELETEALLITEMS: return TRUE;
    case LVN_DELETEITEM: fill.Deleted(reinterpret_cast<NMLISTVIEW*>(header)->iItem); return 0;
    default: return 0;
    }
}

int AppState::HitItemAtCursor() {
    // Where the cursor is now, not where the notification says it was.
    LVHITTESTINFO hit = {};
    GetCursorPos(&hit.pt);
    ScreenToClient(desklist, &hit.pt);
    hit.flags = LVHT_ONITEM;
    return static_cast<int>(SendMessageW(desklist, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void AppState::OpenItemAtCursor() {
    int hit = HitItemAtCursor();
    if (hit != -1) OpenItem(hit);
}

// Every edit, also one the list view starts by itself on a slow second click,
// records here the file it renames and the edit box, so that Enter and Esc
// act on it and no earlier edit's source is ever used. An item that cannot
// be addressed is not edited at all (a nonzero result refuses the edit).
LRESULT AppState::BeginLabelEdit(NMLVDISPINFOW* info) {
    wchar_t path[kPathUnits];
    ItemPath(info->item.iItem, path);
    if (!namebox.Source(path)) return TRUE;
    namebox.Shown(reinterpret_cast<HWND>(SendMessageW(desklist, LVM_GETEDITCONTROL, 0, 0)));
    return FALSE;
}

// A nonzero result keeps the edited text as the label; zero puts the old one
// back. The source is taken at the start of the edit; whether it is a
// shortcut follows from that path, which is the file actually renamed.
LRESULT AppState::EndLabelEdit(NMLVDISPINFOW* info) {
    bool commit = namebox.Ended() && info->item.pszText;
    bool shortcut = HasShortcutExtension(namebox.SourcePath());
    LRESULT renamed = commit && RenameItem(info->item.pszText, shortcut);
    // The item shows its new name until the refresh lists it.
    wchar_t name[kPathUnits];
    if (renamed && ItemFileNameFromLabel(info->item.pszText, shortcut, name, kPathUnits))
        fill.Renamed(info->item.iItem, name);
    namebox.Forget();
    // A refresh held up by the edit follows it, and finds a new name.
    ResumeWantedRefresh();
    return renamed;
}
