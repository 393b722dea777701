// The settings file of the built tarvo.exe, started as a user starts it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

std::wstring Number(long value) { return std::to_wstring(value); }

// The file a run writes, with the desk folder, the colours and the rectangle given.
std::wstring SettingsText(const std::wstring& folder, bool savefolder, COLORREF colour,
                          COLORREF textColour, const RECT& rect, const std::wstring& middle) {
    return L"[Ta'rvo]\r\nversion=1.00\r\n\r\n"
           L"[Portable]\r\n"
           L";=for portability, set convertlinks=TRUE, savefolder=FALSE, and use relative paths "
           L"eg. \\mydesk\r\n"
           L"convertlinks=FALSE\r\nsavefolder=" + std::wstring(savefolder ? L"TRUE" : L"FALSE") +
           L"\r\nfolder=" + folder + L"\r\n" + middle +
           L"[Tarvo]\r\ncolour=" + Number(static_cast<long>(colour)) + L"\r\ntext colour=" +
           Number(static_cast<long>(textColour)) +
           L"\r\ntransparent=FALSE\r\ntrayicon=FALSE\r\nontop=FALSE\r\n\r\n"
           L"[Position]\r\nleft=" + Number(rect.left) + L"\r\ntop=" + Number(rect.top) +
           L"\r\nright=" + Number(rect.right) + L"\r\nbottom=" + Number(rect.bottom) + L"\r\n\r\n"
           L"[Desk]\r\nicon style=0\r\nsort=1\r\ndirsfirst=TRUE\r\nshowhidden=FALSE\r\nhome=\r\n"
           L"end=\r\n\r\n"
           L"[Status]\r\ntime=FALSE\r\nrecycler=TRUE\r\n\r\n"
           L"[Settings]\r\nsavesettings=TRUE\r\n\r\n"
           L"[Menu]\r\nat cursor=TRUE\r\n";
}

const std::wstring kDefaultTools =
    L"filemanager=explorer.exe\r\narcmanager=\r\ncmdprocessor=cmd.exe\r\n"
    L"textviewer=notepad.exe\r\nimageviewer=\r\n\r\n"
    L"[Tweak]\r\nautorefresh latency (ms)=200\r\ntrim memory (ms)=10000\r\n\r\n";

// Every key away from its default, save that the exit must still write.
std::wstring EveryKeyText(const std::wstring& folder, bool savefolder, const RECT& rect) {
    return L"[Ta'rvo]\r\nversion=1.00\r\n\r\n"
           L"[Portable]\r\n"
           L";=for portability, set convertlinks=TRUE, savefolder=FALSE, and use relative paths "
           L"eg. \\mydesk\r\n"
           L"convertlinks=TRUE\r\nsavefolder=" + std::wstring(savefolder ? L"TRUE" : L"FALSE") +
           L"\r\nfolder=" + folder + L"\r\n"
           L"filemanager=fm.exe /e\r\narcmanager=arc.exe\r\ncmdprocessor=pwsh.exe\r\n"
           L"textviewer=view.exe\r\nimageviewer=img.exe\r\n\r\n"
           L"[Tweak]\r\nautorefresh latency (ms)=350\r\ntrim memory (ms)=0\r\n\r\n"
           L"[Tarvo]\r\ncolour=8421376\r\ntext colour=65280\r\ntransparent=TRUE\r\ntrayicon=TRUE\r\n"
           L"ontop=TRUE\r\nhotkey=Win+Shift+F12\r\n\r\n"
           L"[Position]\r\nleft=" + Number(rect.left) + L"\r\ntop=" + Number(rect.top) +
           L"\r\nright=" + Number(rect.right) + L"\r\nbottom=" + Number(rect.bottom) + L"\r\n\r\n"
           L"[Desk]\r\nicon style=2\r\nsort=0\r\ndirsfirst=FALSE\r\nshowhidden=TRUE\r\nhome=Inbox\r\n"
           L"end=Zzz.txt\r\nthumbnails=FALSE\r\n\r\n"
           L"[Status]\r\ntime=TRUE\r\nrecycler=FALSE\r\n\r\n"
           L"[Settings]\r\nsavesettings=TRUE\r\n\r\n"
           L"[Menu]\r\nat cursor=FALSE\r\n";
}

class ProgramSettings : public ::testing::Test {
  protected:
    // Starts the program, waits for this title, and returns the window's
    // rectangle just before closing it, and whether it ended with 0. With an
    // unavailable folder given, first answers the box that reports it.
    bool runUntilClosed(const std::wstring& arguments, const std::wstring& title, RECT& rect,
                        const std::wstring& unavailable = L"") {
        ProgramRun run(home_.path());
        if (!run.start(arguments)) return false;
        if (!unavailable.empty()) {
            HWND box = run.waitForDialog();
            if (!box) return false;
            EXPECT_EQ(DialogStaticText(box), unavailable + L" is unavailable");
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        HWND window = run.waitForMainWindow();
        if (!window) return false;
        // The clock, when on, follows the title.
        bool titled = WaitFor([&] { return WindowText(window).rfind(title, 0) == 0; }, 10000);
        EXPECT_TRUE(titled) << WindowText(window);
        GetWindowRect(window, &rect);
        PostMessageW(window, WM_CLOSE, 0, 0);
        return run.waitForExit() == 0 && titled;
    }

    TempFolder home_; // the program copy and its settings files
    std::wstring settings_ = home_ / L"tarvo.ini";
};

} // namespace

TEST_F(ProgramSettings, AFirstRunWritesTheCompleteFileOnExit) {
    RECT rect;
    ASSERT_TRUE(runUntilClosed(L"", DesktopFolder() + L" - Ta'rvo", rect));
    std::wstring expected = SettingsText(DesktopFolder(), true, GetSysColor(COLOR_BACKGROUND),
                                         GetSysColor(COLOR_INFOTEXT), rect, kDefaultTools);
    EXPECT_EQ(ReadBytes(settings_), Utf16(expected)) << ReadUtf16(settings_);
}

TEST_F(ProgramSettings, EveryKeyRoundTripsAndARelativeFolderStaysRelative) {
    home_.folder(L"desk");
    RECT placed = {40, 30, 640, 500};
    ASSERT_TRUE(WriteUtf16(settings_, EveryKeyText(L"desk", false, placed)));
    RECT rect;
    ASSERT_TRUE(runUntilClosed(L"", (home_ / L"desk") + L" - Ta'rvo", rect));
    // The rectangle written is the window's own at exit; once placement puts
    // the window where the file says, the two are the same.
    EXPECT_EQ(ReadUtf16(settings_), EveryKeyText(L"desk", false, rect));
}

TEST_F(ProgramSettings, WithSaveFolderTheFullPathReplacesTheRelativeText) {
    home_.folder(L"desk");
    RECT placed = {40, 30, 640, 500};
    ASSERT_TRUE(WriteUtf16(settings_, EveryKeyText(L"desk", true, placed)));
    RECT rect;
    ASSERT_TRUE(runUntilClosed(L"", (home_ / L"desk") + L" - Ta'rvo", rect));
    EXPECT_EQ(ReadUtf16(settings_),
              EveryKeyText(home_ / L"desk", true, rect));
}

TEST_F(ProgramSettings, StringsComeBackAsSavedAndAFolderAwayForAStartIsKept) {
    const std::wstring desk = home_ / L"Work=2024"; // not there at the first start
    auto text = [&](const RECT& rect) {
        std::wstring t = EveryKeyText(desk, true, rect);
        t.replace(t.find(L"filemanager="), t.find(L"\r\n\r\n[Tweak]") - t.find(L"filemanager="),
                  L"filemanager=viewer.exe --mode=text\r\narcmanager= =\r\ncmdprocessor=\r\n"
                  L"textviewer=\r\nimageviewer==img.exe=");
        return t.replace(t.find(L"home=Inbox"), 10, L"home=");
    };
    RECT rect = {40, 30, 640, 500};
    ASSERT_TRUE(WriteUtf16(settings_, text(rect)));
    ASSERT_TRUE(runUntilClosed(L"", DesktopFolder() + L" - Ta'rvo", rect, desk));
    EXPECT_EQ(ReadUtf16(settings_), text(rect));
    home_.folder(L"Work=2024");
    ASSERT_TRUE(runUntilClosed(L"", desk + L" - Ta'rvo", rect));
    EXPECT_EQ(ReadUtf16(settings_), text(rect));
}

TEST_F(ProgramSettings, AnIniArgumentIsReadAndWrittenBackThere) {
    TempFolder desk;
    std::wstring other = home_ / L"other.ini";
    ASSERT_TRUE(WriteUtf16(other, L"[Portable]\r\nfolder=" + desk.path() + L"\r\n\r\n[Desk]\r\nsort=0\r\n"));
    RECT rect;
    ASSERT_TRUE(runUntilClosed(L"other.ini", desk.path() + L" - Ta'rvo", rect));
    std::wstring text = ReadUtf16(other);
    EXPECT_NE(text.find(L"\r\nfolder=" + desk.path() + L"\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\r\nsort=0\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\r\n[Menu]\r\nat cursor=TRUE\r\n"), std::wstring::npos) << text;
    EXPECT_EQ(GetFileAttributesW(settings_.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the default file is neither needed nor written";
}

TEST_F(ProgramSettings, WithoutSaveOnExitTheFileIsLeftAsItWas) {
    std::string bytes = Utf16(L"# a note that a rewrite would drop\r\n[Settings]\r\nsavesettings=FALSE\r\n");
    ASSERT_TRUE(WriteBytes(settings_, bytes));
    RECT rect;
    ASSERT_TRUE(runUntilClosed(L"", DesktopFolder() + L" - Ta'rvo", rect));
    EXPECT_EQ(ReadBytes(settings_), bytes);
}

TEST_F(ProgramSettings, ASettingsFileThatCannotBeWrittenIsLostSilently) {
    home_.folder(L"locked.ini");
    RECT rect;
    ASSERT_TRUE(runUntilClosed(L"locked.ini", DesktopFolder() + L" - Ta'rvo", rect))
        << "the program starts and ends normally";
    EXPECT_TRUE(GetFileAttributesW((home_ / L"locked.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    std::vector<std::wstring> names = FolderNames(home_.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"locked.ini", L"tarvo.exe"}));
}
