#pragma once
// The files that the clipboard's CF_HDROP names, in its order.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/handles.h"

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
