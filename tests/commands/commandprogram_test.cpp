// Commands in the built tarvo.exe, driven with real keys as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(CommandProgram, RefreshRecycleDeleteAndTheToolsInTheDeskFolder) {
    TempFolder home, desk;
    desk.file(L"first.txt");
    std::wstring probe = home / L"probe.exe", log = home / L"probe.log";
    ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe.c_str(), FALSE));
    ProgramRun run(home.path());
    HWND list = StartWithSettings(run,
                                  L"[Portable]\r\nfolder=" + desk.path() + L"\r\nfilemanager=" +
                                      probe + L"\r\ncmdprocessor=" + probe +
                                      L"\r\n[Settings]\r\nsavesettings=FALSE\r\n",
                                  1);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list);
    auto count = [&] { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); };
    auto exists = [&](const wchar_t* name) {
        return GetFileAttributesW((desk / name).c_str()) != INVALID_FILE_ATTRIBUTES;
    };

    desk.file(L"second.txt");
    SetForegroundWindow(window);
    PressKeys({VK_F5});
    EXPECT_TRUE(WaitFor([&] { return count() == 2; }, 5000)) << "F5 re-reads the folder";
    // Del recycles, Shift+Del deletes; both ask through the shell, answered Yes.
    for (std::initializer_list<WORD> keys :
         {std::initializer_list<WORD>{VK_DELETE}, {VK_SHIFT, VK_DELETE}}) {
        SetForegroundWindow(window);
        PressKeys({VK_CONTROL, 'A'});
        EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) == 2; }));
        PressKeys(keys);
        HWND box = run.waitForDialog(10000);
        ASSERT_NE(box, nullptr) << "the shell's confirmation";
        EXPECT_EQ(GetWindow(box, GW_OWNER), window) << "it belongs to the desk window";
        PostMessageW(box, WM_COMMAND, IDYES, 0);
        EXPECT_TRUE(WaitFor([&] { return !exists(L"first.txt") && !exists(L"second.txt"); }));
        desk.file(L"first.txt");
        desk.file(L"second.txt");
        PressKeys({VK_F5});
        EXPECT_TRUE(WaitFor([&] { return count() == 2; }));
    }

    SetForegroundWindow(window);
    PressKeys({VK_F9});
    ASSERT_TRUE(WaitFor([&] { return ProbeLines(log).size() == 1; }));
    PressKeys({VK_F10});
    ASSERT_TRUE(WaitFor([&] { return ProbeLines(log).size() == 2; }));
    std::vector<std::wstring> lines = ProbeLines(log);
    EXPECT_EQ(lines[0], L"\"" + desk.path() + L"\"|" + desk.path()) << "the quoted desk folder";
    EXPECT_EQ(lines[1], L"|" + desk.path()) << "the shell gets no parameters";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}
