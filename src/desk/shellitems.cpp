#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/application.h"
#include "app/appstate.h"
#include "shell/dragout.h"
#include "shell/shellmenu.h"
#include "shell/winefallback.h"

PathList AppState::ItemPaths(const std::vector<int>& items) {
    PathList paths;
    for (int index : items) {
        wchar_t path[kPathUnits];
        ItemPath(index, path);
        // Acting on part of what the user chose would be a surprise.
        if (path[0] == L'\0') return {};
        paths.push_back(path);
    }
    return paths;
}

void AppState::ItemContextMenu(int index) {
    if (index == -1) {
        // Empty space: the program's own command menu at the cursor.
        POINT cursor = {};
        GetCursorPos(&cursor);
        ShowCommandMenu(cursor.x, cursor.y, 0);
        return;
    }
    // The list selects a right-clicked item before it notifies, so the
    // selection already holds it.
    PathList paths = ItemPaths(SelectedItems());
    if (paths.empty()) return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    CloseGate::Hold modal(closegate);
    ShowShellContextMenu(paths, cursor, mainwindow);
}

void AppState::InvokeVerbOnItems(const char* verb) {
    bool paste = std::strcmp(verb, "paste") == 0;
    PathList paths;
    if (paste && deskpath[0] != L'\0')
        paths.push_back(deskpath); // into the desk folder itself, whatever is selected
    else if (std::strcmp(verb, "properties") == 0)
        paths = ItemPaths(SelectedItems());
    else
        paths = ItemPaths(TargetItems());
    if (paths.empty()) return;
    CloseGate::Hold modal(closegate);
    HRESULT result = InvokeShellVerb(paths, verb, mainwindow);
    if (!RunningOnWine()) return;
    // Wine's shell pastes nothing and does not mark a cut as one. On Windows
    // a failed or cancelled paste is the shell's to report, never redone.
    if (paste && FAILED(result)) PasteClipboardFiles(mainwindow, deskpath);
    if (std::strcmp(verb, "cut") == 0 && SUCCEEDED(result)) MarkClipboardAsCut(mainwindow);
}

bool AppState::ShowShellMenuAtFirstSelected() {
    int first = FirstSelectedItem();
    if (first < 0) return false;
    // An item scrolled out of view would put the pointer outside the list.
    SendMessageW(desklist, LVM_ENSUREVISIBLE, static_cast<WPARAM>(first), FALSE);
    RECT icon = {};
    icon.left = LVIR_ICON;
    SendMessageW(desklist, LVM_GETITEMRECT, static_cast<WPARAM>(first),
                 reinterpret_cast<LPARAM>(&icon));
    // The rectangle is in the list's coordinates.
    POINT corner = {icon.right, icon.bottom};
    ClientToScreen(desklist, &corner);
    SetCursorPos(corner.x, corner.y);
    ItemContextMenu(first);
    return true;
}

void AppState::DragSelectedItemsOut() {
    DWORD effect = DROPEFFECT_NONE;
    PathList paths = ItemPaths(SelectedItems());
    // Moved-away items leave the list through the folder watcher.
    draggedout = &paths;
    {
        // A close from outside cancels the drag and waits for its end.
        CloseGate::Hold modal(closegate);
        DragItemsOut(paths, mainwindow, &effect, closegate.WaitingFlag());
    }
    draggedout = nullptr;
}
