// "-translate" and a translated message, seen from the built program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

class Translation : public ::testing::Test {
  protected:
    std::wstring lang() const { return home_ / L"tarvo.lang.ini"; }
    std::wstring gone() const { return home_ / L"Gone"; }
    TempFolder home_;
    ProgramRun run_{home_.path()};
};

int FilesMatching(const std::wstring& pattern) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

} // namespace

// The missing folder before the switch would raise its box if the template
// did not end the process first.
TEST_F(Translation, WritesTheExactTemplateAndBackupAndEndsWithZero) {
    const std::string translated = Utf16(L"[Menu Items]\r\nOpen\tEnter=Ouvrir\r\n");
    ASSERT_TRUE(WriteBytes(lang(), translated));
    ASSERT_TRUE(WriteBytes(lang() + L".bak", "older backup"));
    ASSERT_TRUE(run_.start(L"\"" + gone() + L"\" -translate"));
    EXPECT_EQ(run_.waitForExit(), 0u);
    const std::string expected = ReadBytes(ModuleFolder() + L"\\template.lang.ini");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadBytes(lang()), expected);
    EXPECT_EQ(ReadBytes(lang() + L".bak"), translated);
    EXPECT_EQ(GetFileAttributesW((home_ / L"tarvo.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Translation, ReadOnlyLanguageFileStaysAndTheProcessStillEndsWithZero) {
    const std::string old = Utf16(L"[Dialogs]\r\nOk=Okay\r\n");
    ASSERT_TRUE(WriteBytes(lang(), old));
    SetFileAttributesW(lang().c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(run_.start(L"\"" + gone() + L"\" -translate"));
    EXPECT_EQ(run_.waitForExit(), 0u);
    EXPECT_EQ(ReadBytes(lang()), old);
    EXPECT_EQ(FilesMatching(home_ / L"*.tmp"), 0) << "no half-written file is left";
    EXPECT_EQ(GetFileAttributesW((home_ / L"tarvo.ini").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Translation, TranslatedMessageAppearsInTheStartUpBox) {
    ASSERT_TRUE(WriteBytes(lang(), Utf16(L"[Messages]\r\nis unavailable=fehlt\r\n")));
    ASSERT_TRUE(run_.start(L"\"" + gone() + L"\""));
    HWND box = run_.waitForDialog();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogStaticText(box), gone() + L" fehlt");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND window = run_.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run_.waitForExit(), 0u);
}
