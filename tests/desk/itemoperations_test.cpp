// New items, renames and the label-edit lifecycle on the real main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <set>
#include <string>

#include "app/appstate.h"
#include "app/application.h"
#include "commands/commandids.h"
#include "support/testsupport.h"

namespace {

// Message boxes are counted and answered by a timer their modal loop runs.
std::set<HWND> MessageBoxesSeen;
void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindTopLevelWindow(GetCurrentProcessId(), L"#32770");
    if (box && MessageBoxesSeen.insert(box).second) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

class ItemOperations : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { windows_ = std::make_unique<MainWindowTest>(); }
    static void TearDownTestSuite() { windows_.reset(); }
    void SetUp() override { ASSERT_TRUE(CopyText(state_->deskpath, desk_.path().c_str())); }
    int find(const wchar_t* text) const {
        LVFINDINFOW find = {};
        find.flags = LVFI_STRING;
        find.psz = text;
        return ListView_FindItem(state_->desklist, -1, &find);
    }
    // Types the text into the open edit and ends it as Enter (commit) or Esc
    // (the Exit command) does.
    void endEdit(const wchar_t* text, bool commit) {
        ASSERT_NE(state_->editwindow, nullptr);
        SetWindowTextW(state_->editwindow, text);
        state_->commitedit = commit;
        if (commit)
            SendMessageW(state_->editwindow, WM_CLOSE, 0, 0);
        else
            state_->RunCommand(CMD_EXIT);
        EXPECT_EQ(state_->editwindow, nullptr);
        EXPECT_TRUE(IsWindow(windows_->window())) << "Esc ends the edit, not the program";
    }

    static std::unique_ptr<MainWindowTest> windows_;
    AppState* state_ = TheAppState;
    TempFolder desk_;
};
std::unique_ptr<MainWindowTest> ItemOperations::windows_;

} // namespace

TEST_F(ItemOperations, NewFilesTakeTheFirstFreeNumberAndWarnOnceWhenAllAreTaken) {
    desk_.file(L"New File.txt");
    desk_.file(L"New File01.txt");
    state_->CreateNewItem(true);
    EXPECT_TRUE(PathExists(desk_ / L"New File02.txt"));
    EXPECT_TRUE(state_->editafterrefresh);
    state_->RefreshDeskList();
    state_->EditFoundItem();
    EXPECT_FALSE(state_->editafterrefresh);
    EXPECT_EQ(std::wstring(state_->editpath), desk_ / L"New File02.txt");
    endEdit(L"Kept.txt", false);
    EXPECT_TRUE(PathExists(desk_ / L"New File02.txt"));

    for (int n = 3; n < 100; ++n)
        desk_.file(L"New File" + std::to_wstring(n / 10) + std::to_wstring(n % 10) + L".txt");
    UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerMessageBoxes);
    state_->CreateNewItem(true);
    KillTimer(nullptr, timer);
    EXPECT_EQ(MessageBoxesSeen.size(), 1u);
    EXPECT_FALSE(state_->editafterrefresh);
    state_->RefreshDeskList();
    EXPECT_EQ(ListView_GetItemCount(state_->desklist), 100) << "nothing was created";
}

TEST_F(ItemOperations, EditsRenameOnlyTheEditedItemAndTheRenamedShortcutIsFoundByItsLabel) {
    for (const wchar_t* name : {L"Mail.lnk", L"Notes.txt", L"Plan.txt"})
        desk_.file(name);
    state_->RefreshDeskList();
    const std::wstring tooLong(250, L'x'); // refused whole, never cut to fit
    struct Case {
        const wchar_t *item, *text;
        bool commit;
        const wchar_t *label, *exists, *gone; // afterwards; gone: renamed away
    } cases[] = {
        {L"Notes.txt", L"Plan.txt", true, L"Notes.txt", L"Notes.txt", nullptr},
        {L"Plan.txt", tooLong.c_str(), true, L"Plan.txt", L"Plan.txt", nullptr},
        {L"Mail", L"Post", true, L"Post", L"Post.lnk", L"Mail.lnk"},
        {L"Notes.txt", L"Kept.txt", false, L"Notes.txt", L"Notes.txt", L"Kept.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.item << " to " << c.text);
        int index = find(c.item);
        SetFocus(state_->desklist);
        state_->editwindow = ListView_EditLabel(state_->desklist, index);
        endEdit(c.text, c.commit);
        wchar_t label[kPathUnits] = L"";
        ListView_GetItemText(state_->desklist, index, 0, label, kPathUnits);
        EXPECT_STREQ(label, c.label);
        EXPECT_TRUE(PathExists(desk_ / c.exists));
        if (c.gone) {
            EXPECT_FALSE(PathExists(desk_ / c.gone));
        }
    }

    state_->RefreshDeskList();
    state_->SelectFoundItem();
    EXPECT_FALSE(state_->selectafterrefresh);
    EXPECT_EQ(ListView_GetNextItem(state_->desklist, -1, LVNI_SELECTED), find(L"Post"));

    // After that abandoned edit, a click on the label of the selected,
    // focused item makes the list start an edit itself: it renames that item.
    int plan = find(L"Plan.txt");
    ListView_SetItemState(state_->desklist, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(state_->desklist, plan, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(state_->desklist);
    RECT rect;
    ListView_GetItemRect(state_->desklist, plan, &rect, LVIR_LABEL);
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(state_->desklist, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(state_->desklist, WM_LBUTTONUP, 0, point);
    ASSERT_TRUE(WaitFor([&] { return state_->editwindow != nullptr; }, 5000));
    endEdit(L"Renamed.txt", true);
    EXPECT_TRUE(PathExists(desk_ / L"Renamed.txt"));
    EXPECT_FALSE(PathExists(desk_ / L"Plan.txt"));
    EXPECT_TRUE(PathExists(desk_ / L"Notes.txt"));
}
