// "-translate" and a translated message, seen from the built program.
#include <gtest/gtest.h>

#include <windows.h>

#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(Translation, WritesTheTemplateKeepsAReadOnlyFileAndTheMessageIsShown) {
    TempFolder home;
    const std::wstring lang = home / L"tarvo.lang.ini", gone = L"\"" + home / L"Gone" + L"\"";
    const std::string translated = Utf16(L"[Messages]\r\nis unavailable=fehlt\r\n");
    // The missing folder's box would keep the process up unless the template mode ends it.
    auto translate = [&] {
        ProgramRun run(home.path());
        return run.start(gone + L" -translate") ? run.waitForExit() : DWORD(-1);
    };
    ASSERT_TRUE(WriteBytes(lang, translated) && WriteBytes(lang + L".bak", "older backup"));
    EXPECT_EQ(translate(), 0u);
    EXPECT_EQ(ReadBytes(lang), ReadBytes(ModuleFolder() + L"\\template.lang.ini"));
    EXPECT_EQ(ReadBytes(lang + L".bak"), translated);
    EXPECT_FALSE(PathExists(home / L"tarvo.ini"));

    ASSERT_TRUE(WriteBytes(lang, translated));
    SetFileAttributesW(lang.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(translate(), 0u);
    EXPECT_EQ(ReadBytes(lang), translated);

    // Where the backup's name would not fit, no backup: the translation stays.
    const std::wstring deep = home.path() + L"\\" + std::wstring(241 - home.path().size(), L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(deep + L"\\tarvo.lang.ini", translated));
    ProgramRun deepRun(deep);
    ASSERT_TRUE(deepRun.start(L"-translate"));
    EXPECT_EQ(deepRun.waitForExit(), 0u);
    EXPECT_EQ(ReadBytes(deep + L"\\tarvo.lang.ini"), translated);

    ProgramRun run(home.path());
    ASSERT_TRUE(run.start(gone));
    HWND box = run.waitForDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogStaticText(box), home / L"Gone" + L" fehlt");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}
