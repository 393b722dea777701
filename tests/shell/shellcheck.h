#pragma once
// What the shell made of the program's requests: the clipboard's files, and
// where Copy sits in the shell's menu.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/handles.h"
#include "shell/shellobject.h"

inline std::vector<std::wstring> ClipboardFiles() {
    ClipboardSession clipboard(nullptr);
    HANDLE drop = clipboard.ok() ? GetClipboardData(CF_HDROP) : nullptr;
    std::vector<std::wstring> files;
    UINT count = drop ? DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
        wchar_t path[MAX_PATH];
        DragQueryFileW(static_cast<HDROP>(drop), i, path, MAX_PATH);
        files.push_back(path);
    }
    return files;
}

// How many steps down the shell's menu for these items its Copy entry is.
inline int CopyEntrySteps(const PathList& paths) {
    ComPtr<IContextMenu> menu;
    if (!GetShellObject(paths, IID_IContextMenu, menu.putVoid())) return 0;
    MenuHandle popup(CreatePopupMenu());
    menu->QueryContextMenu(popup.get(), 0, 1, 30000, CMF_EXPLORE);
    for (int i = 0, steps = 0; i < GetMenuItemCount(popup.get()); ++i) {
        char verb[32] = "";
        UINT id = GetMenuItemID(popup.get(), i);
        if (id == UINT(-1) || id == 0) continue; // separators and sub-menus
        ++steps;
        if (SUCCEEDED(menu->GetCommandString(id - 1, GCS_VERBA, nullptr, verb, sizeof verb)) &&
            std::string(verb) == "copy")
            return steps;
    }
    return 0;
}
