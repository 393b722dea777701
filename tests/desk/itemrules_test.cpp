#include <gtest/gtest.h>

#include <string>

#include "app/text.h"
#include "desk/itemrules.h"

TEST(ItemRules, ToolCommandSplitsAtTheFirstHyphenElseTheFirstSlash) {
    const std::wstring longTool = L"v.exe -" + std::wstring(250, L'x');
    struct Case {
        const wchar_t* tool;
        bool ok;
        const wchar_t* program;
        const wchar_t* parameters;
    } cases[] = {
        {L"notepad.exe", true, L"notepad.exe", L"\"C:\\d\\a b.txt\""},
        {L"viewer.exe -fullscreen -x", true, L"viewer.exe", L"-fullscreen -x \"C:\\d\\a b.txt\""},
        {L"arc.exe /open", true, L"arc.exe", L"/open \"C:\\d\\a b.txt\""},
        {L"t.exe /a -b", true, L"t.exe /a", L"-b \"C:\\d\\a b.txt\""},
        {L"C:\\my -tools\\v.exe /q", true, L"C:\\my", L"-tools\\v.exe /q \"C:\\d\\a b.txt\""},
        {L"", false, L"unchanged", L"unchanged"},
        {longTool.c_str(), false, L"unchanged", L"unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool);
        wchar_t program[kPathUnits] = L"unchanged";
        wchar_t parameters[kPathUnits] = L"unchanged";
        EXPECT_EQ(SplitToolCommand(c.tool, L"C:\\d\\a b.txt", program, parameters, kPathUnits),
                  c.ok);
        EXPECT_STREQ(program, c.program);
        EXPECT_STREQ(parameters, c.parameters);
    }
}

TEST(ItemRules, NewItemCandidatesAreNumberedInTwoDigits) {
    const std::wstring longBase(256, L'n');
    struct Case {
        const wchar_t* base;
        unsigned n;
        bool file;
        const wchar_t* name; // null: refused
    } cases[] = {
        {L"New File", 0, true, L"New File.txt"},        {L"New File", 1, true, L"New File01.txt"},
        {L"New File", 99, true, L"New File99.txt"},     {L"New Folder", 0, false, L"New Folder"},
        {L"New Folder", 7, false, L"New Folder07"},     {L"New File", 100, true, nullptr},
        {longBase.c_str(), 0, false, longBase.c_str()}, {longBase.c_str(), 0, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "candidate " << c.n << " file " << c.file);
        wchar_t name[kPathUnits] = L"";
        ASSERT_EQ(NewItemName(c.base, c.n, c.file, name, kPathUnits), c.name != nullptr);
        if (c.name) {
            EXPECT_STREQ(name, c.name);
        }
    }
}

TEST(ItemRules, PlainNamesAndWhatOpensInTheFileManager) {
    for (const wchar_t* name : {L"Post", L"a.b.c", L"..x", L"New File02.txt"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const wchar_t* name : {L"", L".", L"..", L"..\\out", L"sub/x", L"C:x", L"a*", L"a?"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;

    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\Work", FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\Backup.ZIP", FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\gone.zip", INVALID_FILE_ATTRIBUTES));
    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\gone", INVALID_FILE_ATTRIBUTES));
    EXPECT_FALSE(OpensInFileManager(L"C:\\d.zip\\a.txt", FILE_ATTRIBUTE_NORMAL));
}
