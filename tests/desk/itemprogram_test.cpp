// The built tarvo.exe driven as a user drives it, with a probe program
// standing in for the file manager and the text viewer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "settings/filebytes.h"
#include "shell/shortcutfile.h"
#include "support/testsupport.h"

namespace {

// The centre of item index's icon in another process's list view, in screen
// coordinates, asked for through that process's memory.
POINT RemoteItemCentre(HWND list, DWORD processId, int index) {
    RECT rect = {LVIR_ICON, 0, 0, 0};
    if (!SendRemote(list, processId, LVM_GETITEMRECT, index, rect)) return {};
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &centre);
    return centre;
}

} // namespace

TEST(ItemProgram, ClicksAndKeysOpenRenameAndCreateItems) {
    TempFolder home, desk, elsewhere;
    std::wstring probe = home / L"probe.exe", log = home / L"probe.log";
    ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe.c_str(), FALSE));
    desk.folder(L"Work");
    desk.file(L"Backup.ZIP");
    desk.file(L"Draft.txt");
    ShortcutFile link;
    ASSERT_TRUE(SUCCEEDED(link.Open()));
    ASSERT_TRUE(link.Retarget(elsewhere.path().c_str(), (desk / L"Link.lnk").c_str()));
    ProgramRun run(home.path());
    // Desk order: Work, Backup.ZIP, Draft.txt, Link.
    HWND list = StartWithSettings(run,
                                  L"[Portable]\r\nfolder=" + desk.path() + L"\r\nfilemanager=" +
                                      probe + L"\r\ntextviewer=" + probe +
                                      L" -x\r\n[Desk]\r\nsort=0\r\ndirsfirst=TRUE\r\n"
                                      L"[Settings]\r\nsavesettings=FALSE\r\n",
                                  4);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list);
    // Away from the corner where other tests' windows open, and above them.
    SetWindowPos(window, HWND_TOPMOST, 560, 360, 420, 320, SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    auto opened = [&](const std::wstring& arguments) {
        std::wstring line = arguments + L"\"|" + desk.path();
        return WaitFor([&] { return !ProbeLines(log).empty() && ProbeLines(log).back() == line; });
    };

    ClickAt(RemoteItemCentre(list, run.processId(), 3), 2);
    EXPECT_TRUE(opened(L"\"" + elsewhere.path())) << "a folder shortcut opens its target";
    Sleep(500);
    EXPECT_EQ(ProbeLines(log).size(), 1u) << "a double click opens only its item";
    TapKeys({VK_HOME, VK_RETURN});
    EXPECT_TRUE(opened(L"\"" + desk / L"Work"));
    TapKeys({VK_RIGHT, VK_RETURN});
    EXPECT_TRUE(opened(L"\"" + desk / L"Backup.ZIP"));
    TapKeys({VK_F3});
    EXPECT_TRUE(opened(L"-x \"" + desk / L"Backup.ZIP"));

    RECT client;
    GetClientRect(list, &client);
    POINT empty = {client.right - 20, client.bottom - 20};
    ClientToScreen(list, &empty);
    ClickAt(empty, 1, true);
    HWND menu = nullptr;
    EXPECT_TRUE(WaitFor([&] { return menu = FindTopLevelWindow(run.processId(), L"#32768"); }))
        << "the command menu";
    // Keys that come before a menu takes the input are lost; under the
    // pointer a submenu may have opened too.
    for (int i = 0; i < 3 && (menu = FindTopLevelWindow(run.processId(), L"#32768")); ++i) {
        Sleep(300);
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    ASSERT_TRUE(WaitFor([&] { return !FindTopLevelWindow(run.processId(), L"#32768"); }));

    TapKeys({VK_HOME, VK_RIGHT, VK_RIGHT, VK_F2});
    Sleep(300);
    TapKeys({VK_ESCAPE});
    EXPECT_EQ(run.waitForExit(1000), DWORD{STILL_ACTIVE}) << "Esc ended the edit, not the program";
    TapKeys({VK_F2});
    Sleep(300);
    TapKeys({VK_CONTROL}); // a key the edit ignores, before the text replaces the selection
    TypeText(L"Final.txt");
    TapKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return PathExists(desk / L"Final.txt"); }));
    EXPECT_FALSE(PathExists(desk / L"Draft.txt"));

    TapKeys({VK_F7});
    EXPECT_TRUE(WaitFor([&] { return PathExists(desk / L"New File.txt"); }));
    ASSERT_TRUE(WaitFor([&] { return FindWindowExW(list, nullptr, L"Edit", nullptr); }))
        << "the new item's label opens after the refresh";
    TypeText(L"Alpha.txt");
    TapKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return PathExists(desk / L"Alpha.txt"); }));
    EXPECT_FALSE(PathExists(desk / L"New File.txt"));
    // Only the refresh puts Alpha.txt second, and selects it there.
    EXPECT_TRUE(WaitFor([&] {
        return ListView_GetNextItem(list, -1, LVNI_SELECTED) == 1 &&
               ListView_GetSelectedCount(list) == 1;
    }));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
    EXPECT_EQ(ProbeLines(log).size(), 4u);
}

// Typing a name with real keys: only Enter and Esc are commands in the box.
// A name that is taken leaves the file and its label as they were.
TEST(ItemProgram, TheNameBoxKeepsItsKeysAndARefusedNameItsLabel) {
    TempFolder home, desk, elsewhere;
    desk.file(L"two.txt");
    desk.file(L"uno.txt");
    elsewhere.file(L"pasted.txt");
    ProgramRun run(home.path());
    HWND list = StartOnDesk(run, desk.path(), 2);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list);
    SetForegroundWindow(window);
    auto edit = [&] { return FindWindowExW(list, nullptr, L"Edit", nullptr); };

    TapKeys({VK_HOME, VK_F2});
    ASSERT_TRUE(WaitFor([&] { return edit(); }));
    TypeText(L"uno.txt");
    TapKeys({VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return !edit(); }));
    Sleep(300);
    EXPECT_TRUE(PathExists(desk / L"two.txt"));

    // Text and a file on the clipboard: the box pastes the text.
    DROPFILES header = {sizeof header, {}, FALSE, TRUE};
    std::wstring drop(reinterpret_cast<wchar_t*>(&header), sizeof header / sizeof(wchar_t));
    drop += elsewhere / L"pasted.txt" + L'\0';
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
    for (auto [format, data] :
         {std::pair{CF_UNICODETEXT, std::wstring(L"_v2")}, {CF_HDROP, drop}}) {
        size_t size = (data.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(memory), data.c_str(), size);
        GlobalUnlock(memory);
        SetClipboardData(format, memory);
    }
    CloseClipboard();

    TapKeys({VK_F2});
    ASSERT_TRUE(WaitFor([&] { return edit(); }));
    wchar_t label[MAX_PATH] = {}; // asked for with a message: the box is another process's
    SendMessageW(edit(), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(label));
    EXPECT_STREQ(label, L"two.txt") << "the refused name's label came back";
    TypeText(L"Report");
    PressKeys({VK_SHIFT, '1'});
    PressKeys({VK_SHIFT, '2'});
    TypeText(L" 2024x");
    TapKeys({VK_LEFT, VK_DELETE, VK_END});
    PressKeys({VK_CONTROL, 'V'});
    TypeText(L".txt");
    TapKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return PathExists(desk / L"Report!@ 2024_v2.txt"); }))
        << WindowText(list);
    Sleep(500);
    EXPECT_FALSE(PathExists(desk / L"pasted.txt")) << "no file was pasted";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}
