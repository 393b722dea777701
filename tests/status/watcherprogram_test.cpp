// The folder watcher in the built program, as a user meets it: a new file's
// label opens by itself, a renamed item is selected, and the program ends
// cleanly while the folder keeps changing.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

void Send(const std::vector<INPUT>& input) {
    SendInput(static_cast<UINT>(input.size()), const_cast<INPUT*>(input.data()), sizeof(INPUT));
}

void Key(WORD key) {
    std::vector<INPUT> input(2);
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    Send(input);
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
    Send(input);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteSettings(const std::wstring& ini, const std::wstring& desk) {
    return WriteUtf16(ini, L"[Portable]\r\nfolder=" + desk +
                               L"\r\n[Desk]\r\nsort=0\r\n[Settings]\r\nsavesettings=FALSE\r\n");
}

} // namespace

TEST(WatcherProgram, F7OpensTheNewLabelAndTheRenamedItemIsSelectedAfterTheRefresh) {
    TempFolder home, desk;
    desk.file(L"Mid.txt");
    ASSERT_TRUE(WriteSettings(home / L"tarvo.ini", desk.path()));
    ProgramRun run(home.path());
    ASSERT_TRUE(run.start(L""));
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
    SetForegroundWindow(window);
    SetFocus(list);

    Key(VK_F7);
    EXPECT_TRUE(WaitFor([&] { return Exists(desk / L"New File.txt"); }));
    ASSERT_TRUE(WaitFor([&] { return FindWindowExW(list, nullptr, L"Edit", nullptr) != nullptr; }))
        << "the new item's label opens after the refresh";
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    Type(L"Alpha.txt");
    Key(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return Exists(desk / L"Alpha.txt"); }));
    EXPECT_FALSE(Exists(desk / L"New File.txt"));
    // By name Alpha.txt comes first now; only the refresh puts it there.
    EXPECT_TRUE(WaitFor([&] {
        return ListView_GetNextItem(list, -1, LVNI_SELECTED) == 0 &&
               ListView_GetSelectedCount(list) == 1;
    }));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}

TEST(WatcherProgram, TwentyStartsAndClosesWhileTheFolderChangesAllEndCleanly) {
    TempFolder home, desk;
    ASSERT_TRUE(WriteSettings(home / L"tarvo.ini", desk.path()));
    std::wstring command = L"cmd.exe /c for /L %i in (1,1,1000000) do @(type nul > \"" +
                           (desk / L"churn.txt") + L"\" & del \"" + (desk / L"churn.txt") + L"\")";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION churn = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &churn));
    for (int cycle = 0; cycle < 20; ++cycle) {
        SCOPED_TRACE(cycle);
        ProgramRun run(home.path());
        ASSERT_TRUE(run.start(L""));
        HWND window = run.waitForMainWindow();
        ASSERT_NE(window, nullptr);
        // Each close lands in another phase of the watcher's waits.
        Sleep(static_cast<DWORD>(cycle * 37 % 300));
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.waitForExit(), 0u);
    }
    EXPECT_EQ(WaitForSingleObject(churn.hProcess, 0), WAIT_TIMEOUT) << "the folder kept changing";
    TerminateProcess(churn.hProcess, 0);
    WaitForSingleObject(churn.hProcess, 5000);
    CloseHandle(churn.hProcess);
    CloseHandle(churn.hThread);
}
