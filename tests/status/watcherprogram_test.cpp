// The built program ends cleanly whatever the folder watcher is doing.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(WatcherProgram, StartsAndClosesWhileTheFolderChangesAllEndCleanly) {
    TempFolder home, desk;
    ASSERT_TRUE(WriteUtf16(home / L"tarvo.ini", L"[Portable]\r\nfolder=" + desk.path() +
                                                    L"\r\n[Settings]\r\nsavesettings=FALSE\r\n"));
    std::wstring churn = desk / L"churn.txt";
    KernelHandle changes = StartHidden(L"cmd.exe /c for /L %i in (1,1,1000000) do @(type nul > \"" +
                                       churn + L"\" & del \"" + churn + L"\")");
    ASSERT_TRUE(changes);
    for (int cycle = 0; cycle < 12; ++cycle) {
        ProgramRun run(home.path());
        ASSERT_TRUE(run.start(L""));
        HWND window = run.waitForMainWindow();
        ASSERT_NE(window, nullptr) << cycle;
        Sleep(static_cast<DWORD>(cycle * 37 % 300)); // each close in another phase of the watcher
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.waitForExit(), 0u);
    }
    TerminateProcess(changes.get(), 0);
    WaitForSingleObject(changes.get(), 5000);
}
