// The real main window pulled back onto the screen after a change of the
// displays, the work area or the power state, which the test announces
// itself: the virtual display never changes.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/application.h"
#include "app/appstate.h"
#include "support/testsupport.h"

TEST(ScreenChange, TheWindowComesBackWithItsSizeOnceItShowsItsRectangle) {
    MainWindowTest windows;
    HWND window = windows.window();
    const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const RECT right = {w + 200, 100, w + 600, 400}, backRight = {w - 400, 100, w, 400};
    const RECT below = {50, h + 10, 450, h + 310}, backBelow = {50, h - 300, 450, h};
    const RECT edge = {-8, 20, 392, 320}; // within the tolerance: left alone
    enum { Normal = SW_SHOW, Minimised = SW_MINIMIZE, Hidden = SW_HIDE };
    const struct {
        UINT message;
        WPARAM wParam;
        int shown;
        RECT from, expected;
    } cases[] = {
        {WM_DISPLAYCHANGE, 32, Normal, right, backRight},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, Normal, below, backBelow},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, Normal, right, backRight},
        {WM_DISPLAYCHANGE, 32, Normal, edge, edge},
        {WM_DISPLAYCHANGE, 32, Minimised, right, backRight},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, Hidden, below, backBelow},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, Minimised, below, backBelow},
        {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, Normal, right, right},
        {WM_POWERBROADCAST, PBT_APMSUSPEND, Normal, right, right},
    };
    AppState* state = TheAppState;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " " << c.wParam << " " << c.shown);
        const RECT& r = c.from;
        MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        ShowWindow(window, c.shown);
        SendMessageW(window, c.message, c.wParam, 0);
        // Away, it stays away until it is shown again.
        EXPECT_EQ(IsIconic(window), c.shown == Minimised);
        EXPECT_EQ(IsWindowVisible(window), c.shown != Hidden);
        ShowWindow(window, c.shown == Minimised ? SW_RESTORE : SW_SHOW);
        RECT now, e = c.expected;
        GetWindowRect(window, &now);
        // windowrect is what the settings save.
        EXPECT_TRUE(EqualRect(&now, &e) && EqualRect(&state->windowrect, &e)) << now.left;
    }
}
