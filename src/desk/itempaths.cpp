#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/itemnames.h"

bool AppState::ItemFileName(int index, wchar_t* name) {
    const wchar_t* listed = fill.ItemName(index);
    wchar_t label[kPathUnits];
    bool shortcut = ShortcutLabel(listed ? listed : L"", label, kPathUnits);
    // The name as the item is addressed: its label and ".lnk" for a shortcut.
    ItemFileNameFromLabel(label, shortcut, name, kPathUnits);
    return shortcut;
}

void AppState::ItemLabel(NMLVDISPINFOW* info) {
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0) return;
    const wchar_t* listed = fill.ItemName(info->item.iItem);
    wchar_t label[kPathUnits];
    ShortcutLabel(listed ? listed : L"", label, kPathUnits);
    // Shown, not addressed: a label may be cut to the asker's room.
    CopyTruncated(info->item.pszText, static_cast<size_t>(info->item.cchTextMax), label);
}

// Writes an empty path for an item that cannot be addressed, never the
// folder itself or a path cut short. The folder is the one the items were
// listed from, which a new desk folder replaces only with the next fill.
bool AppState::ItemPath(int index, wchar_t* path) {
    wchar_t name[kPathUnits];
    bool shortcut = ItemFileName(index, name);
    if (name[0] == L'\0' || !JoinPath(path, kPathUnits, fill.ListedFolder(), name)) path[0] = L'\0';
    return shortcut;
}
