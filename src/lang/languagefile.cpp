#include <windows.h>

#include "app/application.h"
#include "app/handles.h"
#include "app/text.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/inifile.h"

namespace {

// A complete translation is a few kilobytes; a file far beyond that is not a
// language file, and every section read would scan all of it again.
constexpr LONGLONG kMaxLanguageFileBytes = 1 << 20;

// Each entry's text is both its key and its value, so a line whose left side
// equals the current text replaces that text.
template <std::size_t N> struct TableEntries {
    explicit TableEntries(TextEntry (&table)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            entries[i] = {table[i].text, IniString, table[i].text};
        entries[N] = {nullptr, 0, nullptr};
    }
    IniEntry entries[N + 1];
};

const IniEntry kNoEntries[] = {{nullptr, 0, nullptr}};

// Only a UTF-16LE file with its byte-order mark is read: anything else would
// be taken two bytes at a time as text it does not hold.
bool IsLanguageFile(const wchar_t* path) {
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxLanguageFileBytes) return false;
    unsigned char bom[2] = {};
    DWORD got = 0;
    return ReadFile(file.get(), bom, 2, &got, nullptr) && got == 2 && bom[0] == 0xFF &&
           bom[1] == 0xFE;
}

template <std::size_t N> void SetItemTexts(HMENU menu, TextEntry (&table)[N], BOOL byPosition) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.fType = MFT_STRING;
    for (TextEntry& entry : table) {
        info.dwTypeData = entry.text;
        SetMenuItemInfoW(menu, static_cast<UINT>(entry.id), byPosition, &info);
    }
}

} // namespace

void ApplyMenuTexts(HMENU mainPopup) {
    SetItemTexts(mainPopup, MenuTextTable, FALSE);
    SetItemTexts(mainPopup, SubmenuTextTable, TRUE);
}

void LoadLanguage(const wchar_t* path) {
    if (!IsLanguageFile(path)) return;
    TableEntries menuItems(MenuTextTable);
    TableEntries submenus(SubmenuTextTable);
    TableEntries dialogs(DialogTextTable);
    TableEntries messages(MessageTable);
    const IniSection sections[] = {
        {L"[Menu Items]", menuItems.entries, kTextUnits},
        {L"[Level2 Menus]", submenus.entries, kTextUnits},
        {L"[Level3 Menus]", kNoEntries, kTextUnits},
        {L"[Dialogs]", dialogs.entries, kTextUnits},
        {L"[Messages]", messages.entries, kTextUnits},
    };
    // An empty translation leaves the built-in text.
    ReadIniSections(path, sections, sizeof sections / sizeof sections[0],
                    IniEmptyValue::KeepsVariable);
}

bool SaveLanguageTemplate(const wchar_t* path) {
    // A program that cannot name its own folder writes no file anywhere else.
    if (path[0] == L'\0') return false;
    // A read-only language file is kept: the file is replaced by a move,
    // which some file systems allow over a read-only file.
    DWORD attributes = GetFileAttributesW(path);
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    // The translation in the file is kept as the backup, or the file is not
    // replaced. CopyFileW will not replace a hidden or read-only older backup.
    wchar_t backup[kPathUnits];
    bool backedUp = CopyText(backup, path) && AppendText(backup, L".bak");
    if (backedUp && attributes != INVALID_FILE_ATTRIBUTES) {
        SetFileAttributesW(backup, FILE_ATTRIBUTE_NORMAL);
        backedUp = CopyFileW(path, backup, FALSE) != FALSE;
    }
    if (!backedUp && attributes != INVALID_FILE_ATTRIBUTES) return false;

    MenuHandle menu(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    if (menu) CollectMenuTexts(GetSubMenu(menu.get(), 0));

    wchar_t version[kTextUnits];
    CopyTruncated(version, Application.version);
    wchar_t language[] = L"English";
    wchar_t empty[] = L"";
    wchar_t note[] = L"49 chars, name and menu key separated by a tab, key may be translated, "
                     L"not changed";
    const IniEntry about[] = {
        {L"Ta'rvo", IniString, version},   {L"Language", IniString, language},
        {L"Translator", IniString, empty}, {L"Contact", IniString, empty},
        {L";", IniString, note},           {nullptr, 0, nullptr},
    };
    TableEntries menuItems(MenuTextTable);
    TableEntries submenus(SubmenuTextTable);
    TableEntries dialogs(DialogTextTable);
    TableEntries messages(MessageTable);
    const IniSection sections[] = {
        {L"[Language]", about, kTextUnits},
        {L"[Menu Items]", menuItems.entries, kTextUnits},
        {L"[Level2 Menus]", submenus.entries, kTextUnits},
        {L"[Level3 Menus]", kNoEntries, kTextUnits},
        {L"[Dialogs]", dialogs.entries, kTextUnits},
        {L"[Messages]", messages.entries, kTextUnits},
    };
    return !readOnly && SaveIniSections(path, sections, sizeof sections / sizeof sections[0]);
}

void WriteLanguageTemplate(const wchar_t* path) {
    SaveLanguageTemplate(path);
    // Nothing else of the start-up may follow: no window, no message box, no
    // settings file written on the way out.
    ExitProcess(0);
}
