#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "app/appstate.h"
#include "desk/itemrules.h"
#include "shell/shortcutfile.h"

namespace {

// The path a shortcut stands for, or false when its target cannot be read, is
// no file-system path (a shell-only target) or fills the whole buffer, where
// it may have been cut to the name of some other file.
bool ShortcutTarget(const wchar_t* shortcutPath, wchar_t* target) {
    target[0] = L'\0';
    ShortcutFile shortcut;
    if (FAILED(shortcut.Open())) return false;
    return shortcut.ReadTarget(shortcutPath, target) && target[0] != L'\0' &&
           std::wcslen(target) < kPathUnits - 1;
}

} // namespace

void AppState::OpenItem(int index) {
    wchar_t itempath[kPathUnits];
    bool shortcut = ItemPath(index, itempath);
    if (itempath[0]) OpenItemFile(itempath, shortcut);
}

void AppState::OpenItemFile(const wchar_t* itempath, bool shortcut) {
    // A shortcut to a folder or ".zip" file opens its target in the file
    // manager. Any other shortcut, and one whose target cannot be read or is
    // gone, is handed to the shell as the shortcut file itself: the shell
    // starts it with the arguments, working folder, window state and rights
    // the shortcut holds, or reports it broken.
    wchar_t target[kPathUnits];
    const wchar_t* path = itempath;
    bool toFileManager;
    if (shortcut) {
        toFileManager = ShortcutTarget(itempath, target) &&
                        OpensInFileManager(target, GetFileAttributesW(target), true);
        if (toFileManager) path = target;
    } else {
        toFileManager = OpensInFileManager(path, GetFileAttributesW(path), false);
    }
    if (toFileManager && filemanager[0]) {
        ToolCall call;
        if (SplitToolCommand(filemanager, path, call))
            ShellExecuteW(mainwindow, L"open", call.program, call.parameters, deskpath,
                          SW_SHOWNORMAL);
        return;
    }
    // The file to act on is passed as it is: the shell takes lpFile as one
    // path and needs no quotes around it.
    ShellExecuteW(mainwindow, nullptr, path, nullptr, deskpath, SW_SHOWNORMAL);
}

void AppState::ViewWithTool(const wchar_t* itempath, const wchar_t* tool) {
    if (!tool[0] || !itempath[0]) return;
    ToolCall call;
    if (SplitToolCommand(tool, itempath, call))
        ShellExecuteW(mainwindow, L"open", call.program, call.parameters, deskpath, SW_SHOWNORMAL);
}
