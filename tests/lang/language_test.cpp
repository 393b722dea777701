// The text tables and the language file, read into real menus.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "app/application.h"
#include "app/handles.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "support/testsupport.h"

namespace {

enum Where { Menu, Submenu, Dialog, Message };

// The text after loading the file, read where the program shows it: menu
// texts from a freshly loaded menu, as the command menu is each time.
std::wstring TextAfterLoading(const std::wstring& path, Where where, int id) {
    Application.instance = GetModuleHandleW(nullptr);
    MenuHandle seed(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    CollectMenuTexts(GetSubMenu(seed.get(), 0));
    LoadLanguage(path.c_str());
    if (where == Dialog || where == Message)
        return where == Dialog ? DialogText(id) : MessageText(id);
    MenuHandle menu(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    ApplyMenuTexts(GetSubMenu(menu.get(), 0));
    wchar_t text[256] = L"";
    GetMenuStringW(GetSubMenu(menu.get(), 0), id, text, 256,
                   where == Menu ? MF_BYCOMMAND : MF_BYPOSITION);
    return text;
}

} // namespace

TEST(LanguageFile, TranslatesWhatItNamesAndNothingElse) {
    const std::wstring kMenu = L"[Menu Items]\r\n";
    const std::wstring big = kMenu + std::wstring(600000, L'#') + L"\r\nOpen\tEnter=Big\r\n";
    const struct {
        const char* what;
        std::wstring file;
        bool bom;
        Where where;
        int id;
        std::wstring expected;
    } cases[] = {
        {"tab-separated key", kMenu + L"Open\tEnter=Ouvrir\tEntr\u00e9e\r\n", true, Menu, 1001,
         L"Ouvrir\tEntr\u00e9e"},
        {"blanks for the tab", kMenu + L"Open Enter=X\r\n", true, Menu, 1001, L"Open\tEnter"},
        {"other letter case", kMenu + L"OPEN\tenter=Y\r\n", true, Menu, 1001, L"Y"},
        {"'=' in the translation", kMenu + L"Open\tEnter=A\tB=C\r\n", true, Menu, 1001, L"A\tB"},
        {"one Pin line, all Pins", kMenu + L"Pin=Nadel\r\n", true, Menu, 2231, L"Nadel"},
        {"a later line again", kMenu + L"Refresh\tF5=R1\r\nr1=R2\r\n", true, Menu, 1023, L"R2"},
        {"cut to 49", kMenu + L"Open\tEnter=" + std::wstring(60, L'x') + L"\r\n", true, Menu, 1001,
         std::wstring(49, L'x')},
        {"Level3 ignored", L"[Level3 Menus]\r\nOpen\tEnter=Z\r\n", true, Menu, 1001,
         L"Open\tEnter"},
        {"Language ignored", L"[Language]\r\nOpen\tEnter=Z\r\n", true, Menu, 1001, L"Open\tEnter"},
        {"sub-menu title", L"[Level2 Menus]\r\nDesk=Bureau\r\n", true, Submenu, 26, L"Bureau"},
        {"dialog text", L"[Dialogs]\r\nText Viewer=Lecteur\r\n", true, Dialog, 3, L"Lecteur"},
        {"message", L"[Messages]\r\nis unavailable=fehlt\r\n", true, Message, 2, L"fehlt"},
        {"no byte-order mark", kMenu + L"Open\tEnter=W\r\n", false, Menu, 1001, L"Open\tEnter"},
        {"over-long line", kMenu + std::wstring(600, L'y') + L"=q\r\nOpen\tEnter=W\r\n", true, Menu,
         1001, L"W"},
        {"huge file", big, true, Menu, 1001, L"Open\tEnter"},
    };
    TempFolder folder;
    const std::wstring path = folder / L"tarvo.lang.ini";
    TextEntry dialogs[kDialogTextCount], messages[kMessageCount];
    std::memcpy(dialogs, DialogTextTable, sizeof dialogs);
    std::memcpy(messages, MessageTable, sizeof messages);
    for (auto& c : cases) {
        ASSERT_TRUE(WriteBytes(path, Utf16(c.file, c.bom)));
        EXPECT_EQ(TextAfterLoading(path, c.where, c.id), c.expected) << c.what;
        std::memcpy(DialogTextTable, dialogs, sizeof dialogs);
        std::memcpy(MessageTable, messages, sizeof messages);
    }
}
