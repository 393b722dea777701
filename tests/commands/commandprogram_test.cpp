// Commands in the built tarvo.exe, driven with real keys as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

class CommandProgram : public ::testing::Test {
  protected:
    HWND start(const std::wstring& extraSettings = L"") {
        std::wstring settings = L"[Portable]\r\nfolder=" + desk_.path() + L"\r\n" + extraSettings +
                                L"\r\n[Settings]\r\nsavesettings=FALSE\r\n";
        EXPECT_TRUE(WriteUtf16(home_ / L"tarvo.ini", settings));
        if (!run_.start(L"")) return nullptr;
        HWND window = run_.waitForMainWindow();
        if (window) list_ = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
        EXPECT_TRUE(WaitFor([&] { return WindowText(window) == desk_.path() + L" - Ta'rvo"; }));
        return window;
    }
    int count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
    // Real key presses, to the program's focused window.
    void press(std::initializer_list<WORD> keys) {
        SetForegroundWindow(GetAncestor(list_, GA_ROOT));
        std::vector<INPUT> inputs;
        for (WORD key : keys) {
            INPUT down = {};
            down.type = INPUT_KEYBOARD;
            down.ki.wVk = key;
            inputs.push_back(down);
        }
        for (auto it = keys.end(); it != keys.begin();) {
            INPUT up = {};
            up.type = INPUT_KEYBOARD;
            up.ki.wVk = *--it;
            up.ki.dwFlags = KEYEVENTF_KEYUP;
            inputs.push_back(up);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    }
    void selectAll() {
        SetForegroundWindow(GetAncestor(list_, GA_ROOT));
        press({VK_CONTROL, 'A'});
        WaitFor([&] { return SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0) == count(); }, 5000);
    }
    // The shell's confirmation box, answered Yes; its question.
    std::wstring confirm() {
        HWND box = run_.waitForDialog(10000);
        if (!box) return L"";
        std::wstring question;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            question += WindowText(child) + L"|";
        PostMessageW(box, WM_COMMAND, IDYES, 0);
        return question;
    }
    void close(HWND window) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run_.waitForExit(), 0u);
    }
    bool exists(const wchar_t* name) const {
        return GetFileAttributesW((desk_ / name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    TempFolder home_;
    TempFolder desk_;
    ProgramRun run_{home_.path()};
    HWND list_ = nullptr;
};

} // namespace

TEST_F(CommandProgram, DelRecyclesShiftDelDeletesAndF5Refreshes) {
    desk_.file(L"first.txt");
    HWND window = start();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(count(), 1);
    desk_.file(L"second.txt");
    press({VK_F5});
    EXPECT_TRUE(WaitFor([&] { return count() == 2; }, 5000)) << "F5 re-reads the folder";

    selectAll();
    press({VK_DELETE});
    std::wstring recycle = confirm();
    EXPECT_TRUE(WaitFor([&] { return !exists(L"first.txt") && !exists(L"second.txt"); }, 5000));

    desk_.file(L"third.txt");
    press({VK_F5});
    EXPECT_TRUE(WaitFor([&] { return count() == 1; }, 5000));
    selectAll();
    press({VK_SHIFT, VK_DELETE});
    std::wstring erase = confirm();
    EXPECT_TRUE(WaitFor([&] { return !exists(L"third.txt"); }, 5000));
    // Both ask through the shell; under Wine its two questions look alike.
    EXPECT_NE(recycle, L"");
    EXPECT_NE(erase, L"");
    close(window);
}

TEST_F(CommandProgram, ExploreHereAndCommandShellStartTheirToolsInTheDeskFolder) {
    std::wstring probe = home_ / L"probe.exe";
    ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe.c_str(), FALSE));
    HWND window = start(L"filemanager=" + probe + L"\r\ncmdprocessor=" + probe + L"\r\n");
    ASSERT_NE(window, nullptr);
    std::wstring log = home_ / L"probe.log";

    press({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return ProbeLines(log).size() == 1; }, 10000));
    press({VK_F10});
    ASSERT_TRUE(WaitFor([&] { return ProbeLines(log).size() == 2; }, 10000));
    std::vector<std::wstring> lines = ProbeLines(log);
    EXPECT_EQ(lines[0], L"\"" + desk_.path() + L"\"|" + desk_.path()) << "the quoted desk folder";
    EXPECT_EQ(lines[1], L"|" + desk_.path()) << "the shell gets no parameters";
    close(window);
}
