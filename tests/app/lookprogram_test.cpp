// The window's place and look across two starts of the built program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(LookProgram, ThePlaceAndLookShowOnTheWindowAndSurviveARestart) {
    const LONG h = GetSystemMetrics(SM_CYSCREEN);
    const RECT fitted = {0, h - 300, 450, h};
    TempFolder home;
    const std::wstring offScreen = L"[Position]\r\nleft=-500\r\ntop=" + std::to_wstring(h + 50) +
                                   L"\r\nright=-50\r\nbottom=" + std::to_wstring(h + 350) + L"\r\n";
    ASSERT_TRUE(WriteUtf16(home / L"tarvo.ini",
                           L"[Tarvo]\r\ncolour=8421376\r\ntext colour=65280\r\ntransparent=TRUE\r\n"
                           L"trayicon=TRUE\r\nontop=TRUE\r\n\r\n[Desk]\r\nicon style=2\r\n\r\n"
                           L"[Status]\r\ntime=TRUE\r\n\r\n" +
                               offScreen));
    // The first start pulls the rectangle onto the screen; the second finds
    // it, and the look, where the first one's exit saved them.
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        ProgramRun run(home.path());
        ASSERT_TRUE(run.start(L""));
        HWND window = run.waitForMainWindow();
        ASSERT_NE(window, nullptr);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_TRUE(EqualRect(&rect, &fitted)) << rect.left << "," << rect.top;
        std::wstring title = DesktopFolder() + L" - Ta'rvo  ("; // the clock follows
        EXPECT_TRUE(WaitFor([&] { return WindowText(window).rfind(title, 0) == 0; }));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) &
                      (WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_APPWINDOW),
                  WS_EX_LAYERED | WS_EX_TOPMOST);
        HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
        EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), 8421376);
        EXPECT_EQ(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0), 65280);
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(run.waitForExit(), 0u);
        EXPECT_EQ(ReadUtf16(home / L"tarvo.ini").find(offScreen), std::wstring::npos);
    }
}

namespace {

// Sets the scale this Wine gives every program it starts from now on, and
// puts the old one back at the end.
class DisplayScale {
  public:
    DisplayScale() {
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        DWORD size = sizeof old_;
        had_ = key_ && RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
    }
    ~DisplayScale() {
        if (!key_) return;
        if (had_)
            set(old_);
        else
            RegDeleteValueW(key_, L"LogPixels");
        RegCloseKey(key_);
    }
    DisplayScale(const DisplayScale&) = delete;
    DisplayScale& operator=(const DisplayScale&) = delete;
    bool set(DWORD dpi) {
        return key_ && RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD,
                                      reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) == 0;
    }

  private:
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool had_ = false;
};

} // namespace

// Wine scales every program it starts by its LogPixels setting, aware of the
// scale or not; the program's icons, labels and saved place stay as they were.
TEST(LookProgram, AtEachDisplayScaleTheIconsLabelsAndPlaceStayAsBefore) {
    DisplayScale scale;
    TempFolder home, desk;
    desk.file(L"a.txt");
    const std::wstring place = L"[Position]\r\nleft=100\r\ntop=80\r\nright=520\r\nbottom=400\r\n";
    const struct {
        DWORD dpi;
        LONG icon, label; // as measured with the program before it declared awareness
    } scales[] = {{144, 48, 21}, {96, 32, 14}};
    for (const auto& s : scales) {
        SCOPED_TRACE(s.dpi);
        ASSERT_TRUE(scale.set(s.dpi));
        ProgramRun run(home.path());
        HWND list =
            StartWithSettings(run, L"[Portable]\r\nfolder=" + desk.path() + L"\r\n\r\n" + place, 1);
        ASSERT_NE(list, nullptr);
        RECT icon = {LVIR_ICON, 0, 0, 0}, label = {LVIR_LABEL, 0, 0, 0};
        SendRemote(list, run.processId(), LVM_GETITEMRECT, 0, &icon, sizeof icon);
        SendRemote(list, run.processId(), LVM_GETITEMRECT, 0, &label, sizeof label);
        EXPECT_EQ(icon.bottom - icon.top, s.icon) << icon.right - icon.left;
        EXPECT_EQ(label.bottom - label.top, s.label) << label.right - label.left;
        RECT rect;
        GetWindowRect(GetParent(list), &rect);
        EXPECT_EQ(rect.left, 100);
        EXPECT_EQ(rect.bottom, 400);
        PostMessageW(GetParent(list), WM_CLOSE, 0, 0);
        ASSERT_EQ(run.waitForExit(), 0u);
        EXPECT_NE(ReadUtf16(home / L"tarvo.ini").find(place), std::wstring::npos);
    }
}
