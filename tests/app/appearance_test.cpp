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
