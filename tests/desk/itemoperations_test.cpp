// New items, renames and the label-edit lifecycle on the real main window.
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

// Message boxes are counted and answered by a timer their modal loop runs.
std::set<HWND> MessageBoxesSeen;
void CALLBACK AnswerMessageBoxes(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindTopLevelWindow(GetCurrentProcessId(), L"#32770");
    if (box && MessageBoxesSeen.insert(box).second) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST(ItemOperations, NewItemsRenamesAndTheirFollowUpsAfterARefresh) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    HWND list = state->desklist;
    TempFolder desk, full;
    auto find = [&](const wchar_t* text) {
        LVFINDINFOW find = {LVFI_STRING, text, 0, {}, 0};
        return ListView_FindItem(list, -1, &find);
    };
    // Types the text into the open edit and ends it as Enter or Esc does.
    auto endEdit = [&](const wchar_t* text, bool commit) {
        ASSERT_NE(state->namebox.Box(), nullptr);
        SetWindowTextW(state->namebox.Box(), text);
        if (commit)
            state->namebox.Close(true);
        else
            state->RunCommand(CMD_EXIT);
        EXPECT_FALSE(state->namebox.Open());
        EXPECT_TRUE(IsWindow(windows.window())) << "Esc ends the edit, not the program";
    };

    CopyText(state->deskpath, full.path().c_str());
    full.file(L"New File.txt");
    full.file(L"New File01.txt");
    state->CreateNewItem(true);
    // The follow-up comes with the next fill of the folder, whoever asks for it.
    state->RefreshDeskList();
    EXPECT_FALSE(state->namebox.FollowUpWaiting());
    EXPECT_EQ(std::wstring(state->namebox.SourcePath()), full / L"New File02.txt");
    endEdit(L"Kept.txt", false);
    for (int n = 3; n < 100; ++n)
        full.file(L"New File" + std::to_wstring(n / 10) + std::to_wstring(n % 10) + L".txt");
    UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerMessageBoxes);
    state->CreateNewItem(true);
    KillTimer(nullptr, timer);
    EXPECT_EQ(MessageBoxesSeen.size(), 1u);
    state->RefreshDeskList();
    EXPECT_EQ(ListView_GetItemCount(list), 100) << "nothing was created";

    CopyText(state->deskpath, desk.path().c_str());
    for (const wchar_t* name : {L"Mail.lnk", L"Site.lnk", L"Notes.txt", L"Plan.txt"})
        desk.file(name);
    state->RefreshDeskList();
    struct Case {
        const wchar_t *item, *text;
        bool commit;
        const wchar_t *label, *exists, *gone; // afterwards; gone: renamed away
    } cases[] = {
        {L"Notes.txt", L"Plan.txt", true, L"Notes.txt", L"Notes.txt", nullptr},
        // A shortcut's label may end in a dot: ".lnk" follows it.
        {L"Site", L"Site.", true, L"Site.", L"Site..lnk", L"Site.lnk"},
        {L"Mail", L"Post", true, L"Post", L"Post.lnk", L"Mail.lnk"},
        {L"Notes.txt", L"Kept.txt", false, L"Notes.txt", L"Notes.txt", L"Kept.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.item << " to " << c.text);
        int index = find(c.item);
        SetFocus(list);
        ListView_EditLabel(list, index);
        endEdit(c.text, c.commit);
        wchar_t label[kPathUnits] = L"";
        ListView_GetItemText(list, index, 0, label, kPathUnits);
        EXPECT_STREQ(label, c.label);
        EXPECT_TRUE(PathExists(desk / c.exists));
        EXPECT_TRUE(!c.gone || !PathExists(desk / c.gone));
    }
    state->RefreshDeskList();
    EXPECT_FALSE(state->namebox.FollowUpWaiting());
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), find(L"Post"));

    // After that abandoned edit, a click on the label of the selected,
    // focused item makes the list start an edit itself: it renames that item.
    int plan = find(L"Plan.txt");
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, plan, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(list);
    RECT rect;
    ListView_GetItemRect(list, plan, &rect, LVIR_LABEL);
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    UpdateWindow(list); // clicks go by what the user sees
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(list, WM_LBUTTONUP, 0, point);
    ASSERT_TRUE(WaitFor([&] { return state->namebox.Open(); }, 5000));
    endEdit(L"Renamed.txt", true);
    EXPECT_TRUE(PathExists(desk / L"Renamed.txt") && !PathExists(desk / L"Plan.txt"));
    EXPECT_TRUE(PathExists(desk / L"Notes.txt"));

    // A follow-up belongs to the folder it was made in: after a change of
    // folder it is dropped, even where an item of the same name stands.
    TempFolder other;
    other.file(L"New File.txt");
    state->CreateNewItem(true);
    CopyText(state->deskpath, other.path().c_str());
    state->OnFolderChanged();
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_FALSE(state->namebox.Open()) << "no edit of the other folder's item";
    CopyText(state->deskpath, desk.path().c_str());
    state->OnFolderChanged();
    EXPECT_FALSE(state->namebox.Open()) << "the follow-up was dropped";
}
