// The real main window, created in this process and driven with messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "app/appstate.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "support/testsupport.h"

namespace {

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(windows_.window(), nullptr);
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
    }
    HWND window() const { return windows_.window(); }
    // The list shows desk_, which holds these files, painted, so that the
    // list is what the user sees.
    void listDesk(std::initializer_list<const wchar_t*> files) {
        for (const wchar_t* name : files)
            desk_.file(name);
        CopyText(state_->deskpath, desk_.path().c_str());
        state_->RefreshDeskList();
        UpdateWindow(state_->desklist);
    }
    TempFolder desk_;
    MainWindowTest windows_;
    AppState* state_ = nullptr;
};

} // namespace

TEST_F(MainWindow, StartsOnTheDesktopWithItsTitleAndDeskList) {
    std::wstring desktop = DesktopFolder();
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(std::wstring(state_->deskpath), desktop);
    EXPECT_EQ(WindowText(window()), desktop + L" - Ta'rvo");

    wchar_t name[64] = L"";
    GetClassNameW(state_->desklist, name, 64);
    EXPECT_STREQ(name, L"SysListView32");
    EXPECT_EQ(GetParent(state_->desklist), window());
    LONG style = GetWindowLongW(state_->desklist, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | LVS_EDITLABELS | LVS_AUTOARRANGE | LVS_TYPEMASK),
              WS_CHILD | WS_VISIBLE | LVS_EDITLABELS | LVS_AUTOARRANGE | LVS_ICON);
    EXPECT_EQ(style & LVS_SHAREIMAGELISTS, 0);
    EXPECT_EQ(SendMessageW(state_->desklist, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_DOUBLEBUFFER);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(
                  SendMessageW(state_->desklist, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)),
              state_->icons.Images());
    int cx = 0, cy = 0;
    ImageList_GetIconSize(state_->icons.Images(), &cx, &cy);
    EXPECT_EQ(cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(cy, GetSystemMetrics(SM_CYICON));

    EXPECT_TRUE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(window(), GW_OWNER), windows_.owner());
    EXPECT_TRUE(IsWindowVisible(window()));
}

TEST_F(MainWindow, DefaultsAndFileLocationsAfterStartUp) {
    EXPECT_STREQ(state_->filemanager, L"explorer.exe");
    EXPECT_STREQ(state_->cmdprocessor, L"cmd.exe");
    EXPECT_STREQ(state_->textviewer, L"notepad.exe");
    EXPECT_STREQ(state_->arcmanager, L"");
    EXPECT_STREQ(state_->home, L"");
    EXPECT_EQ(state_->sort, 1);
    EXPECT_TRUE(state_->dirsfirst);
    EXPECT_TRUE(state_->recycler);
    EXPECT_EQ(state_->pinnedsubmenu, -1);
    EXPECT_EQ(state_->trayicondata.cbSize, 952u);
    EXPECT_EQ(state_->trayicondata.uCallbackMessage, UINT(WM_TRAYICON));
    EXPECT_EQ(state_->trayicondata.uFlags, UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_STREQ(state_->trayicondata.szTip, L"Ta'rvo");
    EXPECT_EQ(state_->recyclebininfo.cbSize, 24u);
    EXPECT_NE(state_->setlayered, nullptr);

    std::wstring folder = ModuleFolder();
    EXPECT_EQ(std::wstring(state_->inipath), folder + L"\\tarvo.ini");
    EXPECT_EQ(std::wstring(state_->langpath), folder + L"\\tarvo.lang.ini");
    EXPECT_EQ(std::wstring(state_->helppath), folder + L"\\Tarvo.txt");

    // The built-in menu texts were collected from the menu resource.
    EXPECT_STREQ(MenuTextTable[1].text, L"Open\tEnter");
    EXPECT_STREQ(MenuTextTable[58].text, L"E&xit\tEsc");
    EXPECT_STREQ(SubmenuTextTable[0].text, L"T&a'rvo");
    EXPECT_STREQ(SubmenuTextTable[5].text, L"Info");
    EXPECT_STREQ(MessageText(kMessageUnavailable), L"is unavailable");
    EXPECT_EQ(MessageText(static_cast<MessageId>(6)), nullptr);
    EXPECT_EQ(DialogText(static_cast<DialogTextId>(10)), nullptr);
}

TEST_F(MainWindow, TheDeskListFillsTheClientAreaAndTheRectangleFollows) {
    SetWindowPos(window(), nullptr, 40, 30, 420, 310, SWP_NOZORDER);
    RECT client, list, frame;
    GetClientRect(window(), &client);
    GetWindowRect(state_->desklist, &list);
    MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.left, 0);
    EXPECT_EQ(list.top, 0);
    EXPECT_EQ(list.right, client.right);
    EXPECT_EQ(list.bottom, client.bottom);
    GetWindowRect(window(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &state_->windowrect));

    SendMessageW(window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    GetClientRect(state_->desklist, &list);
    EXPECT_EQ(list.right, 300);
    EXPECT_EQ(list.bottom, 200);

    MoveWindow(window(), 60, 70, 420, 310, TRUE);
    GetWindowRect(window(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &state_->windowrect));
}

TEST_F(MainWindow, MinimumTrackingWidthIsOneIconCell) {
    MINMAXINFO info = {};
    info.ptMinTrackSize = {1, 7};
    SendMessageW(window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, GetSystemMetrics(SM_CXICONSPACING));
    EXPECT_EQ(info.ptMinTrackSize.y, 7) << "the height is left alone";
}

TEST_F(MainWindow, FocusGivenToTheWindowGoesToTheDeskList) {
    SendMessageW(window(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(GetFocus(), state_->desklist);
}

TEST_F(MainWindow, EndSessionCancelledChangesNothing) {
    std::wstring title = WindowText(window());
    SendMessageW(window(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(TheAppState, state_);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_EQ(WindowText(window()), title);
}

TEST_F(MainWindow, AfterEndSessionNoMessageReachesTheState) {
    // The log-off saves the settings: into a file of this test's own.
    CopyText(state_->inipath, windows_.settingsPath().c_str());
    SendMessageW(window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(TheAppState, nullptr);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    // The window is still there; what follows must not reach the shut-down record.
    EXPECT_TRUE(IsWindow(window()));
    SendMessageW(window(), WM_SIZE, 0, MAKELPARAM(200, 100));
    SendMessageW(window(), WM_TIMER, TIMER_TRIM, 0);
    SendMessageW(window(), WM_COMMAND, CMD_EXIT, 0);
    SendMessageW(window(), WM_SETFOCUS, 0, 0);
    SendMessageW(window(), WM_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindow(window())) << "Exit had no record to reach";
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window()));
}

TEST_F(MainWindow, UnknownTimersAreIgnoredAndTheTrimTimerIsHarmless) {
    std::wstring title = WindowText(window());
    RECT before = state_->windowrect;
    SendMessageW(window(), WM_TIMER, 4242, 0);
    SendMessageW(window(), WM_TIMER, TIMER_TRIM, 0);
    EXPECT_EQ(WindowText(window()), title);
    EXPECT_TRUE(EqualRect(&before, &state_->windowrect));
    EXPECT_TRUE(IsWindow(window()));
}

TEST_F(MainWindow, DropTargetAnswersOnlyItsTwoInterfacesAndNeverFreesItself) {
    IUnknown* unknown = nullptr;
    ULONG count = state_->refcount;
    ASSERT_EQ(state_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(static_cast<IDropTarget*>(state_)));
    EXPECT_EQ(state_->refcount, count + 1);
    IDropTarget* target = nullptr;
    ASSERT_EQ(state_->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&target)), S_OK);
    EXPECT_EQ(target, static_cast<IDropTarget*>(state_));
    EXPECT_EQ(state_->refcount, count + 2);

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(state_->QueryInterface(IID_IDataObject, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);

    while (state_->Release() != 0) {
    }
    EXPECT_EQ(state_->refcount, 0u);
    // Still alive and usable.
    EXPECT_EQ(state_->AddRef(), 1u);
    EXPECT_STREQ(state_->deskpath, DesktopFolder().c_str());

    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(state_->DragOver(0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
}

TEST_F(MainWindow, PathAtPointNamesTheItemOrTheDeskFolder) {
    MoveWindow(window(), 0, 0, 500, 400, TRUE);
    listDesk({L"Mail.lnk", L"notes.txt"});
    RECT icon = {};
    icon.left = LVIR_ICON;
    ASSERT_TRUE(SendMessageW(state_->desklist, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon)));
    POINT inside = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    ClientToScreen(state_->desklist, &inside);
    wchar_t path[kPathUnits] = L"";
    state_->PathAtPoint(POINTL{inside.x, inside.y}, path);
    EXPECT_EQ(path, desk_ / L"Mail.lnk");

    POINT empty = {480, 380};
    ClientToScreen(window(), &empty);
    state_->PathAtPoint(POINTL{empty.x, empty.y}, path);
    EXPECT_EQ(path, desk_.path());
    state_->PathAtPoint(POINTL{-3000, -3000}, path);
    EXPECT_EQ(path, desk_.path());
}

TEST_F(MainWindow, ExitAbandonsAnOpenLabelEditInsteadOfClosing) {
    listDesk({L"notes.txt"});
    SetFocus(state_->desklist);
    HWND edit = reinterpret_cast<HWND>(SendMessageW(state_->desklist, LVM_EDITLABELW, 0, 0));
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(state_->namebox.Box(), edit);
    SetWindowTextW(edit, L"renamed.txt");
    SendMessageW(window(), WM_COMMAND, CMD_EXIT, 0);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_FALSE(IsWindow(edit)) << "the edit box was closed";
    EXPECT_FALSE(state_->namebox.Open());
    EXPECT_EQ(state_->namebox.SourcePath()[0], L'\0') << "nothing was renamed";

    CopyText(state_->inipath, windows_.settingsPath().c_str()); // where the exit saves
    SendMessageW(window(), WM_COMMAND, CMD_EXIT, 0);
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_EQ(TheAppState, nullptr);
}

// A dialog of ours leaves the window disabled while the command that opened
// it waits: a tray click and a close from outside only bring the dialog forward.
TEST_F(MainWindow, WhileADialogIsUpNeitherTheTrayMenuNorACloseRuns) {
    // Should the close go through, its save goes to a file of this test's own.
    CopyText(state_->inipath, windows_.settingsPath().c_str());
    HWND menu = nullptr;
    bool dialogLived = false;
    auto answer = [&](HWND dialog) {
        PostMessageW(window(), WM_TRAYICON, 0, WM_RBUTTONUP);
        menu = WaitForTopLevelWindow(GetCurrentProcessId(), L"#32768", 1500);
        if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window(), WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, &result);
        dialogLived = IsWindow(dialog) && IsWindow(window());
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    ASSERT_TRUE(AnswerDialog([&] { state_->ChooseTool(ToolKind::FileManager); }, answer));
    EXPECT_EQ(menu, nullptr) << "no command menu inside the dialog";
    EXPECT_TRUE(dialogLived);
    EXPECT_EQ(TheAppState, state_);
}

TEST_F(MainWindow, TrayIconClickTogglesTheWindow) {
    ASSERT_TRUE(IsWindowVisible(window()));
    SendMessageW(window(), WM_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_FALSE(IsWindowVisible(window()));
    SendMessageW(window(), WM_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_TRUE(IsWindowVisible(window()));
    ShowWindow(window(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window()));
    SendMessageW(window(), WM_TRAYICON, 0, WM_LBUTTONUP);
    EXPECT_FALSE(IsIconic(window()));
    EXPECT_TRUE(IsWindowVisible(window()));
    SendMessageW(window(), WM_TRAYICON, 0, WM_MOUSEMOVE);
    EXPECT_TRUE(IsWindowVisible(window())) << "other mouse messages do nothing";
}

