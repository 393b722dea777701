#include <gtest/gtest.h>

#include <string>

#include "app/programfiles.h"

TEST(Arguments, OnlyTheExactTranslateSwitchIsSpecial) {
    EXPECT_EQ(ClassifyArgument(L"-translate"), ArgumentKind::Translate);
    EXPECT_EQ(ClassifyArgument(L"-Translate"), ArgumentKind::Switch);
    EXPECT_EQ(ClassifyArgument(L"-translate "), ArgumentKind::Switch);
    EXPECT_EQ(ClassifyArgument(L"-x"), ArgumentKind::Switch);
    EXPECT_EQ(ClassifyArgument(L"-"), ArgumentKind::Switch);
    EXPECT_EQ(ClassifyArgument(L"D:\\Work"), ArgumentKind::Value);
    EXPECT_EQ(ClassifyArgument(L"other.ini"), ArgumentKind::Value);
    EXPECT_EQ(ClassifyArgument(L"/x"), ArgumentKind::Value);
}

TEST(Arguments, TrailingBlanksAreRemovedButNotOtherSpace) {
    wchar_t text[] = L"D:\\Work   ";
    TrimTrailingBlanks(text);
    EXPECT_STREQ(text, L"D:\\Work");
    wchar_t tab[] = L"D:\\Work\t";
    TrimTrailingBlanks(tab);
    EXPECT_STREQ(tab, L"D:\\Work\t");
    wchar_t blanks[] = L"   ";
    TrimTrailingBlanks(blanks);
    EXPECT_STREQ(blanks, L"");
}

TEST(Arguments, SettingsFileTestIsCaseSensitiveOnTheLastDot) {
    EXPECT_TRUE(IsSettingsFilePath(L"C:\\x\\other.ini"));
    EXPECT_FALSE(IsSettingsFilePath(L"C:\\x\\other.INI"));
    EXPECT_FALSE(IsSettingsFilePath(L"C:\\x\\other.ini.bak"));
    EXPECT_FALSE(IsSettingsFilePath(L"C:\\x\\other"));
    EXPECT_TRUE(IsSettingsFilePath(L"C:\\my.folder\\.ini"));
    EXPECT_FALSE(IsSettingsFilePath(L"C:\\my.ini\\desk"));
}

TEST(Arguments, OfflineMissingOrFilesAreUnavailableFolders) {
    EXPECT_TRUE(IsFolderUnavailable(INVALID_FILE_ATTRIBUTES));
    EXPECT_TRUE(IsFolderUnavailable(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(IsFolderUnavailable(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(IsFolderUnavailable(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_OFFLINE));
    EXPECT_FALSE(IsFolderUnavailable(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(IsFolderUnavailable(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
}

TEST(ProgramFilesLocation, FilesLieBesideTheModule) {
    ProgramFiles files;
    LocateProgramFiles(L"D:\\Apps\\Tarvo\\tarvo.exe", files);
    EXPECT_STREQ(files.ini, L"D:\\Apps\\Tarvo\\tarvo.ini");
    EXPECT_STREQ(files.lang, L"D:\\Apps\\Tarvo\\tarvo.lang.ini");
    EXPECT_STREQ(files.help, L"D:\\Apps\\Tarvo\\Tarvo.txt");

    LocateProgramFiles(L"E:\\tarvo.exe", files);
    EXPECT_STREQ(files.ini, L"E:\\tarvo.ini");
}

TEST(ProgramFilesLocation, APathThatWouldNotFitIsLeftEmpty) {
    // A folder of 245 units: "\tarvo.ini" and "\Tarvo.txt" (10) fit, "\tarvo.lang.ini" (15)
    // would need 260 units and does not.
    std::wstring folder = L"D:\\" + std::wstring(242, L'a');
    ProgramFiles files;
    LocateProgramFiles((folder + L"\\tarvo.exe").c_str(), files);
    EXPECT_EQ(std::wstring(files.ini), folder + L"\\tarvo.ini");
    EXPECT_STREQ(files.lang, L"");
    EXPECT_EQ(std::wstring(files.help), folder + L"\\Tarvo.txt");
}

TEST(ProgramFilesLocation, NoModuleFolderMeansNoFiles) {
    // The module path is empty when it could not be read or did not fit.
    for (const wchar_t* module : {L"", L"tarvo.exe"}) {
        ProgramFiles files;
        LocateProgramFiles(module, files);
        EXPECT_STREQ(files.ini, L"");
        EXPECT_STREQ(files.lang, L"");
        EXPECT_STREQ(files.help, L"");
    }
}
