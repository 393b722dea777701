// The language file, read into the command menu as it is loaded each time.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/application.h"
#include "app/handles.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

TEST(LanguageFile, TranslatesTheMenuItemItNamesAndNothingElse) {
    const std::wstring menu = L"[Menu Items]\r\n", open = L"Open\tEnter";
    const struct {
        std::wstring file;
        bool bom;
        std::wstring expected;
    } cases[] = {
        {menu + L"Open Enter=X\r\n", true, open},            // blanks for the tab
        {menu + L"OPEN\tenter=A\tB=C\r\n", true, L"A\tB=C"}, // any case; '=' in the text
        {menu + L"Open\tEnter=\r\n", true, open},            // empty: the built-in text
        {menu + L"Open\tEnter=" + std::wstring(60, L'x') + L"\r\n", true, std::wstring(49, L'x')},
        {L"[Level3 Menus]\r\nOpen\tEnter=Z\r\n[Language]\r\nOpen\tEnter=Z\r\n", true, open},
        {menu + L"Open\tEnter=W\r\n", false, open}, // no byte-order mark
        {menu + std::wstring(600, L'y') + L"=q\r\nOpen\tEnter=W\r\n", true, L"W"},
        {menu + std::wstring(600000, L'#') + L"\r\nOpen\tEnter=Big\r\n", true, open}, // too big
    };
    TempFolder folder;
    const std::wstring path = folder / L"tarvo.lang.ini";
    Application.instance = GetModuleHandleW(nullptr);
    auto commandMenu = [] {
        return MenuHandle(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes(path, Utf16(c.file, c.bom)));
        MenuHandle seed = commandMenu(), next = commandMenu();
        CollectMenuTexts(GetSubMenu(seed.get(), 0));
        LoadLanguage(path.c_str());
        ApplyMenuTexts(GetSubMenu(next.get(), 0));
        wchar_t text[256] = L"";
        GetMenuStringW(GetSubMenu(next.get(), 0), 1001, text, 256, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(text), c.expected) << c.file.substr(0, 40).c_str();
    }
}
