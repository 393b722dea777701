// The built program handing its items to the shell's context menu, by mouse
// and by the App key.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

#include "settings/filebytes.h"
#include "shell/shellcheck.h"
#include "support/testsupport.h"

TEST(ShellProgram, ARightClickOrTheAppKeyShowsTheShellMenuOfTheSelectedItems) {
    TempFolder home, desk;
    for (const wchar_t* name : {L"a.txt", L"b.txt"})
        desk.file(name);
    ProgramRun run(home.path());
    HWND list = StartOnDesk(run, desk.path(), 2);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list);
    // In front of everything, so the clicks reach this list.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }, 5000));
    OpenClipboard(nullptr), EmptyClipboard(), CloseClipboard();
    auto select = [&](int index, UINT state) {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = state;
        SendRemote(list, run.processId(), LVM_SETITEMSTATE, index, item);
    };
    auto iconCentreAndCorner = [&](int index) {
        RECT icon = {LVIR_ICON, 0, 0, 0};
        SendRemote(list, run.processId(), LVM_GETITEMRECT, index, icon);
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&icon), 2);
        return std::pair{POINT{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2},
                         POINT{icon.right, icon.bottom}};
    };
    // The list's client area on the screen.
    auto client = [&] {
        RECT area = {};
        GetClientRect(list, &area);
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&area), 2);
        return area;
    };
    auto waitForMenu = [&] {
        HWND popup = WaitForTopLevelWindow(run.processId(), L"#32768");
        Sleep(300); // keys that arrive before the menu has taken the input are lost
        return popup;
    };

    // Copy chosen from the menu shows which items the menu was for.
    select(-1, LVIS_SELECTED);
    ClickAt(iconCentreAndCorner(1).first, 1, true);
    HWND popup = waitForMenu();
    ASSERT_NE(popup, nullptr);
    PathList items = {desk / L"a.txt", desk / L"b.txt"};
    for (int i = CopyEntrySteps(items); i > 0; --i)
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitFor([&] { return ClipboardFiles() == items; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(popup); }, 5000));

    // The App key first puts the pointer on the icon's corner.
    select(-1, 0);
    select(1, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_TRUE(MoveCursorTo({5, 5}));
    PostMessageW(list, WM_KEYDOWN, VK_APPS, 0);
    popup = waitForMenu();
    ASSERT_NE(popup, nullptr);
    POINT cursor = {}, corner = iconCentreAndCorner(1).second;
    EXPECT_TRUE(GetCursorPos(&cursor) && cursor.x == corner.x && cursor.y == corner.y);
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(popup); }, 5000));

    // An item scrolled out of view is brought into it first: the pointer
    // stays on the list.
    SetWindowPos(window, nullptr, 0, 0, 120, 120, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    RECT area = client();
    ASSERT_FALSE(PtInRect(&area, iconCentreAndCorner(1).second)) << "out of view";
    PostMessageW(list, WM_KEYDOWN, VK_APPS, 0);
    popup = waitForMenu();
    ASSERT_NE(popup, nullptr);
    area = client();
    EXPECT_TRUE(GetCursorPos(&cursor) && PtInRect(&area, cursor));
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(popup); }, 5000));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}
