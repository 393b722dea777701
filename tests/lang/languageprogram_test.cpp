// "-translate" and a translated message, seen from the built program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

// The missing folder before the switch would raise its box, and the process
// would not end, if the template did not end it first.
TEST(Translation, WritesTheExactTemplateAndBackupAndKeepsAReadOnlyFile) {
    TempFolder home;
    const std::wstring lang = home / L"tarvo.lang.ini",
                       args = L"\"" + (home / L"Gone") + L"\" -translate";
    const std::string translated = Utf16(L"[Menu Items]\r\nOpen\tEnter=Ouvrir\r\n");
    ASSERT_TRUE(WriteBytes(lang, translated) && WriteBytes(lang + L".bak", "older backup"));
    ProgramRun first(home.path());
    ASSERT_TRUE(first.start(args));
    EXPECT_EQ(first.waitForExit(), 0u);
    EXPECT_EQ(ReadBytes(lang), ReadBytes(ModuleFolder() + L"\\template.lang.ini"));
    EXPECT_EQ(ReadBytes(lang + L".bak"), translated);
    EXPECT_EQ(GetFileAttributesW((home / L"tarvo.ini").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(WriteBytes(lang, translated));
    SetFileAttributesW(lang.c_str(), FILE_ATTRIBUTE_READONLY);
    ProgramRun second(home.path());
    ASSERT_TRUE(second.start(args));
    EXPECT_EQ(second.waitForExit(), 0u);
    EXPECT_EQ(ReadBytes(lang), translated);
}

TEST(Translation, TranslatedMessageAppearsInTheStartUpBox) {
    TempFolder home;
    ASSERT_TRUE(
        WriteBytes(home / L"tarvo.lang.ini", Utf16(L"[Messages]\r\nis unavailable=fehlt\r\n")));
    ProgramRun run(home.path());
    ASSERT_TRUE(run.start(L"\"" + (home / L"Gone") + L"\""));
    HWND box = run.waitForDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogStaticText(box), (home / L"Gone") + L" fehlt");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
}
