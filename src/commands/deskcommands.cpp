// The commands whose work is done here rather than by another part of the
// program: recycle and delete, launching tools in the desk folder, the desk
// folder's property sheet, help, and the small switches.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/text.h"
#include "desk/itemrules.h"
#include "shell/shellobject.h"

void AppState::ExitCommand() {
    // Esc while a label is being edited abandons the edit, nothing more.
    if (namebox.Box()) {
        namebox.Close(false);
    } else {
        SendMessageW(mainwindow, WM_CLOSE, 0, 0);
    }
}

void AppState::OpenTargets() {
    // Enter while a label is being edited commits the new name.
    if (namebox.Box()) {
        namebox.Close(true);
        return;
    }
    // The shell may show its own boxes while it starts an item.
    CloseGate::Hold modal(closegate);
    for (const auto& [path, shortcut] : TargetFiles())
        OpenItemFile(path.c_str(), shortcut);
}

void AppState::StartRename() {
    std::vector<int> targets = TargetItems();
    if (targets.empty()) return;
    wchar_t path[kPathUnits];
    ItemPath(targets.front(), path);
    // An item whose path does not fit could never be renamed.
    if (path[0] == L'\0') return;
    namebox.Source(path);
    SetFocus(desklist);
    namebox.Shown(
        reinterpret_cast<HWND>(SendMessageW(desklist, LVM_EDITLABELW, targets.front(), 0)));
}

void AppState::ViewTargets(const wchar_t* tool, int dialogCommand, int ownCommand) {
    if (tool[0] != L'\0') {
        CloseGate::Hold modal(closegate);
        for (const auto& [path, shortcut] : TargetFiles())
            ViewWithTool(path.c_str(), tool);
        return;
    }
    // No tool yet: ask for one, and run again once there is one.
    HWND window = mainwindow;
    SendMessageW(window, WM_COMMAND, dialogCommand, 0);
    if (tool[0] != L'\0') PostMessageW(window, WM_COMMAND, ownCommand, 0);
}

void AppState::RecycleTargets() {
    // Del pressed while renaming must not delete files.
    if (namebox.Box()) return;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    std::wstring list = DoubleZeroPathList(ItemPaths(TargetItems()));
    SHFILEOPSTRUCTW operation = {};
    // Its confirmation and progress belong to the window, which waits for them.
    operation.hwnd = mainwindow;
    operation.wFunc = FO_DELETE;
    operation.pFrom = list.c_str();
    operation.fFlags = shift ? 0 : FOF_ALLOWUNDO;
    // The shell asks and reports for itself; the folder watcher shows the result.
    CloseGate::Hold modal(closegate);
    SHFileOperationW(&operation);
}

void AppState::SelectAll() {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(desklist, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
}

void AppState::LaunchInDesk(const wchar_t* tool, const wchar_t* fallback, bool folderParameter) {
    // Without a desk folder there is nowhere to start in.
    if (deskpath[0] == L'\0') return;
    // Options on the tool line go to the tool, in front of the folder.
    ToolCall call;
    if (!SplitToolCommand(tool[0] != L'\0' ? tool : fallback, folderParameter ? deskpath : nullptr,
                          call))
        return;
    ShellExecuteW(mainwindow, L"open", call.program, call.parameters[0] ? call.parameters : nullptr,
                  deskpath, SW_SHOWNORMAL);
}

void AppState::SetKeptItem(wchar_t* kept) {
    int first = FirstSelectedItem();
    if (first == -1) {
        std::fill(kept, kept + kPathUnits, L'\0');
    } else {
        ItemFileName(first, kept);
    }
    RefreshDeskList();
}

void AppState::ShowDeskProperties() {
    if (deskpath[0] == L'\0') return;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST;
    info.hwnd = mainwindow;
    info.lpVerb = L"properties";
    info.lpFile = deskpath;
    info.nShow = SW_SHOW;
    ShellExecuteExW(&info);
}

void AppState::OpenHelp() {
    // Without a folder of its own the program has no help file to open.
    if (helppath[0] == L'\0') return;
    ShellExecuteW(mainwindow, L"open", helppath, nullptr, nullptr, SW_SHOWNORMAL);
}

void AppState::ToggleSaveOnExit() {
    savesettings = !savesettings;
    // The exit writes nothing once this is off, so the file learns it now;
    // otherwise the next start would find it on again.
    if (!savesettings) SaveSettings();
}

void AppState::ChangeDeskFolder() {
    if (stopevent) SetEvent(stopevent);
    if (ChooseDeskFolder()) desktopstandsin = false;
    if (deskpath[0] == L'\0') UseDesktopFolder();
    DeskFolderChanged();
    RefreshDeskList();
}

void AppState::ShowShellMenuCommand() {
    if (!ShowShellMenuAtFirstSelected()) OpenCommandMenu();
}
