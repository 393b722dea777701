// The look switches, toggled by their commands on the real main window.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "commands/commandids.h"
#include "resources/resource.h"
#include "support/testsupport.h"

TEST(Appearance, EachSwitchCommandTurnsItsLookOnAndTheSecondOneOff) {
    MainWindowTest windows;
    HWND window = windows.window();
    ASSERT_NE(TheAppState, nullptr);
    ASSERT_NE(TheAppState->setlayered, nullptr) << "this system has layered windows";
    TheAppState->colour = RGB(0, 128, 128);
    // Each command flips one extended style; the tray icon drops the taskbar button.
    const struct {
        int command;
        LONG_PTR bit, whenOn;
    } switches[] = {{CMD_TRANSPARENT, WS_EX_LAYERED, WS_EX_LAYERED},
                    {CMD_TRAY_ICON, WS_EX_APPWINDOW, 0},
                    {CMD_STAY_ON_TOP, WS_EX_TOPMOST, WS_EX_TOPMOST}};
    for (const auto& s : switches) {
        for (bool on : {true, false}) {
            SCOPED_TRACE(testing::Message() << s.command << (on ? " on" : " off"));
            SendMessageW(window, WM_COMMAND, s.command, 0);
            EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & s.bit,
                      on ? s.whenOn : s.bit ^ s.whenOn);
            EXPECT_TRUE(IsWindowVisible(window));
            if (s.command != CMD_TRANSPARENT) continue;
            GdiObject region(CreateRectRgn(0, 0, 0, 0)); // transparency also cuts a region
            EXPECT_EQ(GetWindowRgn(window, static_cast<HRGN>(region.get())) != ERROR, on);
            if (!on) continue;
            COLORREF key = 0;
            DWORD flags = 0;
            EXPECT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &flags));
            EXPECT_EQ(std::pair(key, flags), std::pair(TheAppState->colour, DWORD(LWA_COLORKEY)));
        }
    }
    // Hidden by a click on the tray icon, then the tray icon turned off.
    SendMessageW(window, WM_COMMAND, CMD_TRAY_ICON, 0);
    SendMessageW(window, WM_TRAYICON, 0, WM_LBUTTONUP);
    ASSERT_FALSE(IsWindowVisible(window));
    SendMessageW(window, WM_COMMAND, CMD_TRAY_ICON, 0);
    EXPECT_TRUE(IsWindowVisible(window)) << "nothing else could bring it back";
    // A new taskbar (Explorer restarted) holds none of the old icons.
    NOTIFYICONDATAW probe = TheAppState->trayicondata;
    SendMessageW(window, WM_COMMAND, CMD_TRAY_ICON, 0);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &probe));
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &probe)) << "the icon was back";
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    TheAppState->trayicon = false;
}

// Only the client area is left, wherever the frame puts it.
TEST(Appearance, TheTransparentRegionIsTheClientAreaWhateverTheFrame) {
    MainWindowTest windows;
    HWND window = windows.window();
    for (LONG_PTR exstyle : {LONG_PTR(0), LONG_PTR(WS_EX_TOOLWINDOW)}) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, exstyle);
        SetWindowPos(window, nullptr, 50, 40, 420, 300, SWP_NOZORDER | SWP_FRAMECHANGED);
        SendMessageW(window, WM_COMMAND, CMD_TRANSPARENT, 0);
        RECT frame, client, box = {};
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -frame.left, -frame.top);
        GdiObject region(CreateRectRgn(0, 0, 0, 0));
        GetWindowRgn(window, static_cast<HRGN>(region.get()));
        GetRgnBox(static_cast<HRGN>(region.get()), &box);
        EXPECT_TRUE(EqualRect(&box, &client)) << exstyle;
        SendMessageW(window, WM_COMMAND, CMD_TRANSPARENT, 0);
    }
}

// To 144 and back: the window takes the suggested rectangle, and the icons
// and the font are what the system gives for the scale in each view.
TEST(Appearance, AScaleChangeTakesTheSuggestedRectangleAndRemakesIconsAndFont) {
    HMODULE user32 = GetModuleHandleW(L"user32");
    auto metric = reinterpret_cast<int(WINAPI*)(int, UINT)>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
    auto font = reinterpret_cast<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "SystemParametersInfoForDpi")));
    if (!metric || !font) GTEST_SKIP() << "this system knows one scale only";
    MainWindowTest windows;
    AppState& state = *TheAppState;
    for (state.iconstyle = 0; state.iconstyle < 3; ++state.iconstyle) {
        state.ApplyIconStyle();
        for (UINT dpi : {144u, 96u}) {
            SCOPED_TRACE(testing::Message() << "style " << state.iconstyle << " at " << dpi);
            RECT suggested = {LONG(dpi), 30, LONG(dpi) + 460, 390}, now;
            SendMessageW(windows.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            GetWindowRect(windows.window(), &now);
            EXPECT_TRUE(EqualRect(&now, &suggested));
            int cx = 0, cy = 0;
            ImageList_GetIconSize(state.icons.Images(), &cx, &cy);
            EXPECT_EQ(cx, metric(state.iconstyle == 0 ? SM_CXICON : SM_CXSMICON, dpi));
            LOGFONTW expected = {}, listFont = {};
            font(SPI_GETICONTITLELOGFONT, sizeof expected, &expected, 0, dpi);
            GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(state.desklist, WM_GETFONT, 0, 0)),
                       sizeof listFont, &listFont);
            EXPECT_EQ(listFont.lfHeight, expected.lfHeight);
        }
    }
}
