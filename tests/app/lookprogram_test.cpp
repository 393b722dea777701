// The window's place and look as the built program restores them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

std::wstring Position(const RECT& r) {
    return L"[Position]\r\nleft=" + std::to_wstring(r.left) + L"\r\ntop=" + std::to_wstring(r.top) +
           L"\r\nright=" + std::to_wstring(r.right) + L"\r\nbottom=" + std::to_wstring(r.bottom) +
           L"\r\n";
}

bool Has(const std::wstring& text, const std::wstring& line) {
    return text.find(L"\r\n" + line + L"\r\n") != std::wstring::npos;
}

} // namespace

TEST(LookProgram, ASavedRectangleComesBackOrIsPulledOntoTheScreen) {
    const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        RECT saved, expected;
    } cases[] = {
        {{40, 30, 640, 500}, {40, 30, 640, 500}},
        {{5000, 100, 5400, 400}, {w - 400, 100, w, 400}},
        {{-500, h + 50, -50, h + 350}, {0, h - 300, 450, h}},
    };
    for (const Case& c : cases) {
        TempFolder home;
        ProgramRun run(home.path());
        ASSERT_TRUE(WriteUtf16(home / L"tarvo.ini", Position(c.saved)));
        ASSERT_TRUE(run.start(L""));
        HWND window = run.waitForMainWindow();
        ASSERT_NE(window, nullptr);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_TRUE(EqualRect(&rect, &c.expected))
            << c.saved.left << " -> " << rect.left << "," << rect.top << "," << rect.right << ","
            << rect.bottom;
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_EQ(run.waitForExit(), 0u);
        EXPECT_NE(ReadUtf16(home / L"tarvo.ini").find(Position(c.expected)), std::wstring::npos)
            << "the place it came back to is saved";
    }
}

TEST(LookProgram, EveryLookSettingShowsOnTheWindowAndIsWrittenBack) {
    TempFolder home;
    ProgramRun run(home.path());
    std::wstring settings = home / L"tarvo.ini";
    ASSERT_TRUE(WriteUtf16(settings, L"[Tarvo]\r\ncolour=8421376\r\ntext colour=65280\r\n"
                                     L"transparent=TRUE\r\ntrayicon=TRUE\r\nontop=TRUE\r\n\r\n"
                                     L"[Desk]\r\nicon style=2\r\n\r\n[Status]\r\ntime=TRUE\r\n"));
    ASSERT_TRUE(run.start(L""));
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    std::wstring base = DesktopFolder() + L" - Ta'rvo  (";
    EXPECT_TRUE(WaitFor([&] { return WindowText(window).rfind(base, 0) == 0; }))
        << WindowText(window);
    EXPECT_EQ(WindowText(window).back(), L')');

    LONG_PTR exstyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(exstyle & WS_EX_LAYERED);
    EXPECT_TRUE(exstyle & WS_EX_TOPMOST);
    EXPECT_FALSE(exstyle & WS_EX_APPWINDOW) << "the tray icon replaces the taskbar button";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(window, region), ERROR);
    DeleteObject(region);
    COLORREF key = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, &key, nullptr, nullptr));
    EXPECT_EQ(key, COLORREF(8421376));

    HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), 8421376);
    EXPECT_EQ(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0), 65280);
    EXPECT_EQ(COLORREF(SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0)), CLR_NONE);

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(run.waitForExit(), 0u);
    std::wstring text = ReadUtf16(settings);
    for (const wchar_t* line : {L"colour=8421376", L"text colour=65280", L"trayicon=TRUE",
                                L"ontop=TRUE", L"icon style=2", L"time=TRUE", L"transparent=TRUE"})
        EXPECT_TRUE(Has(text, line)) << line << "\n" << text;
}
