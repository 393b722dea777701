#pragma once
// What the shell made of the program's requests.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "app/handles.h"
#include "shell/shellobject.h"

inline PathList ClipboardFiles() {
    ClipboardSession clipboard(nullptr);
    auto drop = static_cast<HDROP>(clipboard.ok() ? GetClipboardData(CF_HDROP) : nullptr);
    PathList files(drop ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0);
    wchar_t path[MAX_PATH];
    for (UINT i = 0; i < files.size(); ++i)
        files[i] = DragQueryFileW(drop, i, path, MAX_PATH) ? path : L"";
    return files;
}

// How many Down presses in the shell's menu for these items reach Copy; the
// keys stop on every item but a separator.
inline int CopyEntrySteps(const PathList& paths) {
    ComPtr<IContextMenu> menu;
    if (!GetShellObject(paths, IID_IContextMenu, menu.putVoid(), nullptr)) return 0;
    MenuHandle popup(CreatePopupMenu());
    menu->QueryContextMenu(popup.get(), 0, 1, 30000, CMF_EXPLORE);
    for (int i = 0, steps = 0; i < GetMenuItemCount(popup.get()); ++i) {
        if (GetMenuState(popup.get(), i, MF_BYPOSITION) & MF_SEPARATOR) continue;
        char verb[32] = "";
        UINT id = GetMenuItemID(popup.get(), i);
        if (id != UINT(-1)) menu->GetCommandString(id - 1, GCS_VERBA, nullptr, verb, sizeof verb);
        if (++steps, std::string(verb) == "copy") return steps;
    }
    return 0;
}
