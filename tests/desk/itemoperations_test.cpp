// Item operations and the label-edit lifecycle on the real main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>

#include "app/appstate.h"
#include "app/application.h"
#include "commands/commandids.h"
#include "support/testsupport.h"

namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Message boxes of this thread are counted and answered by a timer, which
// their modal loop dispatches.
std::set<HWND> MessageBoxesSeen;
void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t name[16] = L"";
            GetClassNameW(window, name, 16);
            if (wcscmp(name, L"#32770") == 0 && IsWindowVisible(window)) {
                MessageBoxesSeen.insert(window);
                PostMessageW(window, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
        },
        0);
}

class ItemOperations : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
        MoveWindow(windows_.window(), 0, 0, 600, 400, TRUE);
        ASSERT_TRUE(CopyText(state_->deskpath, desk_.path().c_str()));
    }
    std::wstring label(int index) const {
        wchar_t text[kPathUnits] = L"";
        ListView_GetItemText(state_->desklist, index, 0, text, kPathUnits);
        return text;
    }
    int find(const wchar_t* text) const {
        LVFINDINFOW find = {};
        find.flags = LVFI_STRING;
        find.psz = text;
        return ListView_FindItem(state_->desklist, -1, &find);
    }
    // Starts an edit as Rename does, types the text and ends it as Enter
    // (commit) or Esc (the Exit command) does.
    void edit(int index, const wchar_t* text, bool commit) {
        SetFocus(state_->desklist);
        state_->editwindow =
            reinterpret_cast<HWND>(SendMessageW(state_->desklist, LVM_EDITLABELW, index, 0));
        endEdit(text, commit);
    }
    void endEdit(const wchar_t* text, bool commit) {
        ASSERT_NE(state_->editwindow, nullptr);
        SetWindowTextW(state_->editwindow, text);
        if (commit) {
            state_->commitedit = true;
            SendMessageW(state_->editwindow, WM_CLOSE, 0, 0);
        } else {
            state_->RunCommand(CMD_EXIT);
        }
        EXPECT_EQ(state_->editwindow, nullptr);
    }

    MainWindowTest windows_;
    TempFolder desk_;
    AppState* state_ = nullptr;
};

} // namespace

TEST_F(ItemOperations, NewItemsTakeTheFirstFreeNumberAndOpenTheirLabelAfterTheRefresh) {
    desk_.file(L"New File.txt");
    desk_.file(L"New File01.txt");
    desk_.folder(L"New Folder");
    state_->CreateNewItem(true);
    EXPECT_TRUE(Exists(desk_ / L"New File02.txt"));
    EXPECT_STREQ(state_->findname, L"New File02.txt");
    EXPECT_TRUE(state_->editafterrefresh);
    state_->CreateNewItem(false);
    EXPECT_EQ(GetFileAttributesW((desk_ / L"New Folder01").c_str()),
              DWORD{FILE_ATTRIBUTE_DIRECTORY});

    state_->RefreshDeskList();
    state_->EditFoundItem();
    EXPECT_FALSE(state_->editafterrefresh);
    EXPECT_EQ(std::wstring(state_->editpath), desk_ / L"New Folder01");
    endEdit(L"Projects", true);
    EXPECT_TRUE(Exists(desk_ / L"Projects"));
    EXPECT_FALSE(Exists(desk_ / L"New Folder01"));
    EXPECT_TRUE(state_->selectafterrefresh);

    // With every candidate taken: one message, nothing created, no follow-up.
    for (int n = 2; n < 100; ++n)
        desk_.folder(L"New Folder" + std::to_wstring(n / 10) + std::to_wstring(n % 10));
    desk_.folder(L"New Folder01");
    state_->editafterrefresh = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerMessageBoxes);
    state_->CreateNewItem(false);
    KillTimer(nullptr, timer);
    EXPECT_EQ(MessageBoxesSeen.size(), 1u);
    EXPECT_FALSE(state_->editafterrefresh);
    EXPECT_FALSE(Exists(desk_ / L"New Folder100"));
}

TEST_F(ItemOperations, EditsRenameOnlyTheEditedFileAndOnlyWhenCommitted) {
    desk_.file(L"Mail.lnk");
    desk_.file(L"Notes.txt");
    desk_.file(L"Plan.txt");
    state_->RefreshDeskList();
    // Fits no path in the desk folder: refused whole, never cut to fit.
    const std::wstring tooLong(250, L'x');
    struct Case {
        const wchar_t* item;
        const wchar_t* text;
        bool commit;
        const wchar_t* label;  // afterwards
        const wchar_t* gone;   // renamed away, or null
        const wchar_t* exists; // on disk afterwards
    } cases[] = {
        {L"Mail", L"Post", true, L"Post", L"Mail.lnk", L"Post.lnk"},
        {L"Notes.txt", L"Plan.txt", true, L"Notes.txt", nullptr, L"Notes.txt"},
        {L"Notes.txt", L"..\\Notes.txt", true, L"Notes.txt", nullptr, L"Notes.txt"},
        {L"Notes.txt", L"Kept.txt", false, L"Notes.txt", nullptr, L"Notes.txt"},
        {L"Plan.txt", tooLong.c_str(), true, L"Plan.txt", nullptr, L"Plan.txt"},
        {L"Plan.txt", L"Todo.txt", true, L"Todo.txt", L"Plan.txt", L"Todo.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "renaming " << c.item << " to " << c.text);
        int index = find(c.item);
        ASSERT_NE(index, -1);
        edit(index, c.text, c.commit);
        EXPECT_EQ(label(index), c.label);
        if (c.gone) {
            EXPECT_FALSE(Exists(desk_ / c.gone));
        }
        EXPECT_TRUE(Exists(desk_ / c.exists));
        EXPECT_FALSE(Exists(desk_.path() + L"\\..\\Notes.txt"));
        EXPECT_TRUE(IsWindow(windows_.window())) << "Esc ends the edit, not the program";
    }

    // The follow-up after the refresh selects the renamed shortcut by its label.
    state_->RefreshDeskList();
    CopyText(state_->findname, L"Post");
    state_->selectafterrefresh = true;
    state_->SelectFoundItem();
    EXPECT_FALSE(state_->selectafterrefresh);
    EXPECT_EQ(ListView_GetNextItem(state_->desklist, -1, LVNI_SELECTED), find(L"Post"));
    CopyText(state_->findname, L"Gone");
    state_->editafterrefresh = true;
    state_->EditFoundItem();
    EXPECT_FALSE(state_->editafterrefresh);
    EXPECT_EQ(state_->editwindow, nullptr);
}

// The list view starts an edit by itself on a click on the label of the
// selected, focused item. After an abandoned edit of another item, that edit
// must rename the clicked item and be committed and ended like any other.
TEST_F(ItemOperations, AnEditTheListStartsItselfRenamesTheClickedItem) {
    desk_.file(L"First.txt");
    desk_.file(L"Second.txt");
    state_->RefreshDeskList();
    edit(find(L"First.txt"), L"Other.txt", false);

    int second = find(L"Second.txt");
    ListView_SetItemState(state_->desklist, second, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(state_->desklist);
    RECT labelRect = {};
    labelRect.left = LVIR_LABEL;
    SendMessageW(state_->desklist, LVM_GETITEMRECT, second, reinterpret_cast<LPARAM>(&labelRect));
    LPARAM point =
        MAKELPARAM((labelRect.left + labelRect.right) / 2, (labelRect.top + labelRect.bottom) / 2);
    PostMessageW(state_->desklist, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(state_->desklist, WM_LBUTTONUP, 0, point);
    ASSERT_TRUE(WaitFor([&] { return state_->editwindow != nullptr; }, 5000))
        << "the list view's own edit is known to the program";
    EXPECT_EQ(state_->editwindow,
              reinterpret_cast<HWND>(SendMessageW(state_->desklist, LVM_GETEDITCONTROL, 0, 0)));
    endEdit(L"Renamed.txt", true);
    EXPECT_TRUE(Exists(desk_ / L"First.txt"));
    EXPECT_TRUE(Exists(desk_ / L"Renamed.txt"));
    EXPECT_FALSE(Exists(desk_ / L"Second.txt"));
}
