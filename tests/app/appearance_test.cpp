// The look switches, toggled by their commands on the real main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "commands/commandids.h"
#include "support/testsupport.h"

TEST(Appearance, EachSwitchCommandTurnsItsLookOnAndTheSecondOneOff) {
    MainWindowTest windows;
    HWND window = windows.window();
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    ASSERT_NE(state->setlayered, nullptr) << "this system has layered windows";
    state->colour = RGB(0, 128, 128);
    auto has = [&](LONG_PTR bit) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & bit) != 0; };

    const struct {
        int command;
        std::function<void(bool on)> check;
    } switches[] = {
        {CMD_TRANSPARENT,
         [&](bool on) {
             EXPECT_EQ(has(WS_EX_LAYERED), on);
             GdiObject region(CreateRectRgn(0, 0, 0, 0));
             EXPECT_EQ(GetWindowRgn(window, static_cast<HRGN>(region.get())) != ERROR, on);
             COLORREF key = 0;
             DWORD flags = 0;
             if (!on) return;
             EXPECT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &flags));
             EXPECT_EQ(key, state->colour) << "the background is the colour key";
             EXPECT_EQ(flags, DWORD(LWA_COLORKEY));
         }},
        {CMD_TRAY_ICON, [&](bool on) { EXPECT_EQ(has(WS_EX_APPWINDOW), !on); }},
        {CMD_STAY_ON_TOP, [&](bool on) { EXPECT_EQ(has(WS_EX_TOPMOST), on); }},
    };
    for (const auto& s : switches) {
        for (bool on : {true, false}) {
            SCOPED_TRACE(testing::Message() << s.command << (on ? " on" : " off"));
            SendMessageW(window, WM_COMMAND, s.command, 0);
            s.check(on);
            EXPECT_TRUE(IsWindowVisible(window));
        }
    }
}
