// The built tarvo.exe opening items on a double click, with a probe program
// standing in for the file manager.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "settings/filebytes.h"
#include "shell/shortcutfile.h"
#include "support/testsupport.h"

namespace {

// The icon of item index in another process's list view, in screen
// coordinates, asked for through that process's memory.
POINT RemoteItemCentre(HWND list, DWORD processId, int index) {
    POINT centre = {};
    HANDLE process =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return centre;
    auto* remote = static_cast<RECT*>(
        VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE));
    RECT rect = {};
    rect.left = LVIR_ICON;
    SIZE_T done = 0;
    if (remote && WriteProcessMemory(process, remote, &rect, sizeof rect, &done) &&
        SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process, remote, &rect, sizeof rect, &done)) {
        centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(list, &centre);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return centre;
}

void DoubleClickAt(POINT point) {
    MoveCursorTo(point);
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendInput(4, clicks, sizeof(INPUT));
}


} // namespace

TEST(ItemProgram, DoubleClickOpensFoldersArchivesAndFolderShortcutsInTheFileManager) {
    TempFolder home, desk, elsewhere;
    std::wstring probe = home / L"probe.exe";
    ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe.c_str(), FALSE));
    desk.folder(L"Work");
    desk.file(L"Backup.ZIP");
    desk.file(L"notes.txt");
    {
        ShortcutFile link;
        ASSERT_TRUE(SUCCEEDED(link.Open()));
        ASSERT_TRUE(link.Retarget(elsewhere.path().c_str(), (desk / L"Link.lnk").c_str()));
    }
    ASSERT_TRUE(WriteUtf16(home / L"tarvo.ini", L"[Portable]\r\nfolder=" + desk.path() +
                                                    L"\r\nfilemanager=" + probe +
                                                    L"\r\n[Desk]\r\nsort=0\r\ndirsfirst=TRUE\r\n"
                                                    L"[Settings]\r\nsavesettings=FALSE\r\n"));
    ProgramRun run(home.path());
    ASSERT_TRUE(run.start(L""));
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    HWND list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 4; }));
    // Away from the corner where other tests' windows open, and above them,
    // so the clicks reach this list even while they run.
    SetWindowPos(window, HWND_TOPMOST, 560, 360, 420, 320, SWP_SHOWWINDOW);
    SetForegroundWindow(window);

    // Desk order: Work, Backup.ZIP, Link, notes.txt.
    const std::wstring opened[] = {desk / L"Work", desk / L"Backup.ZIP", elsewhere.path()};
    std::wstring log = home / L"probe.log";
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(testing::Message() << "item " << index);
        Sleep(600); // apart from the last click, so this is a double click of its own
        DoubleClickAt(RemoteItemCentre(list, run.processId(), index));
        ASSERT_TRUE(WaitFor([&] { return ProbeLines(log).size() == size_t(index) + 1; }));
        EXPECT_EQ(ProbeLines(log).back(), L"\"" + opened[index] + L"\"|" + desk.path());
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
    Sleep(300);
    EXPECT_EQ(ProbeLines(log).size(), 3u) << "each double click opened only its item";
}
