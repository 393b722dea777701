// The window's place and look across two starts of the built program.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <tuple>
#include <utility>

#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(LookProgram, ThePlaceComesBackOnTheScreenAndWithTheLookSurvivesARestart) {
    const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const RECT fitted = {0, h - 300, 450, h}, back = {w - 450, 100, w, 400};
    TempFolder home;
    const std::wstring offScreen = L"[Position]\r\nleft=-500\r\ntop=" + std::to_wstring(h + 50) +
                                   L"\r\nright=-50\r\nbottom=" + std::to_wstring(h + 350) + L"\r\n";
    ASSERT_TRUE(WriteUtf16(home / L"tarvo.ini",
                           L"[Tarvo]\r\ncolour=8421376\r\ntext colour=65280\r\ntransparent=TRUE\r\n"
                           L"trayicon=TRUE\r\nontop=TRUE\r\n\r\n[Desk]\r\nicon style=2\r\n\r\n"
                           L"[Status]\r\ntime=TRUE\r\n\r\n" +
                               offScreen));
    // The first start pulls the rectangle onto the screen, and so does each
    // display change, work-area change and resume while it runs; the second
    // start finds it, and the look, where the first one's exit saved them.
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        ProgramRun run(home.path());
        ASSERT_TRUE(run.start(L""));
        HWND window = run.waitForMainWindow();
        ASSERT_NE(window, nullptr);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_TRUE(EqualRect(&rect, start == 1 ? &fitted : &back)) << rect.left << "," << rect.top;
        std::wstring title = DesktopFolder() + L" - Ta'rvo  ("; // the clock follows
        EXPECT_TRUE(WaitFor([&] { return WindowText(window).rfind(title, 0) == 0; }));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) &
                      (WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_APPWINDOW),
                  WS_EX_LAYERED | WS_EX_TOPMOST);
        HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
        EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
        EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), 8421376);
        EXPECT_EQ(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0), 65280);
        const std::pair<UINT, WPARAM> changes[] = {{WM_DISPLAYCHANGE, 32},
                                                   {WM_SETTINGCHANGE, SPI_SETWORKAREA},
                                                   {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC}};
        for (const auto& [message, wParam] : changes) {
            SCOPED_TRACE(message);
            MoveWindow(window, w + 200, 100, 450, 300, TRUE);
            SendMessageW(window, message, wParam, 0);
            GetWindowRect(window, &rect);
            EXPECT_TRUE(EqualRect(&rect, &back)) << rect.left << "," << rect.top;
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(run.waitForExit(), 0u);
        EXPECT_EQ(ReadUtf16(home / L"tarvo.ini").find(offScreen), std::wstring::npos);
    }
}

TEST(LookProgram, StayOnTopTurnsOnOffAndOnAgainSeenFromOutside) {
    TempFolder home, desk;
    ProgramRun run(home.path());
    HWND list = StartWithSettings(run, L"[Portable]\r\nfolder=" + desk.path() + L"\r\n", 0);
    ASSERT_NE(list, nullptr);
    HWND window = GetParent(list), owner = GetWindow(window, GW_OWNER);
    for (bool on : {true, false, true}) {
        PostMessageW(window, WM_COMMAND, 1038, 0);
        EXPECT_TRUE(WaitFor(
            [&] { return ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == on; }));
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner) << "the owner keeps the taskbar button away";
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}

// Wine scales every program it starts by its LogPixels setting, aware of the
// scale or not; the program's icons, labels and saved place stay as they were.
TEST(LookProgram, AtEachDisplayScaleTheIconsLabelsAndPlaceStayAsBefore) {
    const wchar_t* key = L"Control Panel\\Desktop";
    DWORD old = 96, size = sizeof old;
    RegGetValueW(HKEY_CURRENT_USER, key, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &old, &size);
    TempFolder home, desk;
    desk.file(L"a.txt");
    const std::wstring place = L"[Position]\r\nleft=100\r\ntop=80\r\nright=520\r\nbottom=400\r\n";
    // Icon and label heights as measured with the program before it declared awareness.
    for (auto [dpi, icon, label] : {std::tuple{144u, 48L, 21L}, {96u, 32L, 14L}}) {
        SCOPED_TRACE(dpi);
        RegSetKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        ProgramRun run(home.path());
        HWND list =
            StartWithSettings(run, L"[Portable]\r\nfolder=" + desk.path() + L"\r\n" + place, 1);
        // Read by the program as it started; the next tests need the old one.
        RegSetKeyValueW(HKEY_CURRENT_USER, key, L"LogPixels", REG_DWORD, &old, sizeof old);
        if (!list) continue;
        RECT rects[2] = {{LVIR_ICON, 0, 0, 0}, {LVIR_LABEL, 0, 0, 0}}, window;
        for (RECT& rect : rects)
            SendRemote(list, run.processId(), LVM_GETITEMRECT, 0, rect);
        EXPECT_EQ(std::pair(rects[0].bottom - rects[0].top, rects[1].bottom - rects[1].top),
                  std::pair(icon, label));
        GetWindowRect(GetParent(list), &window);
        EXPECT_EQ(std::pair(window.left, window.bottom), std::pair(100L, 400L));
        PostMessageW(GetParent(list), WM_CLOSE, 0, 0);
        EXPECT_EQ(run.waitForExit(), 0u);
        EXPECT_NE(ReadUtf16(home / L"tarvo.ini").find(place), std::wstring::npos);
    }
}
