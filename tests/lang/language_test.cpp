// The language file, read into the command menu as it is loaded each time.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/application.h"
#include "app/handles.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(LanguageFile, TranslatesTheMenuItemItNamesAndNothingElse) {
    const std::wstring menu = L"[Menu Items]\r\n", open = L"Open\tEnter";
    const struct {
        const char* what;
        std::wstring file;
        bool bom;
        std::wstring expected;
    } cases[] = {
        {"blanks for the tab", menu + L"Open Enter=X\r\n", true, open},
        {"other letter case", menu + L"OPEN\tenter=Y\r\n", true, L"Y"},
        {"'=' in the translation", menu + L"Open\tEnter=A\tB=C\r\n", true, L"A\tB"},
        {"cut to 49", menu + L"Open\tEnter=" + std::wstring(60, L'x') + L"\r\n", true,
         std::wstring(49, L'x')},
        {"Level3 section", L"[Level3 Menus]\r\nOpen\tEnter=Z\r\n", true, open},
        {"Language section", L"[Language]\r\nOpen\tEnter=Z\r\n", true, open},
        {"no byte-order mark", menu + L"Open\tEnter=W\r\n", false, open},
        {"over-long line", menu + std::wstring(600, L'y') + L"=q\r\nOpen\tEnter=W\r\n", true, L"W"},
        {"huge file", menu + std::wstring(600000, L'#') + L"\r\nOpen\tEnter=Big\r\n", true, open},
    };
    TempFolder folder;
    const std::wstring path = folder / L"tarvo.lang.ini";
    Application.instance = GetModuleHandleW(nullptr);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes(path, Utf16(c.file, c.bom)));
        MenuHandle seed(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
        CollectMenuTexts(GetSubMenu(seed.get(), 0));
        LoadLanguage(path.c_str());
        MenuHandle next(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
        ApplyMenuTexts(GetSubMenu(next.get(), 0));
        wchar_t text[256] = L"";
        GetMenuStringW(GetSubMenu(next.get(), 0), 1001, text, 256, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(text), c.expected) << c.what;
    }
}
