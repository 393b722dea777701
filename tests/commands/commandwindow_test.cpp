// Commands on the real main window in this process: the accelerators while a
// name is edited, the command menu with its pins, Save on Exit.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "app/program.h"
#include "commands/pins.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(Commands, EveryAcceleratorYieldsItsCommandButInTheNameBoxOnlyEnterAndEsc) {
    MainWindowTest windows;
    TempFolder desk;
    desk.file(L"a.txt");
    AppState& state = *TheAppState;
    CopyText(state.inipath, windows.settingsPath().c_str());
    CopyText(state.deskpath, desk.path().c_str());
    state.RefreshDeskList();
    ListView_SetItemState(state.desklist, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    state.RunCommand(CMD_RENAME);
    ASSERT_NE(state.namebox.Box(), nullptr) << "F2 edits the focused item when none is selected";
    SetFocus(state.namebox.Box());
    EXPECT_FALSE(IsLabelEditBox(windows.window(), state.desklist));

    // The commands go to a window of the test's own, not to the program.
    static std::vector<int> received;
    WindowHandle target(
        CreateWindowW(L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(target.get(), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND, UINT m, WPARAM wp, LPARAM) -> LRESULT {
                          if (m == WM_COMMAND) received.push_back(LOWORD(wp));
                          return 0;
                      }));
    HACCEL table = LoadAcceleratorsW(Application.instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);

    enum Mod { None = 0, Shift = 1, Ctrl = 2, Alt = 4, Char = 8 };
    const struct {
        int mods;
        UINT key; // a virtual key, or with Char the character of a WM_CHAR
        int command;
    } keys[] = {
        {Shift, '1', 1035},       {Shift, '2', 1036},        {Ctrl, 'A', 1024},
        {Ctrl, 'B', 1033},        {Ctrl, 'C', 1014},         {Ctrl, 'D', 1064},
        {Ctrl, 'E', 1055},        {Ctrl, 'F', 1056},         {Ctrl, 'H', 1063},
        {Ctrl, 'I', 1052},        {Ctrl | Shift, 'I', 1051}, {Alt, 'I', 1037},
        {Ctrl, 'K', 1032},        {Ctrl, 'L', 1053},         {Ctrl, 'N', 1054},
        {Alt, 'T', 1038},         {Ctrl, 'T', 1034},         {Ctrl, 'V', 1015},
        {Ctrl, 'X', 1013},        {None, VK_RETURN, 1001},   {None, VK_DELETE, 1012},
        {Shift, VK_DELETE, 1012}, {None, VK_APPS, 1007},     {None, VK_INSERT, 1031},
        {None, VK_F1, 1101},      {None, VK_F2, 1002},       {None, VK_F3, 1003},
        {None, VK_F4, 1004},      {None, VK_F5, 1023},       {None, VK_F6, 1005},
        {None, VK_F7, 1021},      {None, VK_F8, 1022},       {None, VK_F9, 1025},
        {None, VK_F10, 1026},     {None, VK_F12, 1006},      {Char, '?', 1103},
        {Ctrl, VK_HOME, 1061},    {Ctrl, VK_END, 1062},      {None, VK_ESCAPE, 1105},
        {None, VK_HELP, 1101},
    };
    for (const auto& key : keys) {
        BYTE pressed[256] = {};
        pressed[VK_SHIFT] = (key.mods & Shift) ? 0x80 : 0;
        pressed[VK_CONTROL] = (key.mods & Ctrl) ? 0x80 : 0;
        pressed[VK_MENU] = (key.mods & Alt) ? 0x80 : 0;
        SetKeyboardState(pressed);
        MSG msg = {};
        msg.hwnd = state.namebox.Box();
        msg.message = (key.mods & Char) ? WM_CHAR : (key.mods & Alt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        msg.wParam = key.key;
        msg.lParam = (key.mods & Alt) ? 0x20000001 : 1;
        received.clear();
        TranslateAcceleratorW(target.get(), table, &msg);
        EXPECT_EQ(received, std::vector<int>{key.command}) << key.key << " mods " << key.mods;
        // In the name box only Enter and Esc are commands.
        EXPECT_EQ(KeyMayBeCommand(msg, IsLabelEditBox(windows.window(), msg.hwnd)),
                  key.command == CMD_OPEN || key.command == CMD_EXIT);
    }
    BYTE released[256] = {};
    SetKeyboardState(released);
    // Del while a name is edited deletes nothing (a shell confirmation would
    // hold this test up); Esc only abandons the edit.
    state.RunCommand(CMD_DELETE);
    EXPECT_NE(GetFileAttributesW((desk / L"a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    state.RunCommand(CMD_EXIT);
    EXPECT_EQ(state.namebox.Box(), nullptr);
    EXPECT_TRUE(IsWindow(windows.window()));
}

// Shows the pinned Desk sub-menu; another thread, as the user, chooses "Large
// Icons" in it and dismisses the next two showings.
TEST(Commands, TheMenuChoosesDismissesAndReopensAPinnedSubMenuAlone) {
    MainWindowTest windows;
    AppState& state = *TheAppState;
    int showings = 0;
    std::thread user([&] {
        for (; showings < 3; ++showings) {
            HWND popup = WaitForTopLevelWindow(GetCurrentProcessId(), L"#32768");
            if (!popup) return;
            Sleep(100);
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            RECT at = {};
            EXPECT_TRUE(GetWindowRect(popup, &at) && at.left == 200 && at.top == 150) << showings;
            EXPECT_EQ(GetMenuItemID(menu, 0), UINT(showings < 2 ? CMD_PIN_DESK : CMD_PIN_MAIN));
            EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED) << "pinned";
            // The first Down selects the first item; separators are skipped.
            for (int i = 0; showings == 0 && i < GetMenuItemCount(menu) &&
                            GetMenuItemID(menu, i - 1) != CMD_LARGE_ICONS;
                 ++i)
                if (!(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR))
                    PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(popup, WM_KEYDOWN, showings == 0 ? VK_RETURN : VK_ESCAPE, 0);
            WaitFor([&] { return !IsWindowVisible(popup); }, 5000);
        }
    });
    state.iconstyle = 1;
    state.ApplyIconStyle();
    state.menupinned = true;
    state.pinnedsubmenu = 26;
    state.ShowCommandMenu(200, 150, 26);
    EXPECT_EQ(state.iconstyle, 0) << "Large Icons was chosen";
    MSG reopen = {};
    auto next = [&] {
        return PeekMessageW(&reopen, windows.window(), WM_REOPENMENU, WM_REOPENMENU, PM_REMOVE);
    };
    ASSERT_TRUE(next());
    EXPECT_EQ(reopen.lParam, 26) << "the pinned Desk sub-menu re-opens alone";
    DispatchMessageW(&reopen); // shown again, then dismissed
    EXPECT_EQ(state.pinnedsubmenu, -1);
    ASSERT_TRUE(next());
    EXPECT_EQ(reopen.lParam, 0) << "dismissing the sub-menu falls back to the pinned main popup";
    DispatchMessageW(&reopen); // the main popup, dismissed
    EXPECT_FALSE(state.menupinned);
    EXPECT_FALSE(next());
    user.join();
    EXPECT_EQ(showings, 3);
    // The main popup asked for while a sub-menu is pinned shows nothing.
    state.menupinned = true;
    state.pinnedsubmenu = 26;
    state.ShowCommandMenu(200, 150, 0);
    EXPECT_TRUE(state.pinnedsubmenu == -1 && next() && reopen.lParam == 0);
}

TEST(Commands, SaveOnExitTurnedOffIsWrittenAtOnceAndNothingAfter) {
    MainWindowTest windows;
    AppState& state = *TheAppState;
    std::wstring file = windows.settingsPath();
    CopyText(state.inipath, file.c_str());
    state.RunCommand(CMD_SAVE_ON_EXIT);
    std::wstring text = ReadUtf16(file);
    EXPECT_NE(text.find(L"savesettings=FALSE"), std::wstring::npos);
    state.RunCommand(CMD_SORT_BY_NAME);
    windows.close();
    EXPECT_EQ(ReadUtf16(file), text) << "the exit writes nothing once it is off";
}

// A close from another program waits for the command menu's or the drag's
// loop to return, so that the loop's caller still finds its record.
TEST(Commands, ACloseFromOutsideDuringTheMenuOrADragEndsTheProgramAfterIt) {
    auto button = [](DWORD flags) {
        INPUT input = {INPUT_MOUSE, {}};
        input.mi.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    };
    for (bool drag : {false, true}) {
        SCOPED_TRACE(drag ? "drag out" : "command menu");
        MainWindowTest windows;
        TempFolder desk;
        desk.file(L"a.txt");
        AppState& state = *TheAppState;
        HWND window = windows.window();
        std::wstring settings = windows.settingsPath();
        CopyText(state.inipath, settings.c_str());
        CopyText(state.deskpath, desk.path().c_str());
        state.RefreshDeskList();
        ListView_SetItemState(state.desklist, 0, LVIS_SELECTED, LVIS_SELECTED);
        // The button held down on a window of this thread keeps a drag going.
        WindowHandle pad(CreateWindowExW(WS_EX_TOPMOST, L"Static", L"", WS_POPUP | WS_VISIBLE, 800,
                                         600, 200, 150, nullptr, nullptr, nullptr, nullptr));
        MoveCursorTo({900, 675});
        if (drag) button(MOUSEEVENTF_LEFTDOWN);
        ASSERT_TRUE(WaitFor([&] { return (GetKeyState(VK_LBUTTON) < 0) == drag; }, 3000));
        std::thread outside([&] {
            Sleep(500);
            PostMessageW(window, WM_CLOSE, 0, 0);
            Sleep(2000);
            if (drag) button(MOUSEEVENTF_LEFTUP);
        });
        state.menupinned = true; // the dismissal then writes the pins
        drag ? state.DragSelectedItemsOut() : state.ShowCommandMenu(200, 150, 0);
        outside.join();
        EXPECT_TRUE(IsWindow(window) && TheAppState == &state && !PathExists(settings));
        MSG close = {}, quit = {};
        EXPECT_TRUE(PeekMessageW(&close, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "carried out";
        DispatchMessageW(&close);
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 0);
        EXPECT_TRUE(!IsWindow(window) && PathExists(settings)) << "saved on the way out";
    }
}
