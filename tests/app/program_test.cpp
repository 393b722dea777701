// The built tarvo.exe, started as a user starts it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/testsupport.h"

namespace {

HWND DeskList(HWND mainWindow) { return FindWindowExW(mainWindow, nullptr, L"SysListView32", nullptr); }

bool TitleBecomes(HWND window, const std::wstring& title) {
    return WaitFor([&] { return WindowText(window) == title; }, 10000);
}

class Program : public ::testing::Test {
  protected:
    // Starts the program with the folder arguments and waits for its window.
    HWND startWith(const std::wstring& arguments) {
        if (!run_.start(arguments)) return nullptr;
        return run_.waitForMainWindow();
    }
    // The unavailable-folder box: checks it and answers OK.
    void expectUnavailableBox(const std::wstring& path) {
        HWND box = run_.waitForDialog();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), L"Ta'rvo");
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_EQ(DialogStaticText(box), path + L" is unavailable");
        EXPECT_EQ(run_.waitForMainWindow(300), nullptr) << "the window waits for the message";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    void closeAndExpectExitZero(HWND window) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(run_.waitForExit(), 0u);
    }

    TempFolder home_;   // where the program copy and its files live
    TempFolder desk_;   // a desk folder to show
    ProgramRun run_{home_.path()};
};

} // namespace

TEST_F(Program, FolderArgumentNamesTheTitleAndCloseEndsWithZero) {
    HWND window = startWith(L"\"" + desk_.path() + L"\"");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TitleBecomes(window, desk_.path() + L" - Ta'rvo")) << WindowText(window);
    EXPECT_NE(DeskList(window), nullptr);
    closeAndExpectExitZero(window);
}

TEST_F(Program, EscapeThroughTheAcceleratorsEndsTheProgram) {
    HWND window = startWith(L"\"" + desk_.path() + L"\"");
    ASSERT_NE(window, nullptr);
    HWND list = DeskList(window);
    ASSERT_NE(list, nullptr);
    // A key posted to the list passes the message loop's accelerator table.
    PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(list, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    EXPECT_EQ(run_.waitForExit(), 0u);
}

TEST_F(Program, SwitchesAreIgnoredTrailingBlanksRemovedLaterArgumentsWin) {
    TempFolder second;
    HWND window = startWith(L"-x \"" + desk_.path() + L"\" -y \"" + second.path() + L"   \"");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TitleBecomes(window, second.path() + L" - Ta'rvo")) << WindowText(window);
    closeAndExpectExitZero(window);
}

TEST_F(Program, MissingFolderIsReportedWithNoOwnerThenTheDesktopIsShown) {
    std::wstring gone = desk_ / L"Gone";
    ASSERT_TRUE(run_.start(L"\"" + gone + L"\""));
    expectUnavailableBox(gone);
    HWND window = run_.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TitleBecomes(window, DesktopFolder() + L" - Ta'rvo")) << WindowText(window);
    closeAndExpectExitZero(window);
}

TEST_F(Program, UpperCaseIniIsAFolderAndAFileIsAnUnavailableOne) {
    std::wstring other = home_ / L"other.INI";
    home_.file(L"other.INI");
    ASSERT_TRUE(run_.start(L"\"" + other + L"\""));
    expectUnavailableBox(other);
    HWND window = run_.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    closeAndExpectExitZero(window);
}

TEST_F(Program, AnArgumentTooLongForAPathIsIgnored) {
    std::wstring tooLong = desk_.path() + L"\\" + std::wstring(300, L'x');
    HWND window = startWith(L"\"" + desk_.path() + L"\" \"" + tooLong + L"\"");
    ASSERT_NE(window, nullptr) << "no unavailable-folder box for a path that cannot be made";
    EXPECT_TRUE(TitleBecomes(window, desk_.path() + L" - Ta'rvo")) << WindowText(window);
    closeAndExpectExitZero(window);
}

TEST_F(Program, EndSessionThenCloseDoesNotCrash) {
    HWND window = startWith(L"\"" + desk_.path() + L"\"");
    ASSERT_NE(window, nullptr);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 5000, &result);
    closeAndExpectExitZero(window);
}
