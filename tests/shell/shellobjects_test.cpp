// The shell's own objects for desk items through the real main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "app/mainwindow.h"
#include "shell/shellcheck.h"
#include "shell/shellmenu.h"
#include "shell/winefallback.h"
#include "support/testsupport.h"

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The main window on a desk of a.txt, b.txt, c.txt and Sub; other_ holds x.txt.
class ShellObjects : public ::testing::Test {
  protected:
    void SetUp() override {
        MoveWindow(windows_.window(), 0, 0, 500, 400, TRUE);
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
            desk_.file(name);
        desk_.folder(L"Sub");
        other_.file(L"x.txt");
        show(desk_.path());
    }
    void show(const std::wstring& folder) {
        ASSERT_TRUE(CopyText(state_.deskpath, folder.c_str()));
        state_.RefreshDeskList();
        // Painted: drops go by what the user sees.
        UpdateWindow(state_.desklist);
    }
    int indexOf(const wchar_t* label) {
        LVFINDINFOW find = {LVFI_STRING, label, 0, {}, 0};
        return ListView_FindItem(state_.desklist, -1, &find);
    }
    void select(std::initializer_list<const wchar_t*> labels) {
        ListView_SetItemState(state_.desklist, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (const wchar_t* label : labels)
            ListView_SetItemState(state_.desklist, indexOf(label), LVIS_SELECTED, LVIS_SELECTED);
    }
    // The screen point at the middle of an item's icon, or of empty space.
    POINTL pointAt(const wchar_t* label) {
        RECT icon = {LVIR_ICON, 0, 0, 0};
        if (label) ListView_GetItemRect(state_.desklist, indexOf(label), &icon, LVIR_ICON);
        POINT point = label ? POINT{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}
                            : POINT{480, 380};
        ClientToScreen(state_.desklist, &point);
        return {point.x, point.y};
    }

    MainWindowTest windows_;
    AppState& state_ = *TheAppState;
    TempFolder desk_, other_;
};

} // namespace

TEST(ShellAddressing, CommonParentOrDesktopByTheShapeOfThePaths) {
    struct Row {
        PathList paths;
        bool fromdesktop;
        std::wstring parent;
        PathList names;
    } rows[] = {
        {{L"C:\\Desk\\a.txt", L"C:\\Desk\\Sub"}, false, L"C:\\Desk", {L"a.txt", L"Sub"}},
        {{L"D:\\a.txt", L"D:\\b"}, false, L"D:\\", {L"a.txt", L"b"}},
        {{L"C:\\Desk\\a", L"C:\\Other\\b"}, true, L"", {L"C:\\Desk\\a", L"C:\\Other\\b"}},
        {{L"C:\\Desk\\a", L"c:\\desk\\b"}, true, L"", {L"C:\\Desk\\a", L"c:\\desk\\b"}},
        {{L"D:\\", L"D:\\a"}, true, L"", {L"D:\\", L"D:\\a"}},
        {{L"D:", L"C:"}, true, L"", {L"D:\\", L"C:\\"}},
    };
    for (const Row& row : rows) {
        ShellAddressing how = DecideAddressing(row.paths);
        EXPECT_EQ(how.fromdesktop, row.fromdesktop) << row.paths[1];
        EXPECT_EQ(how.parent, row.parent) << row.paths[1];
        EXPECT_EQ(how.names, row.names) << row.paths[1];
    }
}

TEST(DropEffect, KeysVolumesAndWhatTheSourceAllows) {
    const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    struct Row {
        DWORD keys, allowed;
        bool sameVolume;
        DWORD effect;
    } rows[] = {{MK_LBUTTON, all, true, DROPEFFECT_MOVE},
                {MK_LBUTTON, all, false, DROPEFFECT_COPY},
                {MK_CONTROL, all, true, DROPEFFECT_COPY},
                {MK_SHIFT, all, false, DROPEFFECT_MOVE},
                {MK_CONTROL | MK_SHIFT, all, true, DROPEFFECT_LINK},
                {MK_ALT, all, false, DROPEFFECT_LINK},
                {0, DROPEFFECT_LINK, false, DROPEFFECT_LINK},
                {MK_SHIFT, DROPEFFECT_COPY, true, DROPEFFECT_NONE}};
    for (const Row& row : rows)
        EXPECT_EQ(ChooseDropEffect(row.keys, row.allowed, row.sameVolume), row.effect)
            << row.keys << "/" << row.allowed;
    EXPECT_EQ(OutsideFolder({L"C:\\D\\a", L"C:\\E\\b", L"c:\\d", L"C:\\D\\Sub\\c"}, L"C:\\d\\"),
              (PathList{L"C:\\E\\b", L"C:\\D\\Sub\\c"}));
}

// An item deleted meanwhile spoils the whole copy; paste goes to the desk
// folder whatever is selected.
TEST_F(ShellObjects, CopyThenPasteDuplicatesAndCutThenPasteMovesToTheNewDeskFolder) {
    EXPECT_EQ(InvokeShellVerb({desk_ / L"gone.txt", desk_ / L"a.txt"}, "copy", nullptr), E_FAIL);
    select({L"a.txt"});
    state_.InvokeVerbOnItems("copy");
    select({L"b.txt"});
    state_.InvokeVerbOnItems("paste");
    EXPECT_TRUE(Exists(desk_ / L"a - Copy.txt") && Exists(desk_ / L"a.txt"));
    select({L"b.txt", L"Sub"});
    state_.InvokeVerbOnItems("cut");
    show(other_.path());
    state_.InvokeVerbOnItems("paste");
    EXPECT_TRUE(Exists(other_ / L"b.txt") && Exists(other_ / L"Sub"));
    EXPECT_FALSE(Exists(desk_ / L"b.txt") || Exists(desk_ / L"Sub"));
}

// The menu is closed from a timer inside its own modal loop, with Esc or by
// choosing Copy.
TEST_F(ShellObjects, TheWindowProcedureIsBackAfterAShellMenuClosesChosenOrNot) {
    static WNDPROC during;
    static int steps;
    PathList items = {desk_ / L"a.txt", desk_ / L"c.txt"};
    for (bool chooseCopy : {false, true}) {
        OpenClipboard(nullptr), EmptyClipboard(), CloseClipboard();
        during = nullptr;
        steps = chooseCopy ? CopyEntrySteps(items) : 0;
        ASSERT_EQ(chooseCopy, steps > 0);
        UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            HWND popup = FindWindowW(L"#32768", nullptr);
            if (!popup || !IsWindowVisible(popup)) return;
            KillTimer(nullptr, id);
            during =
                reinterpret_cast<WNDPROC>(GetWindowLongPtrW(TheAppState->mainwindow, GWLP_WNDPROC));
            for (int i = 0; i < steps; ++i)
                PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(popup, WM_KEYDOWN, steps ? VK_RETURN : VK_ESCAPE, 0);
        });
        UINT id = ShowShellContextMenu(items, {100, 100}, windows_.window());
        KillTimer(nullptr, timer);
        EXPECT_NE(during, nullptr) << "the menu was shown";
        EXPECT_NE(during, &MainWindowProc) << "subclassed while tracked";
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(windows_.window(), GWLP_WNDPROC)),
                  &MainWindowProc);
        EXPECT_EQ(id != 0, chooseCopy);
        EXPECT_EQ(ClipboardFiles(), chooseCopy ? items : PathList{});
    }
}

// Files of another folder dropped on empty space, desk items on a folder item.
// Each position gets a fresh shell target and lets the earlier one go.
TEST_F(ShellObjects, DroppedFilesLandInTheFolderUnderTheCursor) {
    struct Row {
        PathList files;
        const wchar_t* onto;
        std::wstring folder;
    } rows[] = {{{other_ / L"x.txt"}, nullptr, desk_.path()},
                {{desk_ / L"a.txt", desk_ / L"c.txt"}, L"Sub", desk_ / L"Sub"}};
    for (const Row& row : rows) {
        ComPtr<IDataObject> data;
        ASSERT_TRUE(GetShellObject(row.files, IID_IDataObject, data.putVoid(), nullptr));
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        // Leaving the window lets go of the shell target held for the cursor.
        state_.DragEnter(data.get(), MK_LBUTTON, pointAt(L"Sub"), &effect);
        state_.DragOver(MK_LBUTTON, pointAt(L"Sub"), &effect);
        EXPECT_NE(state_.droptarget, nullptr);
        state_.DragLeave();
        EXPECT_EQ(state_.droptarget, nullptr);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(state_.DragEnter(data.get(), MK_LBUTTON, pointAt(row.onto), &effect), S_OK);
        IDropTarget* held = nullptr;
        for (const wchar_t* onto : {L"Sub", L"b.txt", row.onto}) {
            effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            EXPECT_EQ(state_.DragOver(MK_LBUTTON, pointAt(onto), &effect), S_OK);
            EXPECT_EQ(held ? held->Release() : 0u, 0u) << "one shell target at a time";
            if ((held = state_.droptarget)) held->AddRef();
        }
        ASSERT_NE(held, nullptr);
        held->Release();
        EXPECT_EQ(effect, DWORD(DROPEFFECT_MOVE)) << "within one drive";
        EXPECT_EQ(state_.Drop(data.get(), 0, pointAt(row.onto), &effect), S_OK);
        EXPECT_EQ(state_.droptarget, nullptr);
        for (const std::wstring& file : row.files)
            EXPECT_TRUE(Exists(row.folder + file.substr(file.rfind(L'\\'))) && !Exists(file));
    }
    // Items dragged out of the list and let go over one of themselves stay.
    PathList dragged = {desk_ / L"b.txt", desk_ / L"Sub"};
    ComPtr<IDataObject> data;
    ASSERT_TRUE(GetShellObject(dragged, IID_IDataObject, data.putVoid(), nullptr));
    state_.draggedout = &dragged;
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    state_.DragEnter(data.get(), MK_LBUTTON, pointAt(L"Sub"), &effect);
    state_.DragOver(MK_LBUTTON, pointAt(L"Sub"), &effect);
    EXPECT_EQ(std::wstring(state_.droppath), desk_.path());
    state_.Drop(data.get(), 0, pointAt(L"Sub"), &effect);
    state_.draggedout = nullptr;
    EXPECT_TRUE(Exists(desk_ / L"b.txt") && !Exists(desk_ / L"Sub\\b.txt"));
}

namespace {

// A drop target that takes copies and records the files.
struct RecordingTarget : IDropTarget {
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        *object = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* e) override {
        return Drop(0, 0, {}, e);
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* e) override { return Drop(0, 0, {}, e); }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        if (data) dropped = DroppedFiles(data);
        return *effect &= DROPEFFECT_COPY, S_OK;
    }
    PathList dropped;
};

} // namespace

// With no button held the drag drops at once where the cursor is.
TEST_F(ShellObjects, ADragOutHandsTheSelectedPathsInIndexOrder) {
    WindowHandle window(CreateWindowExW(WS_EX_TOPMOST, L"Static", L"",
                                        WS_POPUP | WS_VISIBLE | SS_NOTIFY, 600, 400, 200, 200,
                                        nullptr, nullptr, nullptr, nullptr));
    RecordingTarget target;
    ASSERT_EQ(RegisterDragDrop(window.get(), &target), S_OK);
    SetCursorPos(700, 500);
    select({L"c.txt", L"Sub", L"a.txt"});
    state_.DragSelectedItemsOut();
    RevokeDragDrop(window.get());
    EXPECT_EQ(target.dropped, (PathList{desk_ / L"Sub", desk_ / L"a.txt", desk_ / L"c.txt"}));
}
