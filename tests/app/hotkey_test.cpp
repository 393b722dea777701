// The desk key: its text, and the built program answering it.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "app/handles.h"
#include "app/hotkey.h"
#include "commands/commandids.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(HotKeyText, NamesModifiersAndOneKeyOrNothing) {
    const struct {
        const wchar_t* text;
        std::optional<HotKey> expected;
    } cases[] = {
        {L"Ctrl+Alt+D", HotKey{MOD_CONTROL | MOD_ALT, 'D'}},
        {L"Win+Shift+F12", HotKey{MOD_WIN | MOD_SHIFT, VK_F12}},
        {L"ctrl+ALT+d", HotKey{MOD_CONTROL | MOD_ALT, 'D'}},
        {L"Alt+Ctrl+D", HotKey{MOD_CONTROL | MOD_ALT, 'D'}},
        {L" Ctrl +\tAlt+ pageup ", HotKey{MOD_CONTROL | MOD_ALT, VK_PRIOR}},
        {L"Ctrl+Alt+Shift+Win+0", HotKey{MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_WIN, '0'}},
        {L"Shift+f1", HotKey{MOD_SHIFT, VK_F1}},
        {L"Shift+F24", HotKey{MOD_SHIFT, VK_F24}},
        {L"", std::nullopt},
        {L"D", std::nullopt}, // no modifier
        {L"F5", std::nullopt},
        {L"Ctrl", std::nullopt}, // a modifier alone
        {L"Ctrl+Alt", std::nullopt},
        {L"Ctrl+Ctrl+D", std::nullopt}, // a modifier twice
        {L"ctrl+CTRL+D", std::nullopt},
        {L"Ctrl+A+B", std::nullopt}, // two keys
        {L"D+Ctrl", std::nullopt},   // the key first
        {L"Ctrl+Esc", std::nullopt}, // unknown names
        {L"Control+D", std::nullopt},
        {L"Ctrl+DD", std::nullopt},
        {L"Ctrl+\u00C4", std::nullopt},
        {L"Ctrl+F0", std::nullopt},
        {L"Ctrl+F25", std::nullopt},
        {L"Ctrl+F01", std::nullopt},
        {L"Ctrl+Page Up", std::nullopt},
        {L"Ctrl++D", std::nullopt}, // empty parts
        {L"Ctrl+", std::nullopt},
        {L"+D", std::nullopt},
        {L"Ctrl+ +D", std::nullopt},
        {L"Ctrl-Alt-D", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHotKey(c.text), c.expected) << std::wstring(c.text);

    // Every key by its name, as written and in lower case.
    const std::pair<std::wstring, UINT> named[] = {
        {L"Space", VK_SPACE},   {L"Home", VK_HOME},     {L"End", VK_END},
        {L"Insert", VK_INSERT}, {L"Delete", VK_DELETE}, {L"PageUp", VK_PRIOR},
        {L"PageDown", VK_NEXT}, {L"Up", VK_UP},         {L"Down", VK_DOWN},
        {L"Left", VK_LEFT},     {L"Right", VK_RIGHT},   {L"Pause", VK_PAUSE}};
    std::vector<std::pair<std::wstring, UINT>> keys(std::begin(named), std::end(named));
    for (wchar_t c = L'A'; c <= L'Z'; ++c)
        keys.push_back({std::wstring(1, c), c});
    for (wchar_t c = L'0'; c <= L'9'; ++c)
        keys.push_back({std::wstring(1, c), c});
    for (UINT n = 1; n <= 24; ++n)
        keys.push_back({L"F" + std::to_wstring(n), VK_F1 + n - 1});
    for (auto [name, key] : keys) {
        std::wstring lower = name;
        for (wchar_t& c : lower)
            c = static_cast<wchar_t>(towlower(c));
        EXPECT_EQ(ParseHotKey((L"Win+" + name).c_str()), (HotKey{MOD_WIN, key})) << name;
        EXPECT_EQ(ParseHotKey((L"Win+" + lower).c_str()), (HotKey{MOD_WIN, key})) << lower;
    }
}

namespace {

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Wine takes the modifiers' state afresh from the X server when the focus
// moves, which can drop a Ctrl sent a moment before: the focus settles first.
void PressDeskKey() {
    WaitFor([] { return false; }, 300);
    PressKeys({VK_CONTROL, VK_MENU, 'D'});
}

// Pumps until the desk key reaches this thread; false when it did not come.
bool HotKeyArrives() {
    MSG message;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(20))
        if (PeekMessageW(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) return true;
    return false;
}

} // namespace

TEST(HotKeyProgram, TheKeyBringsTheDeskUpAndPutsItAwayAndAHeldKeyIsLeftAlone) {
    TempFolder home, desk;
    desk.file(L"a.txt");
    ProgramRun run(home.path());
    HWND list = StartWithSettings(
        run, L"[Portable]\r\nfolder=" + desk.path() + L"\r\n\r\n[Tarvo]\r\nhotkey=Ctrl+Alt+D\r\n",
        1);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list);
    WindowHandle cover(CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 0, 0,
                                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    // A focus event of the program's last showing can still arrive and take
    // the front back: the cover counts once it has stayed there a moment.
    auto coverUp = [&] {
        for (int attempt = 0; attempt < 5; ++attempt) {
            SetForegroundWindow(cover.get());
            WaitFor([] { return false; }, 500);
            if (GetForegroundWindow() == cover.get()) return true;
        }
        return false;
    };
    auto upFront = [&] {
        return WaitFor([&] {
            return GetForegroundWindow() == window && IsWindowVisible(window) &&
                   !IsIconic(window) && FocusOf(window) == list;
        });
    };

    ASSERT_TRUE(coverUp());
    PressDeskKey();
    EXPECT_TRUE(upFront()) << "from behind another window";
    PressDeskKey();
    EXPECT_TRUE(WaitFor([&] { return IsIconic(window); })) << "while active: minimised";
    PressDeskKey();
    EXPECT_TRUE(upFront()) << "from minimised";

    PostMessageW(window, WM_COMMAND, CMD_TRAY_ICON, 0);
    // The switch hides the window and shows it again last.
    ASSERT_TRUE(WaitFor([&] {
        return !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) &&
               IsWindowVisible(window);
    }));
    ASSERT_TRUE(coverUp());
    PressDeskKey();
    EXPECT_TRUE(upFront()) << "from behind, with the tray icon";
    PressDeskKey();
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(window); })) << "while active: to the tray";
    PressDeskKey();
    EXPECT_TRUE(upFront()) << "from the tray";
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(run.waitForExit(), 0u);
    EXPECT_NE(ReadUtf16(home / L"tarvo.ini").find(L"ontop=FALSE\r\nhotkey=Ctrl+Alt+D\r\n\r\n"),
              std::wstring::npos);

    // Held by this process, the key is not the program's: it starts and runs
    // on without it and without a word, and does not take it once it is free.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'D'));
    ProgramRun second(home.path());
    ASSERT_TRUE(second.start(L""));
    window = second.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
    PressDeskKey();
    EXPECT_TRUE(HotKeyArrives());
    EXPECT_TRUE(IsWindowVisible(window)) << "not put away by a key it does not hold";
    EXPECT_EQ(FindTopLevelWindow(second.processId(), L"#32770"), nullptr) << "no message";
    UnregisterHotKey(nullptr, 1);
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'D')) << "the program holds none";
    UnregisterHotKey(nullptr, 1);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.waitForExit(), 0u);
}
