// Commands on the real main window in this process: the accelerator table,
// recycle and delete, the command menu with its pins, Save on Exit.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/text.h"
#include "commands/pins.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

class Commands : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(windows_.window(), nullptr);
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
        CopyText(state_->inipath, windows_.settingsPath().c_str());
    }
    void showDesk(std::initializer_list<const wchar_t*> files) {
        for (const wchar_t* name : files)
            desk_.file(name);
        CopyText(state_->deskpath, desk_.path().c_str());
        state_->RefreshDeskList();
    }
    bool exists(const wchar_t* name) const {
        return GetFileAttributesW((desk_ / name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    MainWindowTest windows_;
    TempFolder desk_;
    AppState* state_ = nullptr;
};

// The visible windows of a class that belong to this process.
std::vector<HWND> OwnWindows(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        std::vector<HWND> found;
    } search = {className, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            wchar_t name[64] = L"";
            GetClassNameW(window, name, 64);
            if (pid == GetCurrentProcessId() && IsWindowVisible(window) &&
                std::wstring(name) == s->className)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForOwnWindow(const wchar_t* className, DWORD timeoutMs = 10000) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        std::vector<HWND> found = OwnWindows(className);
        if (!found.empty()) return found.front();
        Sleep(20);
    }
    return nullptr;
}

} // namespace

TEST_F(Commands, EveryAcceleratorYieldsItsCommandAlsoWhileALabelIsEdited) {
    showDesk({L"a.txt"});
    ListView_SetItemState(state_->desklist, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    state_->RunCommand(CMD_RENAME);
    ASSERT_NE(state_->editwindow, nullptr) << "F2 edits the focused item when none is selected";
    EXPECT_EQ(std::wstring(state_->editpath), desk_ / L"a.txt");
    SetFocus(state_->editwindow);

    // The commands go to a window of the test's own, not to the program.
    static std::vector<int> received;
    WNDCLASSW recorderClass = {};
    recorderClass.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_COMMAND) received.push_back(LOWORD(wp));
        return DefWindowProcW(w, m, wp, lp);
    };
    recorderClass.hInstance = GetModuleHandleW(nullptr);
    recorderClass.lpszClassName = L"AcceleratorRecorder";
    RegisterClassW(&recorderClass);
    HWND recorder = CreateWindowW(L"AcceleratorRecorder", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    HACCEL table = LoadAcceleratorsW(Application.instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr);

    enum Mod { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
    struct Key {
        int mods;
        UINT key; // a virtual key, or the character for WM_CHAR
        int command;
        bool character = false;
    };
    const Key keys[] = {
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
        {None, VK_F10, 1026},     {None, VK_F12, 1006},      {None, '?', 1103, true},
        {Ctrl, VK_HOME, 1061},    {Ctrl, VK_END, 1062},      {None, VK_ESCAPE, 1105},
        {None, VK_HELP, 1101},
    };
    for (const Key& key : keys) {
        BYTE state[256] = {};
        if (key.mods & Shift) state[VK_SHIFT] = 0x80;
        if (key.mods & Ctrl) state[VK_CONTROL] = 0x80;
        if (key.mods & Alt) state[VK_MENU] = 0x80;
        SetKeyboardState(state);
        MSG msg = {};
        msg.hwnd = state_->editwindow;
        msg.message = key.character ? WM_CHAR : (key.mods & Alt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        msg.wParam = key.key;
        msg.lParam = (key.mods & Alt) ? 0x20000001 : 1;
        received.clear();
        EXPECT_TRUE(TranslateAcceleratorW(recorder, table, &msg)) << "key " << key.key;
        EXPECT_EQ(received, std::vector<int>{key.command})
            << "key " << key.key << " mods " << key.mods;
    }
    BYTE released[256] = {};
    SetKeyboardState(released);
    DestroyWindow(recorder);
    // Del while a name is being edited must not delete anything (a shell
    // confirmation would hold this test up).
    state_->RunCommand(CMD_DELETE);
    EXPECT_TRUE(exists(L"a.txt"));
    state_->RunCommand(CMD_EXIT);
    EXPECT_EQ(state_->editwindow, nullptr);
    EXPECT_TRUE(IsWindow(windows_.window())) << "Esc while editing only abandons the edit";
}

TEST_F(Commands, TheMenuChoosesDismissesAndReopensAPinnedSubMenuAlone) {
    // What each showing of the menu looked like, seen from another thread.
    struct Seen {
        RECT rect;
        UINT firstId;
        bool pinChecked;
    };
    std::vector<Seen> seen;
    std::atomic<bool> done{false};
    // Chooses "Large Icons" in the first showing, dismisses the next two.
    std::thread user([&] {
        for (int showing = 0; showing < 3 && !done; ++showing) {
            HWND menuWindow = WaitForOwnWindow(L"#32768");
            if (!menuWindow) return;
            Sleep(100);
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            Seen s = {};
            GetWindowRect(menuWindow, &s.rect);
            s.firstId = GetMenuItemID(menu, 0);
            s.pinChecked = (GetMenuState(menu, s.firstId, MF_BYCOMMAND) & MF_CHECKED) != 0;
            seen.push_back(s);
            if (showing == 0) {
                int count = GetMenuItemCount(menu), position = 0;
                while (position < count && GetMenuItemID(menu, position) != CMD_LARGE_ICONS)
                    ++position;
                RECT item = {};
                GetMenuItemRect(nullptr, menu, position, &item);
                MoveCursorTo({(item.left + item.right) / 2, (item.top + item.bottom) / 2});
                Sleep(50);
                INPUT clicks[2] = {};
                clicks[0].type = clicks[1].type = INPUT_MOUSE;
                clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
                clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
                SendInput(2, clicks, sizeof(INPUT));
            } else {
                INPUT keys[2] = {};
                keys[0].type = keys[1].type = INPUT_KEYBOARD;
                keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
                keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
                SendInput(2, keys, sizeof(INPUT));
            }
            for (int i = 0; i < 250 && IsWindowVisible(menuWindow); ++i)
                Sleep(20);
        }
    });

    state_->iconstyle = 1;
    state_->ApplyIconStyle();
    state_->menupinned = true;
    state_->pinnedsubmenu = 26;
    state_->ShowCommandMenu(200, 150, 26);
    EXPECT_EQ(state_->iconstyle, 0) << "Large Icons was chosen";
    MSG reopen = {};
    ASSERT_TRUE(PeekMessageW(&reopen, windows_.window(), WM_REOPENMENU, WM_REOPENMENU, PM_REMOVE));
    EXPECT_EQ(reopen.lParam, 26) << "the pinned Desk sub-menu re-opens alone";
    POINT at = DecodeMenuPoint(reopen.wParam);
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(at.y, 150);
    DispatchMessageW(&reopen); // shown again, then dismissed
    EXPECT_EQ(state_->pinnedsubmenu, -1);
    EXPECT_TRUE(state_->menupinned);
    ASSERT_TRUE(PeekMessageW(&reopen, windows_.window(), WM_REOPENMENU, WM_REOPENMENU, PM_REMOVE));
    EXPECT_EQ(reopen.lParam, 0) << "dismissing the sub-menu falls back to the pinned main popup";
    DispatchMessageW(&reopen); // the main popup, dismissed
    EXPECT_FALSE(state_->menupinned);
    EXPECT_FALSE(PeekMessageW(&reopen, windows_.window(), WM_REOPENMENU, WM_REOPENMENU, PM_REMOVE));
    done = true;
    user.join();

    ASSERT_EQ(seen.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(seen[i].firstId, static_cast<UINT>(CMD_PIN_DESK)) << i;
        EXPECT_TRUE(seen[i].pinChecked) << i;
        EXPECT_EQ(seen[i].rect.left, 200) << i;
        EXPECT_EQ(seen[i].rect.top, 150) << i;
    }
    EXPECT_EQ(seen[2].firstId, static_cast<UINT>(CMD_PIN_MAIN));
    EXPECT_TRUE(seen[2].pinChecked);
}

TEST_F(Commands, SaveOnExitTurnedOffIsWrittenAtOnceAndNothingAfter) {
    std::wstring file = windows_.settingsPath();
    state_->RunCommand(CMD_SAVE_ON_EXIT);
    EXPECT_FALSE(state_->savesettings);
    std::wstring text = ReadUtf16(file);
    EXPECT_NE(text.find(L"savesettings=FALSE"), std::wstring::npos) << "written when turned off";
    state_->RunCommand(CMD_SORT_BY_NAME);
    windows_.close();
    EXPECT_EQ(ReadUtf16(file), text) << "the exit writes nothing once it is off";
}
