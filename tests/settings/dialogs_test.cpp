// The dialogs, opened on the real main window and answered from a second thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>

#include "app/application.h"
#include "app/appstate.h"
#include "resources/resource.h"
#include "shell/winefallback.h"
#include "support/testsupport.h"

namespace {

class Dialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { windows_ = std::make_unique<MainWindowTest>(); }
    static void TearDownTestSuite() { windows_.reset(); }
    void SetUp() override { ASSERT_NE(state_ = TheAppState, nullptr); }
    static inline std::unique_ptr<MainWindowTest> windows_;
    AppState* state_ = nullptr;
};

} // namespace

TEST_F(Dialogs, ToolDialogShowsTheToolAndOnlyOkStoresTheEditOrThePick) {
    const std::wstring program = ModuleFolder() + L"\\tarvo_probe.exe";
    const struct {
        const wchar_t* typed; // null: the program picked with "..."
        UINT close;           // IDCANCEL is Esc
        std::wstring expected;
    } cases[] = {{L"", IDOK, L""},
                 {L"edit.exe", IDCANCEL, L"tool.exe"},
                 {nullptr, IDCANCEL, L"tool.exe"},
                 {nullptr, IDOK, program}};
    wchar_t directory[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, directory); // the picker moves it
    for (const auto& c : cases) {
        CopyText(state_->textviewer, L"tool.exe");
        std::wstring shown;
        auto user = [&](HWND dialog) {
            HWND edit = GetDlgItem(dialog, IDC_TOOL_EDIT);
            shown = WindowText(dialog) + L"|" + WindowText(edit);
            if (c.typed) {
                SetWindowTextW(edit, c.typed);
            } else {
                PostMessageW(dialog, WM_COMMAND, IDC_TOOL_BROWSE, 0);
                HWND picker = nullptr;
                for (int i = 0; i < 400 && !picker; ++i, Sleep(25))
                    picker = FindTopLevelWindow(GetCurrentProcessId(), L"#32770", L"Open");
                // The file name box: an edit of its own, or the edit inside a combo box.
                HWND box = GetDlgItem(picker, 0x47C) ? GetDlgItem(picker, 0x47C)
                                                     : GetDlgItem(picker, 0x480);
                SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program.c_str()));
                PostMessageW(picker, WM_COMMAND, IDOK, 0);
                for (int i = 0; i < 400 && WindowText(edit) != program; ++i)
                    Sleep(25);
            }
            PostMessageW(dialog, WM_COMMAND, c.close, 0);
        };
        ASSERT_TRUE(AnswerDialog([&] { state_->ChooseTool(ToolKind::TextViewer); }, user));
        EXPECT_EQ(shown, L"Text Viewer|tool.exe");
        EXPECT_EQ(std::wstring(state_->textviewer), c.expected) << (c.typed ? c.typed : L"picked");
    }
    SetCurrentDirectoryW(directory);
}

TEST_F(Dialogs, FolderBrowserOpensOnTheDeskFolderAndStoresOnlyAChoice) {
    const std::wstring first = ModuleFolder();
    const std::wstring name = first.substr(first.find_last_of(L'\\') + 1);
    TempFolder second;
    bool noSelection = false;
    for (UINT close : {IDCANCEL, IDOK}) {
        CopyText(state_->deskpath, first.c_str());
        std::wstring selected;
        auto user = [&](HWND dialog) {
            // The tree is made, filled and selected after the box shows.
            for (int tries = 0; tries < 100 && selected != name; ++tries, Sleep(50)) {
                HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
                wchar_t text[MAX_PATH] = L"";
                TVITEMW item = {
                    TVIF_TEXT, TreeView_GetSelection(tree), 0, 0, text, MAX_PATH, 0, 0, 0, 0};
                if (item.hItem && TreeView_GetItem(tree, &item)) selected = text;
            }
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(second.path().c_str()));
            PostMessageW(dialog, WM_COMMAND, close, 0);
        };
        bool chosen = false;
        ASSERT_TRUE(AnswerDialog([&] { chosen = state_->ChooseDeskFolder(); }, user));
        EXPECT_EQ(chosen, close == IDOK);
        // Wine's browser at times (one run in ten) shows no selection at all.
        const bool blank = selected.empty() && RunningOnWine();
        noSelection |= blank;
        if (!blank) {
            EXPECT_EQ(selected, name);
        }
        EXPECT_EQ(std::wstring(state_->deskpath), close == IDOK ? second.path() : first);
    }
    if (noSelection) GTEST_SKIP() << "Wine's folder browser ignored the starting selection";
}

TEST_F(Dialogs, BackgroundColourRecoloursTheListOnlyWhenChosen) {
    // OK takes 10, 20, 30; a cancelled 11, 21, 31 changes nothing.
    for (int cancel : {0, 1}) {
        auto user = [&](HWND dialog) {
            for (int edit : {706, 707, 708}) { // red, green, blue
                SetDlgItemInt(dialog, edit, (edit - 705) * 10 + cancel, FALSE);
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(edit, EN_UPDATE),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, edit)));
            }
            PostMessageW(dialog, WM_COMMAND, cancel ? IDCANCEL : IDOK, 0);
        };
        ASSERT_TRUE(AnswerDialog([&] { state_->ChooseBackgroundColour(); }, user));
        // The icons are drawn onto the colour, so no box shows around them.
        const COLORREF want = RGB(10, 20, 30);
        EXPECT_EQ(state_->colour, want);
        EXPECT_EQ(COLORREF(SendMessageW(state_->desklist, LVM_GETBKCOLOR, 0, 0)), want);
        EXPECT_EQ(ImageList_GetBkColor(state_->icons.Images()), want);
    }
}
