#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/text.h"
#include "desk/itemrules.h"

TEST(ItemRules, ToolSplitsNewItemNamesAndPlainNames) {
    // Tool lines as the view tools, the file manager (with a folder) and the
    // command shell (with none) use them; paths quoted so that a program
    // reading its command line by the C runtime's rules gets them whole.
    const std::wstring longTool = L"v.exe -" + std::wstring(252, L'x');
    const std::wstring longPath = L"C:\\" + std::wstring(256, L'p');
    const std::wstring longQuoted = L"\"" + longPath + L"\"";
    const std::wstring longOptions = longTool.substr(6) + L" " + longQuoted;
    ASSERT_EQ(longPath.size(), kPathUnits - 1);
    struct Split {
        const wchar_t *tool, *path, *program, *parameters; // null program: refused
    } splits[] = {
        {L"notepad.exe", L"C:\\d\\a b.txt", L"notepad.exe", L"\"C:\\d\\a b.txt\""},
        {L"viewer.exe -fullscreen -x", L"C:\\d\\a b.txt", L"viewer.exe",
         L"-fullscreen -x \"C:\\d\\a b.txt\""},
        {L"t.exe /a -b", L"C:\\d\\a b.txt", L"t.exe /a", L"-b \"C:\\d\\a b.txt\""},
        {L"explorer.exe /e,", L"D:\\Desk", L"explorer.exe", L"/e, \"D:\\Desk\""},
        {L"explorer.exe", L"D:\\", L"explorer.exe", L"\"D:\\\\\""},
        {L"fm.exe -n", L"\\\\srv\\share\\", L"fm.exe", L"-n \"\\\\srv\\share\\\\\""},
        {L"cmd.exe /k dir", nullptr, L"cmd.exe", L"/k dir"},
        {L"C:\\Tools\\sh.exe -l -i", nullptr, L"C:\\Tools\\sh.exe", L"-l -i"},
        {L"cmd.exe", nullptr, L"cmd.exe", L""},
        {longTool.c_str(), longPath.c_str(), L"v.exe", longOptions.c_str()},
        {L"explorer.exe", longPath.c_str(), L"explorer.exe", longQuoted.c_str()},
        {L"", L"C:\\d", nullptr, nullptr},
        {L" -x", nullptr, nullptr, nullptr},
    };
    for (const Split& c : splits) {
        ToolCall call = {L"-", L"-"};
        EXPECT_EQ(SplitToolCommand(c.tool, c.path, call), c.program != nullptr) << c.tool;
        EXPECT_STREQ(call.program, c.program ? c.program : L"-") << c.tool;
        EXPECT_STREQ(call.parameters, c.parameters ? c.parameters : L"-") << c.tool;
    }
    // Empty: refused.
    for (auto [n, file, expected] : {std::tuple{0u, true, L"New File.txt"},
                                     {1u, true, L"New File01.txt"},
                                     {99u, true, L"New File99.txt"},
                                     {7u, false, L"New File07"},
                                     {100u, true, L""}}) {
        wchar_t name[kPathUnits] = L"";
        EXPECT_EQ(NewItemName(L"New File", n, file, name, kPathUnits), *expected != 0) << n;
        EXPECT_STREQ(name, expected) << n;
    }
    wchar_t name[kPathUnits];
    EXPECT_FALSE(NewItemName(std::wstring(256, L'n').c_str(), 0, true, name, kPathUnits));

    // A rename to anything but a plain name could leave the desk folder.
    for (const wchar_t* plain :
         {L"Post", L"..x", L"a.b.c", L"CONSOLE", L"nul_x.txt", L"COMA", L"LPT10"})
        EXPECT_TRUE(IsPlainFileName(plain)) << plain;
    // Device names, which take a renamed file's contents on some systems, and
    // names the system would change by dropping trailing dots or blanks.
    for (const wchar_t* bad :
         {L"", L".", L"..", L"..\\out", L"sub/x", L"C:x", L"a*", L"a?", L"NUL", L"nul.txt",
          L"Con .tar.gz", L"aux", L"PRN", L"com1.log", L"LPT9", L"COM\u00b9", L"Notes.", L"Notes "})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    // An item that is gone still goes to the file manager, which reports it;
    // a shortcut to something gone goes to the shell.
    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\gone", INVALID_FILE_ATTRIBUTES, false));
    EXPECT_FALSE(OpensInFileManager(L"C:\\d\\gone", INVALID_FILE_ATTRIBUTES, true));
    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\a.ZIP", FILE_ATTRIBUTE_NORMAL, true));
}
