// The real main window pulled back onto the screen after a change of the
// displays, the work area or the power state, which the tests announce
// themselves: the virtual display never changes.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/application.h"
#include "app/appstate.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

enum class Shown { Normally, Minimised, Hidden };

std::wstring PositionText(const RECT& r) {
    return L"[Position]\r\nleft=" + std::to_wstring(r.left) + L"\r\ntop=" + std::to_wstring(r.top) +
           L"\r\nright=" + std::to_wstring(r.right) + L"\r\nbottom=" + std::to_wstring(r.bottom);
}

} // namespace

TEST(ScreenChange, TheWindowComesBackWithItsSizeWhenItShowsItsRectangle) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    HWND window = windows.window();
    const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const RECT right = {w + 200, 100, w + 600, 400}, backRight = {w - 400, 100, w, 400};
    const RECT below = {50, h + 10, 450, h + 310}, backBelow = {50, h - 300, 450, h};
    const RECT edge = {-8, 20, 392, 320}; // within the tolerance: left alone
    const struct {
        UINT message;
        WPARAM wParam;
        Shown shown;
        RECT from, expected;
    } cases[] = {
        {WM_DISPLAYCHANGE, 32, Shown::Normally, right, backRight},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, Shown::Normally, below, backBelow},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, Shown::Normally, right, backRight},
        {WM_DISPLAYCHANGE, 32, Shown::Normally, edge, edge},
        {WM_DISPLAYCHANGE, 32, Shown::Minimised, right, backRight},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, Shown::Hidden, below, backBelow},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, Shown::Minimised, below, backBelow},
        {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, Shown::Normally, right, right},
        {WM_POWERBROADCAST, PBT_APMSUSPEND, Shown::Normally, right, right},
    };
    CopyText(state->inipath, windows.settingsPath().c_str());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.message << " " << c.wParam << " " << int(c.shown));
        MoveWindow(window, c.from.left, c.from.top, c.from.right - c.from.left,
                   c.from.bottom - c.from.top, TRUE);
        if (c.shown == Shown::Minimised) ShowWindow(window, SW_MINIMIZE);
        if (c.shown == Shown::Hidden) ShowWindow(window, SW_HIDE);
        SendMessageW(window, c.message, c.wParam, 0);
        // Away, it stays away until it is shown again.
        EXPECT_EQ(IsIconic(window), c.shown == Shown::Minimised);
        EXPECT_EQ(IsWindowVisible(window), c.shown != Shown::Hidden);
        ShowWindow(window, c.shown == Shown::Minimised ? SW_RESTORE : SW_SHOW);
        RECT now;
        GetWindowRect(window, &now);
        EXPECT_TRUE(EqualRect(&now, &c.expected)) << now.left << "," << now.top;
        EXPECT_TRUE(EqualRect(&state->windowrect, &c.expected));
        state->SaveSettings();
        EXPECT_NE(ReadUtf16(windows.settingsPath()).find(PositionText(c.expected)),
                  std::wstring::npos);
    }
}
