// The built tarvo.exe listing a folder in desk order, with the listing
// options given in the settings file beside it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/handles.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "shell/shortcutfile.h"
#include "support/testsupport.h"

namespace {

struct Item {
    std::wstring label;
    LPARAM data;
    bool operator==(const Item& other) const { return label == other.label && data == other.data; }
};

std::ostream& operator<<(std::ostream& out, const Item& item) {
    std::string label(item.label.begin(), item.label.end());
    return out << '"' << label << "\"/" << item.data;
}

// The items of another process's list view, read through its own memory.
std::vector<Item> RemoteItems(HWND list, DWORD processId) {
    std::vector<Item> items;
    KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return items;
    struct Block {
        LVITEMW item;
        wchar_t text[260];
    };
    auto* remote = static_cast<Block*>(
        VirtualAllocEx(process.get(), nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; remote && i < count; ++i) {
        Block block = {};
        block.item.mask = LVIF_TEXT | LVIF_PARAM;
        block.item.iItem = i;
        block.item.pszText = remote->text;
        block.item.cchTextMax = 260;
        WriteProcessMemory(process.get(), remote, &block, sizeof block, nullptr);
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process.get(), remote, &block, sizeof block, nullptr);
        block.text[259] = L'\0';
        items.push_back({block.text, block.item.lParam});
    }
    if (remote) VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return items;
}

// How many pictures the running program has still to make; -1 when it does
// not answer.
LONG_PTR PicturesPending(HWND list) {
    DWORD_PTR waiting = 0;
    return SendMessageTimeoutW(GetParent(list), WM_ICONSPENDING, 0, 0, SMTO_NORMAL, 1000, &waiting)
               ? static_cast<LONG_PTR>(waiting)
               : -1;
}

class DeskProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        desk_.folder(L"Work");
        desk_.folder(L"Games");
        desk_.folder(L"cache", FILE_ATTRIBUTE_HIDDEN);
        desk_.file(L"secret.txt", FILE_ATTRIBUTE_HIDDEN);
        desk_.file(L"Notes.txt");
        desk_.file(L"Mail.LNK");
        desk_.file(L"a.lnk.lnk");
        desk_.file(L"Makefile");
        desk_.file(L"b.TXT");
    }
    // Starts the program with these [Desk] lines and returns what it lists.
    std::vector<Item> listWith(const std::wstring& deskLines) {
        std::wstring settings = L"[Portable]\r\nfolder=" + desk_.path() + L"\r\n\r\n[Desk]\r\n" +
                                deskLines + L"\r\n[Settings]\r\nsavesettings=FALSE\r\n";
        EXPECT_TRUE(WriteUtf16(home_ / L"tarvo.ini", settings));
        ProgramRun run(home_.path());
        EXPECT_TRUE(run.start(L""));
        HWND window = run.waitForMainWindow();
        EXPECT_NE(window, nullptr);
        if (!window) return {};
        HWND list = FindWindowExW(window, nullptr, L"SysListView32", nullptr);
        EXPECT_TRUE(WaitFor([&] { return WindowText(window) == desk_.path() + L" - Ta'rvo"; }))
            << "the settings named the desk folder";
        // The items come in one go once the window is up.
        EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0; }));
        std::vector<Item> items = RemoteItems(list, run.processId());
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.waitForExit(), 0u);
        return items;
    }

    TempFolder home_;
    TempFolder desk_;
};

using Items = std::vector<Item>;

} // namespace

TEST_F(DeskProgram, ListsInDeskOrderForTheOptionsOfTheSettingsFile) {
    EXPECT_EQ(listWith(L"sort=1\r\ndirsfirst=TRUE\r\nshowhidden=FALSE\r\nhome=\r\nend=\r\n"),
              (Items{{L"Games", 0}, {L"Work", 0}, {L"Makefile", 0}, {L"Mail", 1}, {L"b.TXT", 0},
                     {L"a.lnk", 1}, {L"Notes.txt", 0}}));
    EXPECT_EQ(listWith(L"sort=0\r\ndirsfirst=FALSE\r\nshowhidden=TRUE\r\nhome=Notes.txt\r\nend=Games\r\n"),
              (Items{{L"Notes.txt", 0}, {L"a.lnk", 1}, {L"b.TXT", 0}, {L"cache", 0}, {L"Mail", 1},
                     {L"Makefile", 0}, {L"secret.txt", 0}, {L"Work", 0}, {L"Games", 0}}));
    EXPECT_EQ(listWith(L"sort=1\r\ndirsfirst=FALSE\r\nshowhidden=FALSE\r\nhome=Mail.lnk\r\nend=Mail.lnk\r\n"),
              (Items{{L"Games", 0}, {L"Makefile", 0}, {L"Work", 0}, {L"b.TXT", 0}, {L"a.lnk", 1},
                     {L"Notes.txt", 0}, {L"Mail", 1}}));
    EXPECT_EQ(listWith(L"sort=7\r\ndirsfirst=TRUE\r\nshowhidden=FALSE\r\nhome=notes.txt\r\nend=Work\r\n"),
              (Items{{L"Games", 0}, {L"a.lnk", 1}, {L"b.TXT", 0}, {L"Mail", 1}, {L"Makefile", 0},
                     {L"Notes.txt", 0}, {L"Work", 0}}));
}

// A large desk of shortcuts, each with a picture of its own, answers while
// its pictures are still being made, and in the end shows every one.
TEST(DeskProgramIcons, ALargeDeskAnswersBeforeItsLastPictureAndGetsEveryOne) {
    TempFolder home, desk;
    ShortcutFile shortcut;
    ASSERT_TRUE(SUCCEEDED(shortcut.Open()));
    ASSERT_TRUE(shortcut.Retarget(L"C:\\windows\\notepad.exe", (desk / L"0.lnk").c_str()));
    const int count = 3000;
    for (int i = 1; i < count; ++i)
        CopyFileW((desk / L"0.lnk").c_str(), (desk / (std::to_wstring(i) + L".lnk")).c_str(), TRUE);
    ProgramRun run(home.path());
    HWND list = StartOnDesk(run, desk.path(), count);
    ASSERT_NE(list, nullptr);
    EXPECT_GT(PicturesPending(list), 0) << "the answer came after the last picture";
    EXPECT_TRUE(WaitFor([&] { return PicturesPending(list) == 0; }, 60000));
}

// Read from the screen, each item of the built program shows the picture
// the shell makes for its path: its own where it has one, else its type's
// (thumbnails off: with them an icon file shows what it holds).
TEST(DeskProgramIcons, EachItemOnScreenShowsThePictureItsPathMakes) {
    TempFolder home, desk;
    ASSERT_TRUE(MakeEntriesOfEveryKind(desk));
    const int count = 16;
    ProgramRun run(home.path());
    HWND list = StartWithSettings(run,
                                  L"[Portable]\r\nfolder=" + desk.path() +
                                      L"\r\n[Position]\r\nleft=0\r\ntop=0\r\nright=900\r\n"
                                      L"bottom=600\r\n[Desk]\r\nthumbnails=FALSE\r\n",
                                  count);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitFor([&] { return PicturesPending(list) == 0; }));
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // The list's client area as the screen shows it.
    RECT client;
    GetClientRect(list, &client);
    POINT origin = {0, 0};
    ClientToScreen(list, &origin);
    BITMAPINFO info = {
        {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    GdiObject shot(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc.get(), shot.get());
    HDC screen = GetDC(nullptr);
    BitBlt(dc.get(), 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    SelectObject(dc.get(), old);
    auto screenAt = [&](int x, int y) {
        return static_cast<const DWORD*>(bits)[y * client.right + x];
    };
    const COLORREF background = ListView_GetBkColor(list);
    const int side = GetSystemMetrics(SM_CXICON);
    std::vector<Item> items = RemoteItems(list, run.processId());
    ASSERT_EQ(items.size(), static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::wstring path = desk / (items[i].label + (items[i].data ? L".lnk" : L""));
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        std::vector<DWORD> picture = ShellPicture(path, {side, side}, background);
        // The list centres the picture in the item's icon box.
        RECT box = {LVIR_ICON, 0, 0, 0};
        SendRemote(list, run.processId(), LVM_GETITEMRECT, i, box);
        bool found = false;
        for (int y = std::max(0L, box.top);
             !found && y + side <= std::min(box.bottom, client.bottom); ++y)
            for (int x = std::max(0L, box.left);
                 !found && x + side <= std::min(box.right, client.right); ++x) {
                found = true;
                for (int p = 0; found && p < side * side; ++p)
                    found = ((screenAt(x + p % side, y + p / side) ^ picture[p]) & 0xFFFFFF) == 0;
            }
        EXPECT_TRUE(found) << "not on screen where the item is";
    }
    PostMessageW(GetParent(list), WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}

// A desk another program writes to every 300 ms is refilled again and again;
// a close still ends the program at once, its settings written.
TEST(DeskProgramClose, ACloseDuringTheFillsOfABusyDeskEndsTheProgram) {
    TempFolder folder, desk;
    for (int i = 0; i < 3000; ++i)
        desk.file(L"f" + std::to_wstring(i) + L".txt");
    ProgramRun run(folder.path());
    HWND list = StartWithSettings(run,
                                  L"[Portable]\r\nfolder=" + desk.path() +
                                      L"\r\n[Tweak]\r\nautorefresh latency (ms)=0\r\n",
                                  3000);
    ASSERT_NE(list, nullptr);
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        for (int n = 0; !stop; ++n) {
            desk.file(L"log " + std::to_wstring(n) + L".txt");
            Sleep(300);
        }
    });
    Sleep(2000); // refill after refill
    std::wstring ini = folder / L"tarvo.ini";
    DeleteFileW(ini.c_str());
    PostMessageW(GetParent(list), WM_CLOSE, 0, 0);
    DWORD exit = run.waitForExit(5000);
    stop = true;
    writer.join();
    EXPECT_EQ(exit, 0u);
    EXPECT_TRUE(PathExists(ini)) << "the settings were written";
}
