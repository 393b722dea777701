// The built program handing its items to the shell's context menu, by mouse
// and by the App key. Disabled until NM_RCLICK reaches ItemContextMenu and
// command 1007 reaches ShowShellMenuAtFirstSelected; both pass once they do.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/handles.h"
#include "settings/filebytes.h"
#include "shell/shellobject.h"
#include "shell/shellcheck.h"
#include "support/testsupport.h"

namespace {

// Sends a list-view message whose structure lives in the program's memory.
template <typename T>
LRESULT SendRemote(HWND list, DWORD processId, UINT message, WPARAM wParam, T& data) {
    KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    void* remote =
        process ? VirtualAllocEx(process.get(), nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE)
                : nullptr;
    if (!remote) return 0;
    SIZE_T done = 0;
    WriteProcessMemory(process.get(), remote, &data, sizeof(T), &done);
    LRESULT result = SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process.get(), remote, &data, sizeof(T), &done);
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return result;
}

class ShellProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        desk_.file(L"a.txt");
        desk_.file(L"b.txt");
        std::wstring settings =
            L"[Portable]\r\nfolder=" + desk_.path() + L"\r\n[Settings]\r\nsavesettings=FALSE\r\n";
        ASSERT_TRUE(WriteUtf16(home_ / L"tarvo.ini", settings));
        ASSERT_TRUE(run_.start(L""));
        window_ = run_.waitForMainWindow();
        ASSERT_NE(window_, nullptr);
        list_ = FindWindowExW(window_, nullptr, L"SysListView32", nullptr);
        ASSERT_TRUE(WaitFor([&] { return SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) == 2; }));
        // In front of everything, so the clicks reach this list.
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window_);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 5000));
        OpenClipboard(nullptr), EmptyClipboard(), CloseClipboard();
    }
    void TearDown() override {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(run_.waitForExit(), 0u);
    }
    void select(int index) {
        LVITEMW item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendRemote(list_, run_.processId(), LVM_SETITEMSTATE, index, item);
    }
    RECT iconOnScreen(int index) {
        RECT icon = {LVIR_ICON, 0, 0, 0};
        SendRemote(list_, run_.processId(), LVM_GETITEMRECT, index, icon);
        MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&icon), 2);
        return icon;
    }
    HWND waitForMenu() {
        HWND popup = nullptr;
        WaitFor(
            [&] { return (popup = FindTopLevelWindow(run_.processId(), L"#32768")) != nullptr; });
        // Keys that arrive before the menu has taken the input are lost.
        if (popup) Sleep(300);
        return popup;
    }

    TempFolder home_, desk_;
    ProgramRun run_{home_.path()};
    HWND window_ = nullptr, list_ = nullptr;
};

} // namespace

// Copy chosen from the menu shows which items the menu was for.
TEST_F(ShellProgram, ARightClickOnAnItemShowsTheShellMenuOfTheSelectedItems) {
    select(0);
    select(1);
    RECT icon = iconOnScreen(1);
    SetForegroundWindow(window_);
    ASSERT_TRUE(MoveCursorTo({(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}));
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, clicks, sizeof(INPUT));
    HWND popup = waitForMenu();
    ASSERT_NE(popup, nullptr);
    PathList items = {desk_ / L"a.txt", desk_ / L"b.txt"};
    for (int i = CopyEntrySteps(items); i > 0; --i)
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([&] { return ClipboardFiles() == items; }, 5000));
}

TEST_F(ShellProgram, TheAppKeyMovesThePointerToTheIconCornerBeforeTheMenuOpens) {
    select(1);
    ASSERT_TRUE(MoveCursorTo({5, 5}));
    PostMessageW(list_, WM_KEYDOWN, VK_APPS, 0);
    HWND popup = waitForMenu();
    ASSERT_NE(popup, nullptr);
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT icon = iconOnScreen(1);
    EXPECT_EQ(cursor.x, icon.right);
    EXPECT_EQ(cursor.y, icon.bottom);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(popup); }, 5000));
}
