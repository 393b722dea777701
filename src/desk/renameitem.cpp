#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/itemrules.h"

bool AppState::RenameItem(const wchar_t* label, bool shortcut) {
    // The new name must stay one name inside the folder the item was listed
    // from, and the new path must fit whole: a name is refused, never cut or
    // redirected. The finished name is checked, so a shortcut's label may
    // end in a dot.
    const wchar_t* source = namebox.SourcePath();
    if (!source[0] || !label[0]) return false;
    wchar_t name[kPathUnits];
    wchar_t path[kPathUnits];
    if (!CopyText(name, label) || (shortcut && !AppendText(name, L".lnk")) ||
        !IsPlainFileName(name) || !JoinPath(path, fill.ListedFolder(), name))
        return false;
    // Within one folder a rename never needs the copy-and-delete fallback
    // MoveFileW would allow.
    if (!MoveFileExW(source, path, 0)) return false;
    namebox.FollowUp(label, false, fill.ListedFolder(), fill.FillsBegun());
    return true;
}

int AppState::FindNamedItem(const wchar_t* name) {
    if (!name[0]) return -1;
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = name;
    return static_cast<int>(SendMessageW(desklist, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(&find)));
}

void AppState::EditFoundItem(const wchar_t* name) {
    int found = FindNamedItem(name);
    if (found == -1) return;
    MarkOnly(found);
    // The list view's start-of-edit notification records the source path.
    namebox.Shown(reinterpret_cast<HWND>(SendMessageW(desklist, LVM_EDITLABELW, found, 0)));
}

void AppState::SelectFoundItem(const wchar_t* name) {
    int found = FindNamedItem(name);
    if (found != -1) MarkOnly(found);
}
