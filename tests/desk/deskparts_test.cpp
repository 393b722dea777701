// The desk list's parts on the real main window: what input, closes and
// requests do while a fill or the icons' delivery is under way.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <string>

#include "app/appstate.h"
#include "app/application.h"
#include "commands/commandids.h"
#include "desk/deskicons.h"
#include "resources/resource.h"
#include "shell/shellobject.h"
#include "support/testsupport.h"

namespace {

std::wstring ItemText(HWND list, int index) {
    wchar_t text[kPathUnits] = L"";
    ListView_GetItemText(list, index, 0, text, kPathUnits);
    return text;
}

} // namespace

// A refill moves every item one place on; until the list has painted the
// new items, a double-click and a drop act on what the user saw, or on
// nothing, never on the neighbour that took its place.
TEST(DeskParts, InputDuringARefillActsOnWhatTheUserSaw) {
    TempFolder desk, tools, elsewhere;
    for (int i = 0; i < 3000; ++i) {
        wchar_t name[16];
        swprintf(name, 16, L"d%04d", i);
        desk.folder(name);
    }
    elsewhere.file(L"moved.txt");
    std::wstring probe = tools / L"probe.exe";
    ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe.c_str(), FALSE));
    MainWindowTest windows;
    AppState* state = TheAppState;
    MoveWindow(windows.window(), 0, 0, 500, 400, TRUE);
    CopyText(state->filemanager, probe.c_str());
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList();
    ASSERT_TRUE(WaitForIcons(state, 60000));
    UpdateWindow(state->desklist);
    RECT rect = {LVIR_ICON, 0, 0, 0};
    SendMessageW(state->desklist, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&rect));
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, screen = point;
    ClientToScreen(state->desklist, &screen);
    ASSERT_EQ(ItemText(state->desklist, 3), L"d0003");

    ASSERT_TRUE(MoveCursorTo(screen));
    ComPtr<IDataObject> data;
    ASSERT_TRUE(
        GetShellObject({elsewhere / L"moved.txt"}, IID_IDataObject, data.putVoid(), nullptr));
    DWORD effect = DROPEFFECT_MOVE;
    state->DragEnter(data.get(), MK_LBUTTON, POINTL{screen.x, screen.y}, &effect);
    desk.folder(L"!first");
    state->RefreshDeskList();
    ASSERT_TRUE(state->fill.Filling());
    PostMessageW(state->desklist, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    ASSERT_TRUE(StepUntil([&] { return ListView_GetItemCount(state->desklist) > 1000; }));
    state->DragOver(MK_LBUTTON, POINTL{screen.x, screen.y}, &effect);
    effect = DROPEFFECT_MOVE;
    state->Drop(data.get(), MK_LBUTTON, POINTL{screen.x, screen.y}, &effect);
    ASSERT_TRUE(WaitForIcons(state, 60000));
    WaitFor([] { return false; }, 1500); // a tool started would have written by now

    EXPECT_EQ(ItemText(state->desklist, 3), L"d0002") << "the neighbour took the place";
    EXPECT_TRUE(PathExists(elsewhere / L"moved.txt") || PathExists(desk / L"d0003\\moved.txt"))
        << "dropped onto the folder the user saw, or not at all";
    for (const std::wstring& line : ProbeLines(tools / L"probe.log"))
        EXPECT_NE(line.find(L"d0003"), std::wstring::npos) << "opened: " << line;
}

// A log-off saves the settings at once, whatever the icon worker is stuck in.
TEST(DeskParts, ALogOffSavesWithoutWaitingForAStuckWorker) {
    TempFolder desk;
    for (int i = 0; i < 20; ++i)
        desk.file(L"item " + std::to_wstring(i) + L".txt");
    KernelHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE stuck = release.get();
    MainWindowTest windows;
    AppState* state = TheAppState;
    PictureHooks hooks;
    hooks.worker = [stuck](const wchar_t*) { WaitForSingleObject(stuck, 20000); };
    HookPictures(state, hooks);
    CopyText(state->deskpath, desk.path().c_str());
    CopyText(state->inipath, windows.settingsPath().c_str());
    state->RefreshDeskList();
    WaitFor([] { return false; }, 300); // the worker is inside its first icon
    ASSERT_GT(state->icons.Pending(), 0);
    DWORD start = GetTickCount();
    SendMessageW(windows.window(), WM_ENDSESSION, TRUE, 0);
    DWORD took = GetTickCount() - start;
    EXPECT_TRUE(PathExists(windows.settingsPath()));
    // A wait for the worker would take the whole 5 s bound.
    EXPECT_LT(took, 1000u);
    SetEvent(stuck);
}

// The icons' work on the window's thread (the generic pictures drawn anew
// for another view) calls the shell, which lets sent messages in: a refresh
// the watcher asks for then runs after that work, never inside it.
TEST(DeskParts, ARefreshAskedDuringTheIconsWorkRunsAfterIt) {
    TempFolder desk;
    for (const wchar_t* name : {L"a.txt", L"b.dat", L"c.log"})
        desk.file(name);
    MainWindowTest windows;
    AppState* state = TheAppState;
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList();
    ASSERT_TRUE(WaitForIcons(state));
    HWND window = windows.window();
    unsigned fillsInside = 0, fillsBefore = 0;
    bool asked = false;
    PictureHooks hooks;
    hooks.window = [&](const wchar_t*) {
        if (asked || state->fill.Filling()) return;
        asked = true;
        // As the watcher does, from its thread; handled here as a
        // shell call that lets sent messages in would.
        fillsBefore = state->fill.FillsBegun();
        std::atomic<bool> sent = false;
        std::thread watcher([window, &sent] {
            SendMessageW(window, WM_FOLDERCHANGED, 0, 0);
            sent = true;
        });
        while (!sent) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
        }
        watcher.join();
        fillsInside = state->fill.FillsBegun();
    };
    HookPictures(state, hooks);
    state->iconstyle = 1;
    state->ApplyIconStyle();
    ASSERT_TRUE(
        WaitFor([&] { return asked && !state->fill.Busy() && state->icons.Pending() == 0; }));
    EXPECT_EQ(fillsInside, fillsBefore) << "no fill inside the icons' work";
    EXPECT_TRUE(WaitFor([&] { return state->fill.FillsBegun() == fillsBefore + 1; }))
        << "the refresh ran after it";
}

// After Folder... the list may still show the old folder while its refresh
// waits (here for an open edit): its items' paths, and a rename, stay in
// the folder the items were listed from.
TEST(DeskParts, ItemsKeepTheFolderTheyWereListedFrom) {
    TempFolder before, after;
    before.file(L"x.txt");
    MainWindowTest windows;
    AppState* state = TheAppState;
    CopyText(state->deskpath, before.path().c_str());
    state->RefreshDeskList();
    SetFocus(state->desklist);
    ListView_EditLabel(state->desklist, 0);
    ASSERT_TRUE(state->namebox.Open());
    CopyText(state->deskpath, after.path().c_str());
    state->RefreshDeskList();
    ASSERT_TRUE(state->fill.RefreshWaiting()) << "the open edit holds it up";
    wchar_t path[kPathUnits];
    state->ItemPath(0, path);
    EXPECT_EQ(std::wstring(path), before / L"x.txt");
    SetWindowTextW(state->namebox.Box(), L"y.txt");
    state->RunCommand(CMD_OPEN); // Enter
    EXPECT_TRUE(PathExists(before / L"y.txt"));
    EXPECT_FALSE(PathExists(after / L"y.txt")) << "never moved into the new folder";
}

// With neither the desk folder nor the Desktop to be found, the start ends
// in an empty list: one fill, no loop, and nothing made anywhere.
TEST(DeskParts, NoDeskFolderEndsTheStartInAnEmptyList) {
    int desktop = DesktopFolderId;
    DesktopFolderId = 0x7fff; // no such shell folder
    MainWindowTest windows;
    DesktopFolderId = desktop;
    AppState* state = TheAppState;
    ASSERT_EQ(state->deskpath[0], L'\0');
    WaitFor([] { return false; }, 1000);
    EXPECT_EQ(state->fill.FillsBegun(), 1u);
    EXPECT_FALSE(state->fill.Busy());
    EXPECT_EQ(ListView_GetItemCount(state->desklist), 0);
    wchar_t current[kPathUnits];
    GetCurrentDirectoryW(kPathUnits, current);
    state->RunCommand(CMD_NEW_FILE);
    EXPECT_FALSE(state->namebox.FollowUpWaiting()) << "no file was made";
    EXPECT_FALSE(PathExists(std::wstring(current, 2) + L"\\New File.txt"));
}
