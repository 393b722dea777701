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
    // A shortcut opens its target directly. One whose target cannot be read
    // is handed to the shell as the shortcut file itself, which resolves it
    // or reports it; never a bare name looked up in some other folder.
    wchar_t path[kPathUnits];
    if (!shortcut || !ShortcutTarget(itempath, path)) CopyText(path, itempath);

    wchar_t quoted[kPathUnits];
    bool fits = CopyText(quoted, L"\"") && AppendText(quoted, path) && AppendText(quoted, L"\"");
    if (OpensInFileManager(path, GetFileAttributesW(path)) && filemanager[0]) {
        if (fits) ShellExecuteW(mainwindow, L"open", filemanager, quoted, deskpath, SW_SHOWNORMAL);
        return;
    }
    // The file to act on is passed as it is: the shell takes lpFile as one
    // path and needs no quotes around it.
    ShellExecuteW(mainwindow, nullptr, path, nullptr, deskpath, SW_SHOWNORMAL);
}

void AppState::ViewWithTool(const wchar_t* itempath, const wchar_t* tool) {
    if (!tool[0] || !itempath[0]) return;
    wchar_t program[kPathUnits];
    wchar_t parameters[kPathUnits];
    if (!SplitToolCommand(tool, itempath, program, parameters, kPathUnits)) return;
    ShellExecuteW(mainwindow, L"open", program, parameters, deskpath, SW_SHOWNORMAL);
}
