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
}

namespace {

// The system's own figures for a scale, asked where the system has them.
template <typename Function> Function UserFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32"), name)));
}

} // namespace

TEST(Appearance, AScaleChangeTakesTheSuggestedRectangleAndRemakesIconsAndFont) {
    auto metric = UserFunction<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    auto font =
        UserFunction<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
    if (!metric || !font) GTEST_SKIP() << "this system knows one scale only";
    TempFolder desk;
    desk.file(L"a.txt");
    desk.file(L"b.txt");
    MainWindowTest windows;
    AppState& state = *TheAppState;
    CopyText(state.deskpath, desk.path().c_str());
    state.RefreshDeskList();
    const struct {
        int iconstyle;
        int width, height;
    } views[] = {
        {0, SM_CXICON, SM_CYICON}, {1, SM_CXSMICON, SM_CYSMICON}, {2, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& view : views) {
        state.iconstyle = view.iconstyle;
        state.ApplyIconStyle();
        // To 144 and back: the second change restores what the first one made.
        for (UINT dpi : {144u, 96u}) {
            SCOPED_TRACE(testing::Message() << "style " << view.iconstyle << " at " << dpi);
            RECT suggested = {40 + static_cast<LONG>(dpi), 30, 500 + static_cast<LONG>(dpi), 390};
            SendMessageW(windows.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            RECT now;
            GetWindowRect(windows.window(), &now);
            EXPECT_TRUE(EqualRect(&now, &suggested));
            int cx = 0, cy = 0;
            ImageList_GetIconSize(state.images, &cx, &cy);
            EXPECT_EQ(std::pair(cx, cy),
                      std::pair(metric(view.width, dpi), metric(view.height, dpi)));
            EXPECT_EQ(ImageList_GetImageCount(state.images), 2) << "one image per item";
            LOGFONTW expected = {}, used = {};
            font(SPI_GETICONTITLELOGFONT, sizeof expected, &expected, 0, dpi);
            auto listFont =
                reinterpret_cast<HGDIOBJ>(SendMessageW(state.desklist, WM_GETFONT, 0, 0));
            ASSERT_EQ(GetObjectW(listFont, sizeof used, &used), int(sizeof used));
            EXPECT_EQ(used.lfHeight, expected.lfHeight);
        }
    }
}

// Only the client area is left, wherever the frame puts it.
TEST(Appearance, TheTransparentRegionIsTheClientAreaForEachFrame) {
    MainWindowTest windows;
    HWND window = windows.window();
    TheAppState->colour = RGB(0, 128, 128);
    const struct {
        LONG_PTR style, exstyle;
    } frames[] = {{WS_OVERLAPPEDWINDOW, 0},
                  {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW},
                  {WS_POPUP | WS_THICKFRAME, 0}};
    for (const auto& frame : frames) {
        SCOPED_TRACE(testing::Message() << std::hex << frame.style << " " << frame.exstyle);
        SetWindowLongPtrW(window, GWL_STYLE, frame.style | WS_VISIBLE);
        SetWindowLongPtrW(window, GWL_EXSTYLE,
                          (GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_TOOLWINDOW) |
                              frame.exstyle);
        SetWindowPos(window, nullptr, 50, 40, 420, 300, SWP_NOZORDER | SWP_FRAMECHANGED);
        SendMessageW(window, WM_COMMAND, CMD_TRANSPARENT, 0);
        RECT windowRect, client, box;
        GetWindowRect(window, &windowRect);
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        OffsetRect(&client, -windowRect.left, -windowRect.top);
        GdiObject region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(GetWindowRgn(window, static_cast<HRGN>(region.get())), SIMPLEREGION);
        GetRgnBox(static_cast<HRGN>(region.get()), &box);
        EXPECT_TRUE(EqualRect(&box, &client))
            << box.left << "," << box.top << " " << box.right << "," << box.bottom << " vs "
            << client.left << "," << client.top << " " << client.right << "," << client.bottom;
        SendMessageW(window, WM_COMMAND, CMD_TRANSPARENT, 0);
    }
}

TEST(Appearance, ANewTaskbarGetsTheTrayIconAgain) {
    MainWindowTest windows;
    HWND window = windows.window();
    AppState& state = *TheAppState;
    SendMessageW(window, WM_COMMAND, CMD_TRAY_ICON, 0);
    NOTIFYICONDATAW probe = {};
    probe.cbSize = sizeof probe;
    probe.hWnd = window;
    probe.uID = 0;
    if (!Shell_NotifyIconW(NIM_MODIFY, &probe)) GTEST_SKIP() << "no notification area here";
    // Explorer restarted: its new taskbar holds none of the old icons.
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &probe));
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << "the icon is back";
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    state.trayicon = false; // the exit leaves the tray as it found it
    Shell_NotifyIconW(NIM_DELETE, &probe);
}
