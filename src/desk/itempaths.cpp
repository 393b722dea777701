#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/itemnames.h"

bool AppState::ItemFileName(int index, wchar_t* name) {
    wchar_t label[kPathUnits] = L"";
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = label;
    item.cchTextMax = kPathUnits;
    if (!SendMessageW(desklist, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) label[0] = 0;
    bool shortcut = item.lParam == 1;
    ItemFileNameFromLabel(label, shortcut, name, kPathUnits);
    return shortcut;
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
