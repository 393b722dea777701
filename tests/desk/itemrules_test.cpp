#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/text.h"
#include "desk/itemrules.h"

TEST(ItemRules, ToolSplitsNewItemNamesAndPlainNames) {
    const std::wstring longTool = L"v.exe -" + std::wstring(250, L'x');
    struct Split {
        const wchar_t *tool, *program, *parameters; // null program: refused
    } splits[] = {
        {L"notepad.exe", L"notepad.exe", L"\"C:\\d\\a b.txt\""},
        {L"viewer.exe -fullscreen -x", L"viewer.exe", L"-fullscreen -x \"C:\\d\\a b.txt\""},
        {L"arc.exe /open", L"arc.exe", L"/open \"C:\\d\\a b.txt\""},
        {L"t.exe /a -b", L"t.exe /a", L"-b \"C:\\d\\a b.txt\""},
        {L"", nullptr, nullptr},
        {longTool.c_str(), nullptr, nullptr},
    };
    for (const Split& c : splits) {
        wchar_t program[kPathUnits] = L"-", parameters[kPathUnits] = L"-";
        EXPECT_EQ(SplitToolCommand(c.tool, L"C:\\d\\a b.txt", program, parameters, kPathUnits),
                  c.program != nullptr)
            << c.tool;
        EXPECT_STREQ(program, c.program ? c.program : L"-") << c.tool;
        EXPECT_STREQ(parameters, c.parameters ? c.parameters : L"-") << c.tool;
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
    // An item that is gone still goes to the file manager, which reports it.
    EXPECT_TRUE(OpensInFileManager(L"C:\\d\\gone", INVALID_FILE_ATTRIBUTES));
}
