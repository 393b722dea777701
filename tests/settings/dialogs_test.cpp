// The dialogs, opened through their operations on the real main window and
// answered as a user would, from a second thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/appstate.h"
#include "app/application.h"
#include "resources/resource.h"
#include "settings/dialogs.h"
#include "support/testsupport.h"

namespace {

// Acts on the dialog box once it is up, while this thread sits in its modal loop.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act)
        : thread_([this, act] {
              for (int i = 0; i < 500 && !found_; ++i, Sleep(20))
                  found_ = FindTopLevelWindow(GetCurrentProcessId(), L"#32770");
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

std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}
void SetItemText(HWND dialog, int id, const std::wstring& text) {
    SetWindowTextW(GetDlgItem(dialog, id), text.c_str());
}

class Dialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { windows_ = std::make_unique<MainWindowTest>(); }
    static void TearDownTestSuite() { windows_.reset(); }
    void SetUp() override { ASSERT_NE(state_ = TheAppState, nullptr); }
    static inline std::unique_ptr<MainWindowTest> windows_;
    AppState* state_ = nullptr;
};

} // namespace

TEST(ToolOptions, CutAtTheFirstBlankDashElseAtTheFirstBlankSlash) {
    const wchar_t* cases[][2] = {{L"cmd.exe /k dir", L"cmd.exe"},
                                 {L"prog.exe -x", L"prog.exe"},
                                 {L"a.exe /x -y", L"a.exe /x"},
                                 {L"C:\\My - T\\t.exe", L"C:\\My"},
                                 {L"C:\\a-b\\t.exe", L"C:\\a-b\\t.exe"}};
    for (auto& c : cases) {
        wchar_t text[kPathUnits];
        CopyText(text, c[0]);
        CutToolOptions(text);
        EXPECT_STREQ(text, c[1]);
    }
}

TEST_F(Dialogs, ToolDialogShowsTheToolAndOnlyOkStoresTheEdit) {
    struct {
        int kind;
        wchar_t* value;
        std::wstring typed;
        UINT close; // IDOK, IDCANCEL (Esc) or WM_CLOSE (the close box)
        const wchar_t* caption;
        std::wstring expected;
    } cases[] = {
        {3, state_->textviewer, L"", IDOK, L"Text Viewer", L""},
        {3, state_->textviewer, L"edit.exe", IDCANCEL, L"Text Viewer", L"tool.exe"},
        {0, state_->filemanager, L"x.exe", WM_CLOSE, L"File Manager", L"tool.exe"},
        {4, state_->imageviewer, std::wstring(300, L'a'), IDOK, L"Image Viewer",
         std::wstring(259, L'a')},
    };
    for (auto& c : cases) {
        CopyText(c.value, kPathUnits, L"tool.exe");
        std::wstring caption, shown, ok;
        DialogDriver driver([&](HWND dialog) {
            caption = WindowText(dialog);
            shown = ItemText(dialog, IDC_TOOL_EDIT);
            ok = ItemText(dialog, IDOK);
            SetItemText(dialog, IDC_TOOL_EDIT, c.typed);
            PostMessageW(dialog, c.close == WM_CLOSE ? WM_CLOSE : WM_COMMAND, c.close, 0);
        });
        state_->ChooseTool(c.kind);
        ASSERT_TRUE(driver.finish());
        EXPECT_EQ(caption + L"|" + shown + L"|" + ok, c.caption + std::wstring(L"|tool.exe|Ok"));
        EXPECT_EQ(std::wstring(c.value), c.expected) << c.caption;
    }
}

TEST_F(Dialogs, FolderBrowserOpensOnTheDeskFolderAndStoresOnlyAChoice) {
    TempFolder first, second;
    const std::wstring name = first.path().substr(first.path().find_last_of(L'\\') + 1);
    for (UINT close : {IDCANCEL, IDOK}) {
        CopyText(state_->deskpath, first.path().c_str());
        std::wstring selected;
        DialogDriver driver([&](HWND dialog) {
            HWND tree = FindWindowExW(dialog, nullptr, WC_TREEVIEWW, nullptr);
            // The browser selects the starting folder once it has filled its tree.
            for (int tries = 0; tries < 100 && selected != name; ++tries) {
                wchar_t text[MAX_PATH] = L"";
                TVITEMW item = {};
                item.mask = TVIF_TEXT;
                item.hItem = TreeView_GetSelection(tree);
                item.pszText = text;
                item.cchTextMax = MAX_PATH;
                if (item.hItem) TreeView_GetItem(tree, &item);
                selected = text;
                if (selected != name) Sleep(50);
            }
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(second.path().c_str()));
            PostMessageW(dialog, WM_COMMAND, close, 0);
        });
        state_->ChooseDeskFolder();
        ASSERT_TRUE(driver.finish());
        EXPECT_EQ(selected, name);
        EXPECT_EQ(std::wstring(state_->deskpath), (close == IDOK ? second : first).path());
    }
}

TEST_F(Dialogs, BackgroundColourRecoloursTheListAndIsKeyedOutAtOnce) {
    // The transparent window, as its own command sets it up.
    SetWindowLongPtrW(windows_->window(), GWL_EXSTYLE,
                      GetWindowLongPtrW(windows_->window(), GWL_EXSTYLE) | WS_EX_LAYERED);
    state_->transparent = true;
    // OK takes 10, 20, 30; a cancelled 11, 21, 31 changes nothing.
    for (UINT close : {IDOK, IDCANCEL}) {
        DialogDriver driver([&](HWND dialog) {
            for (int edit : {706, 707, 708}) { // red, green, blue
                SetItemText(dialog, edit, std::to_wstring((edit - 705) * 10 + (close == IDCANCEL)));
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(edit, EN_UPDATE),
                             reinterpret_cast<LPARAM>(GetDlgItem(dialog, edit)));
            }
            PostMessageW(dialog, WM_COMMAND, close, 0);
        });
        state_->ChooseBackgroundColour();
        ASSERT_TRUE(driver.finish());
        COLORREF key = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(windows_->window(), &key, nullptr, &flags);
        EXPECT_EQ(state_->colour, RGB(10, 20, 30));
        EXPECT_EQ(COLORREF(SendMessageW(state_->desklist, LVM_GETBKCOLOR, 0, 0)), RGB(10, 20, 30));
        EXPECT_EQ(key, RGB(10, 20, 30));
        EXPECT_EQ(flags, DWORD(LWA_COLORKEY));
    }
    state_->transparent = false;
}
