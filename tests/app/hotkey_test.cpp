// The desk key: its text, and the built program answering it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/handles.h"
#include "app/hotkey.h"
#include "commands/commandids.h"
#include "support/testsupport.h"

TEST(HotKeyText, NamesModifiersAndOneKeyOrNothing) {
    const UINT ctrlAlt = MOD_CONTROL | MOD_ALT, all = ctrlAlt | MOD_SHIFT | MOD_WIN;
    // Every key by its name; the letters and F keys in lower case below.
    std::vector<std::pair<std::wstring, HotKey>> named = {
        {L"Ctrl+Alt+D", {ctrlAlt, 'D'}},       {L"ctrl+ALT+d", {ctrlAlt, 'D'}},
        {L"Alt+Ctrl+D", {ctrlAlt, 'D'}},       {L" Ctrl +\tAlt+ pageup ", {ctrlAlt, VK_PRIOR}},
        {L"Ctrl+Alt+Shift+Win+0", {all, '0'}}, {L"Win+Shift+F12", {MOD_WIN | MOD_SHIFT, VK_F12}},
        {L"Win+Space", {MOD_WIN, VK_SPACE}},   {L"Win+Home", {MOD_WIN, VK_HOME}},
        {L"Win+End", {MOD_WIN, VK_END}},       {L"Win+Insert", {MOD_WIN, VK_INSERT}},
        {L"Win+Delete", {MOD_WIN, VK_DELETE}}, {L"Win+PageUp", {MOD_WIN, VK_PRIOR}},
        {L"Win+PageDown", {MOD_WIN, VK_NEXT}}, {L"Win+Up", {MOD_WIN, VK_UP}},
        {L"Win+Down", {MOD_WIN, VK_DOWN}},     {L"Win+Left", {MOD_WIN, VK_LEFT}},
        {L"Win+Right", {MOD_WIN, VK_RIGHT}},   {L"Win+Pause", {MOD_WIN, VK_PAUSE}}};
    for (UINT i = 0; i < 36; ++i) // the letters in lower case, then the digits
        named.push_back({L"Shift+" + std::wstring(1, wchar_t(i < 26 ? L'a' + i : L'0' + i - 26)),
                         {MOD_SHIFT, i < 26 ? 'A' + i : '0' + i - 26}});
    for (UINT i = 1; i <= 24; ++i)
        named.push_back({L"Ctrl+f" + std::to_wstring(i), {MOD_CONTROL, VK_F1 + i - 1}});
    for (const auto& [text, key] : named)
        EXPECT_EQ(ParseHotKey(text.c_str()), key) << text;

    // clang-format off
    const wchar_t* refused[] = {
        L"", L"D", L"F5", L"Ctrl", L"Ctrl+Alt", L"Ctrl+Ctrl+D", L"ctrl+CTRL+D", L"Ctrl+A+B",
        L"D+Ctrl", L"Ctrl+Esc", L"Control+D", L"Ctrl+DD", L"Ctrl+\u00C4", L"Ctrl+F0", L"Ctrl+F25",
        L"Ctrl+F01", L"Ctrl+Page Up", L"Ctrl++D", L"Ctrl+", L"+D", L"Ctrl-Alt-D"};
    // clang-format on
    for (const wchar_t* text : refused)
        EXPECT_EQ(ParseHotKey(text), std::nullopt) << text;
}

TEST(HotKeyProgram, TheKeyBringsTheDeskUpAndPutsItAwayAndAHeldKeyIsLeftAlone) {
    TempFolder home, desk;
    desk.file(L"a.txt");
    const std::wstring settings =
        L"[Portable]\r\nfolder=" + desk.path() + L"\r\n\r\n[Tarvo]\r\nhotkey=Ctrl+Alt+D\r\n";
    ProgramRun run(home.path());
    HWND list = StartWithSettings(run, settings, 1);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list);
    // Wine takes the modifiers' state afresh from the X server when the focus
    // moves, which can drop a Ctrl sent a moment before: the focus settles first.
    auto pressDeskKey = [] {
        WaitFor([] { return false; }, 300);
        PressKeys({VK_CONTROL, VK_MENU, 'D'});
    };
    WindowHandle cover(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600,
                                       nullptr, nullptr, nullptr, nullptr));
    // A late focus event of the program's last showing can take the front
    // back: the cover counts once it has stayed there a moment.
    auto coverUp = [&] {
        for (int attempt = 0; attempt < 5; ++attempt) {
            SetForegroundWindow(cover.get());
            WaitFor([] { return false; }, 500);
            if (GetForegroundWindow() == cover.get()) return true;
        }
        return false;
    };
    auto upFront = [&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return GetForegroundWindow() == window && IsWindowVisible(window) && !IsIconic(window) &&
               info.hwndFocus == list;
    };
    // The key from behind another window, while active, and from where that
    // put the window, the first time with a button on the taskbar.
    auto press = [&](bool cover, const char* what, const std::function<bool()>& then) {
        ASSERT_TRUE(!cover || coverUp());
        pressDeskKey();
        EXPECT_TRUE(WaitFor(then)) << what;
    };
    press(true, "from behind another window", upFront);
    press(false, "active: minimised", [&] { return IsIconic(window) != FALSE; });
    press(false, "from minimised", upFront);
    PostMessageW(window, WM_COMMAND, CMD_TRAY_ICON, 0);
    // The switch hides the window and shows it again last.
    ASSERT_TRUE(WaitFor([&] {
        return !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) &&
               IsWindowVisible(window);
    }));
    press(true, "from behind, with the tray icon", upFront);
    press(false, "active: to the tray", [&] { return !IsWindowVisible(window); });
    press(false, "from the tray", upFront);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(run.waitForExit(), 0u);

    // Held by this process, the key is not the program's: it starts and runs
    // on without it and without a word, and does not take it once it is free.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'D'));
    ProgramRun second(home.path());
    ASSERT_NE(list = StartWithSettings(second, settings, 1), nullptr);
    window = GetParent(list);
    pressDeskKey();
    MSG hotkey; // a message of this thread's own, which WaitFor would take away unseen
    Sleep(1000);
    EXPECT_TRUE(PeekMessageW(&hotkey, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE));
    EXPECT_EQ(FindTopLevelWindow(second.processId(), L"#32770"), nullptr) << "no message";
    UnregisterHotKey(nullptr, 1);
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'D')) << "the program holds none";
    UnregisterHotKey(nullptr, 1);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(second.waitForExit(), 0u);
}
