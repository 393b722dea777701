// The built tarvo.exe driven with real keys: F2, typing and Enter rename a
// file; Enter opens folders and archives; F3 starts the text viewer; a right
// click on empty space opens the command menu. These need the commands Open,
// Rename, View Text and the list's right click wired to the item operations;
// until then this file is not built.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

void Keys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        INPUT up = down;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(down);
        input.push_back(up);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

void Type(const std::wstring& text) {
    std::vector<INPUT> input;
    for (wchar_t c : text) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = c;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        input.push_back(down);
        input.push_back(up);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

std::wstring ProbeText(const std::wstring& log) {
    std::string bytes = ReadBytes(log);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                        bytes.size() / sizeof(wchar_t));
}

class ItemKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        probe_ = home_ / L"probe.exe";
        ASSERT_TRUE(
            CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe_.c_str(), FALSE));
    }
    // Starts the program on the desk with these tools; the item at index
    // gets the focus and selection.
    HWND start(const std::wstring& portableLines, int index) {
        EXPECT_TRUE(WriteUtf16(home_ / L"tarvo.ini", L"[Portable]\r\nfolder=" + desk_.path() +
                                                         L"\r\n" + portableLines +
                                                         L"[Desk]\r\nsort=0\r\ndirsfirst=TRUE\r\n"
                                                         L"[Settings]\r\nsavesettings=FALSE\r\n"));
        EXPECT_TRUE(run_.start(L""));
        HWND window = run_.waitForMainWindow();
        if (!window) return nullptr;
        list_ = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
        SetForegroundWindow(window);
        SetFocus(list_);
        for (int i = 0; i <= index; ++i)
            Keys({i == 0 ? WORD(VK_HOME) : WORD(VK_RIGHT)});
        Sleep(300);
        return window;
    }
    void stop(HWND window) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run_.waitForExit(), 0u);
    }

    TempFolder home_, desk_;
    std::wstring probe_;
    ProgramRun run_{home_.path()};
    HWND list_ = nullptr;
};

} // namespace

TEST_F(ItemKeys, F2TypingAndEnterRenameTheFileAndEscKeepsTheProgram) {
    desk_.file(L"Draft.txt");
    HWND window = start(L"", 0);
    ASSERT_NE(window, nullptr);
    Keys({VK_F2});
    Sleep(300);
    Keys({VK_END, VK_ESCAPE});
    EXPECT_EQ(run_.waitForExit(1500), DWORD{STILL_ACTIVE}) << "Esc ended the edit, not the program";
    Keys({VK_F2});
    Sleep(300);
    Keys({VK_CONTROL}); // a key the edit ignores, before the text replaces the selection
    Type(L"Final.txt");
    Keys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] {
        return GetFileAttributesW((desk_ / L"Final.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
    }));
    EXPECT_EQ(GetFileAttributesW((desk_ / L"Draft.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    stop(window);
}

TEST_F(ItemKeys, EnterOpensAnArchiveInTheFileManagerAndF3StartsTheTextViewer) {
    desk_.file(L"Backup.ZIP");
    HWND window = start(L"filemanager=" + probe_ + L"\r\ntextviewer=" + probe_ + L" -x\r\n", 0);
    ASSERT_NE(window, nullptr);
    std::wstring log = home_ / L"probe.log";
    Keys({VK_RETURN});
    std::wstring path = desk_ / L"Backup.ZIP";
    EXPECT_TRUE(
        WaitFor([&] { return ProbeText(log) == L"\"" + path + L"\"|" + desk_.path() + L"\n"; }));
    Keys({VK_F3});
    EXPECT_TRUE(WaitFor([&] {
        return ProbeText(log) == L"\"" + path + L"\"|" + desk_.path() + L"\n-x \"" + path + L"\"|" +
                                     desk_.path() + L"\n";
    }));
    stop(window);
}

TEST_F(ItemKeys, RightClickOnEmptySpaceOpensTheCommandMenu) {
    HWND window = start(L"", 0);
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(list_, &client);
    POINT point = {client.right - 20, client.bottom - 20};
    ClientToScreen(list_, &point);
    ASSERT_TRUE(MoveCursorTo(point));
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, clicks, sizeof(INPUT));
    EXPECT_TRUE(WaitFor([&] { return FindTopLevelWindow(run_.processId(), L"#32768") != nullptr; }))
        << "a popup menu is shown";
    Keys({VK_ESCAPE});
    stop(window);
}
