// The program's dialogs, opened through their operations on the real main
// window and answered as a user would, from a second thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/appstate.h"
#include "app/application.h"
#include "resources/resource.h"
#include "support/testsupport.h"

namespace {

// A visible dialog box of this process other than skip, or null.
HWND FindDialog(HWND skip) {
    struct Search {
        HWND skip;
        HWND found;
    } search = {skip, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            wchar_t name[16] = L"";
            GetClassNameW(window, name, 16);
            if (pid != GetCurrentProcessId() || window == s->skip || !IsWindowVisible(window) ||
                wcscmp(name, L"#32770") != 0)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for a dialog box of this process other than skip and acts on it
// while the test thread sits in the dialog's modal loop.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act, HWND skip = nullptr)
        : thread_([this, act, skip] {
              for (int i = 0; i < 500 && !found_; ++i) {
                  found_ = FindDialog(skip);
                  if (!found_) Sleep(20);
              }
              if (found_) act(found_);
          }) {}
    ~DialogDriver() { finish(); }
    bool finish() {
        if (thread_.joinable()) thread_.join();
        return found_ != nullptr;
    }

  private:
    HWND found_ = nullptr;
    std::thread thread_;
};

// The file name box of the open dialog: a combo box in the explorer-style
// dialog, an edit in the old one.
HWND FileNameBox(HWND open) {
    for (int id : {cmb13, edt1})
        if (HWND box = GetDlgItem(open, id); box && IsWindowVisible(box)) return box;
    return nullptr;
}

std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::wstring& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

class Dialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { windows_ = std::make_unique<MainWindowTest>(); }
    static void TearDownTestSuite() { windows_.reset(); }
    void SetUp() override {
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
    }
    static std::unique_ptr<MainWindowTest> windows_;
    AppState* state_ = nullptr;
};
std::unique_ptr<MainWindowTest> Dialogs::windows_;

} // namespace

TEST_F(Dialogs, ToolDialogShowsTheToolAndOnlyOkStoresTheEdit) {
    struct Case {
        int kind;
        wchar_t* value;
        const wchar_t* stored;
        std::wstring typed;
        UINT close; // IDOK, IDCANCEL (Esc) or WM_CLOSE (the close box)
        const wchar_t* caption;
        std::wstring expected;
    } cases[] = {
        {3, state_->textviewer, L"notepad.exe", L"", IDOK, L"Text Viewer", L""},
        {3, state_->textviewer, L"notepad.exe", L"edit.exe", IDCANCEL, L"Text Viewer",
         L"notepad.exe"},
        {0, state_->filemanager, L"explorer.exe", L"x.exe", WM_CLOSE, L"File Manager",
         L"explorer.exe"},
        {4, state_->imageviewer, L"", std::wstring(300, L'a'), IDOK, L"Image Viewer",
         std::wstring(259, L'a')},
    };
    for (const Case& c : cases) {
        CopyText(c.value, kPathUnits, c.stored);
        std::wstring caption, shown, ok;
        DialogDriver driver([&](HWND dialog) {
            caption = WindowText(dialog);
            shown = ItemText(dialog, IDC_TOOL_EDIT);
            ok = ItemText(dialog, IDOK);
            SetItemText(dialog, IDC_TOOL_EDIT, c.typed);
            if (c.close == WM_CLOSE)
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            else
                PostMessageW(dialog, WM_COMMAND, c.close, 0);
        });
        state_->ChooseTool(c.kind);
        ASSERT_TRUE(driver.finish()) << c.kind;
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(shown, c.stored);
        EXPECT_EQ(ok, L"Ok");
        EXPECT_EQ(std::wstring(c.value), c.expected) << c.caption;
    }
}

TEST_F(Dialogs, ProgramPickerStartsOnTheBareProgramAndReplacesTheWholeValue) {
    wchar_t program[MAX_PATH];
    GetFullPathNameW((ModuleFolder() + L"\\..\\tarvo.exe").c_str(), MAX_PATH, program, nullptr);
    CopyText(state_->cmdprocessor, L"cmd.exe /k dir");
    std::wstring pickerStart, afterPick;
    DialogDriver tool([&](HWND dialog) {
        SetItemText(dialog, IDC_TOOL_EDIT, L"typed.exe");
        DialogDriver picker(
            [&](HWND open) {
                HWND box = FileNameBox(open);
                pickerStart = WindowText(box);
                SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(program));
                PostMessageW(open, WM_COMMAND, IDOK, 0);
            },
            dialog);
        PostMessageW(dialog, WM_COMMAND, IDC_TOOL_BROWSE, 0);
        picker.finish();
        WaitFor(
            [&] {
                return IsWindowEnabled(dialog) && ItemText(dialog, IDC_TOOL_EDIT) != L"typed.exe";
            },
            5000);
        afterPick = ItemText(dialog, IDC_TOOL_EDIT);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    state_->ChooseTool(2);
    ASSERT_TRUE(tool.finish());
    EXPECT_EQ(pickerStart, L"cmd.exe");
    EXPECT_EQ(afterPick, std::wstring(state_->cmdprocessor));
    EXPECT_EQ(_wcsicmp(state_->cmdprocessor, program), 0) << state_->cmdprocessor;
}

TEST_F(Dialogs, FolderBrowserOpensOnTheDeskFolderAndStoresOnlyAChoice) {
    TempFolder first, second;
    struct Case {
        const std::wstring& choose; // selected in the browser before it is closed
        UINT close;
        const std::wstring& expected;
    } cases[] = {{second.path(), IDCANCEL, first.path()}, {second.path(), IDOK, second.path()}};
    for (const Case& c : cases) {
        CopyText(state_->deskpath, first.path().c_str());
        std::wstring title, selected;
        DialogDriver driver([&](HWND dialog) {
            title = DialogStaticText(dialog);
            HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
            WaitFor([&] { return TreeView_GetSelection(tree) != nullptr; }, 5000);
            wchar_t text[MAX_PATH] = L"";
            TVITEMW item = {};
            item.mask = TVIF_TEXT;
            item.hItem = TreeView_GetSelection(tree);
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            TreeView_GetItem(tree, &item);
            selected = text;
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(c.choose.c_str()));
            PostMessageW(dialog, WM_COMMAND, c.close, 0);
        });
        state_->ChooseDeskFolder();
        ASSERT_TRUE(driver.finish());
        EXPECT_EQ(title, L"Select Desktop Folder");
        EXPECT_EQ(selected, first.path().substr(first.path().find_last_of(L'\\') + 1));
        EXPECT_EQ(std::wstring(state_->deskpath), c.expected);
    }
}

TEST_F(Dialogs, ColourPickersRecolourTheListAndKeyOutTheNewBackground) {
    // The look of the transparent window, as its own command sets it up.
    SetWindowLongPtrW(state_->mainwindow, GWL_EXSTYLE,
                      GetWindowLongPtrW(state_->mainwindow, GWL_EXSTYLE) | WS_EX_LAYERED);
    ASSERT_NE(state_->setlayered, nullptr);
    state_->setlayered(state_->mainwindow, state_->colour, 0, LWA_COLORKEY);
    state_->transparent = true;
    struct Case {
        bool background;
        COLORREF start, picked;
        UINT close;
        COLORREF expected;
    } cases[] = {
        {false, RGB(1, 2, 3), RGB(10, 20, 30), IDOK, RGB(10, 20, 30)},
        {false, RGB(1, 2, 3), RGB(10, 20, 30), IDCANCEL, RGB(1, 2, 3)},
        {true, RGB(4, 5, 6), RGB(40, 50, 60), IDOK, RGB(40, 50, 60)},
    };
    for (const Case& c : cases) {
        (c.background ? state_->colour : state_->textcolour) = c.start;
        DialogDriver driver([&](HWND dialog) {
            const int edits[] = {706, 707, 708}; // red, green, blue
            const BYTE parts[] = {GetRValue(c.picked), GetGValue(c.picked), GetBValue(c.picked)};
            for (int i = 0; i < 3; ++i) {
                SetItemText(dialog, edits[i], std::to_wstring(parts[i]));
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(edits[i], EN_UPDATE),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, edits[i])));
            }
            PostMessageW(dialog, WM_COMMAND, c.close, 0);
        });
        if (c.background)
            state_->ChooseBackgroundColour();
        else
            state_->ChooseTextColour();
        ASSERT_TRUE(driver.finish());
        if (c.background) {
            EXPECT_EQ(state_->colour, c.expected);
            EXPECT_EQ(SendMessageW(state_->desklist, LVM_GETBKCOLOR, 0, 0), LRESULT(c.expected));
            COLORREF key = 0;
            DWORD flags = 0;
            GetLayeredWindowAttributes(state_->mainwindow, &key, nullptr, &flags);
            EXPECT_EQ(key, c.expected);
            EXPECT_EQ(flags & LWA_COLORKEY, DWORD(LWA_COLORKEY));
        } else {
            EXPECT_EQ(state_->textcolour, c.expected);
        }
        if (c.close == IDOK) {
            UINT get = c.background ? LVM_GETBKCOLOR : LVM_GETTEXTCOLOR;
            EXPECT_EQ(SendMessageW(state_->desklist, get, 0, 0), LRESULT(c.expected));
        }
    }
    state_->transparent = false;
    SetWindowLongPtrW(state_->mainwindow, GWL_EXSTYLE,
                      GetWindowLongPtrW(state_->mainwindow, GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

TEST_F(Dialogs, AboutShowsTheTableTextsAndOnlyEscEndsIt) {
    TempFolder folder;
    // A help file that does not exist: the button's open fails quietly, and
    // the dialog must still be open afterwards.
    CopyText(state_->helppath, (folder / L"Missing.txt").c_str());
    std::wstring texts[4];
    bool openAfterButton = false;
    DialogDriver driver([&](HWND dialog) {
        const int ids[] = {IDC_ABOUT_FREEWARE, IDC_ABOUT_DONATIONS, IDC_ABOUT_LANGUAGE, IDOK};
        for (int i = 0; i < 4; ++i)
            texts[i] = ItemText(dialog, ids[i]);
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        Sleep(300);
        openAfterButton = IsWindow(dialog) && FindDialog(dialog) == nullptr;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    state_->ShowAbout();
    ASSERT_TRUE(driver.finish());
    EXPECT_EQ(texts[0], L":: Freeware ::");
    EXPECT_EQ(texts[1], L"All donations appreciated");
    EXPECT_EQ(texts[2], L"Language: Default (English)");
    EXPECT_EQ(texts[3], L"Ta'rvo Help");
    EXPECT_TRUE(openAfterButton);
}
