// The look switches and the clock applied to the real main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "app/application.h"
#include "app/appstate.h"
#include "support/testsupport.h"

namespace {

LONG_PTR ExStyle(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

} // namespace

TEST(Appearance, EachSwitchOnAndOffShowsOnTheWindow) {
    MainWindowTest windows;
    HWND window = windows.window();
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    ASSERT_NE(state->setlayered, nullptr) << "this system has layered windows";
    state->colour = RGB(0, 128, 128);

    struct Switch {
        const char* name;
        bool* flag;
        std::function<void()> apply;
        std::function<void(bool on)> check;
    } switches[] = {
        {"transparent", &state->transparent, [&] { state->ApplyTransparency(); },
         [&](bool on) {
             EXPECT_EQ((ExStyle(window) & WS_EX_LAYERED) != 0, on);
             HRGN region = CreateRectRgn(0, 0, 0, 0);
             EXPECT_EQ(GetWindowRgn(window, region) != ERROR, on);
             if (on) {
                 RECT box, client;
                 GetRgnBox(region, &box);
                 GetClientRect(window, &client);
                 int caption = GetSystemMetrics(SM_CYCAPTION);
                 EXPECT_EQ(box.left, GetSystemMetrics(SM_CXFRAME));
                 EXPECT_EQ(box.top, GetSystemMetrics(SM_CYFRAME) + caption);
                 EXPECT_EQ(box.right, client.right);
                 EXPECT_EQ(box.bottom, client.bottom + caption);
                 COLORREF key = 0;
                 DWORD flags = 0;
                 EXPECT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, &flags));
                 EXPECT_EQ(key, RGB(0, 128, 128));
                 EXPECT_EQ(flags, DWORD(LWA_COLORKEY));
             }
             DeleteObject(region);
         }},
        {"trayicon", &state->trayicon, [&] { state->ApplyTrayIcon(); },
         [&](bool on) { EXPECT_EQ((ExStyle(window) & WS_EX_APPWINDOW) == 0, on); }},
        {"ontop", &state->ontop, [&] { state->ApplyStayOnTop(); },
         [&](bool on) { EXPECT_EQ((ExStyle(window) & WS_EX_TOPMOST) != 0, on); }},
    };
    for (Switch& s : switches) {
        SCOPED_TRACE(s.name);
        for (bool on : {true, false}) {
            *s.flag = on;
            s.apply();
            s.check(on);
            EXPECT_TRUE(IsWindowVisible(window));
        }
    }
}

TEST(Appearance, TheClockAndTheTrayTipFollowEveryTitleChange) {
    MainWindowTest windows;
    HWND window = windows.window();
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    TempFolder desk;
    std::wstring path = desk / (L"(" + std::wstring(150, L'x') + L")");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    std::wstring base = path + L" - Ta'rvo";
    CopyText(state->deskpath, path.c_str());
    state->trayicon = true;
    state->ApplyTrayIcon();

    auto tipFollows = [&] {
        EXPECT_EQ(std::wstring(state->trayicondata.szTip), WindowText(window).substr(0, 127));
    };
    state->DeskFolderChanged();
    EXPECT_EQ(WindowText(window), base);
    tipFollows();
    for (bool on : {true, true, false, true, false, false}) {
        state->time = on;
        state->UpdateClock();
        std::wstring title = WindowText(window);
        if (on) {
            ASSERT_EQ(title.substr(0, base.size() + 3), base + L"  (") << title;
            EXPECT_EQ(title.find(L'(', base.size() + 3), std::wstring::npos) << title;
            EXPECT_EQ(title.back(), L')');
        } else {
            EXPECT_EQ(title, base);
        }
        tipFollows();
    }
    state->time = true;
    state->DeskFolderChanged();
    EXPECT_EQ(WindowText(window).substr(0, base.size() + 3), base + L"  (");
    tipFollows();
    state->trayicon = false;
    state->ApplyTrayIcon();
}
