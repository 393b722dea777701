// "-translate" and a translated message, seen from the built program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(Translation, WritesTheTemplateKeepsAReadOnlyFileAndTheMessageIsShown) {
    TempFolder home;
    const std::wstring lang = home / L"tarvo.lang.ini", gone = home / L"Gone";
    const std::string translated = Utf16(L"[Messages]\r\nis unavailable=fehlt\r\n");
    // The missing folder would raise its box, and the process would not end,
    // if the template mode did not end it first.
    auto translate = [&] {
        ProgramRun run(home.path());
        return run.start(L"\"" + gone + L"\" -translate") ? run.waitForExit() : DWORD(-1);
    };
    ASSERT_TRUE(WriteBytes(lang, translated) && WriteBytes(lang + L".bak", "older backup"));
    EXPECT_EQ(translate(), 0u);
    EXPECT_EQ(ReadBytes(lang), ReadBytes(ModuleFolder() + L"\\template.lang.ini"));
    EXPECT_EQ(ReadBytes(lang + L".bak"), translated);
    EXPECT_EQ(GetFileAttributesW((home / L"tarvo.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(WriteBytes(lang, translated));
    SetFileAttributesW(lang.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(translate(), 0u);
    EXPECT_EQ(ReadBytes(lang), translated);

    ProgramRun run(home.path());
    ASSERT_TRUE(run.start(L"\"" + gone + L"\""));
    HWND box = run.waitForDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogStaticText(box), gone + L" fehlt");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}
