#pragma once
// The translatable texts: four process-wide tables whose entries a language
// file can replace.

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr std::size_t kTextUnits = 50; // 49 characters and a terminator

struct TextEntry {
    std::int32_t id;
    wchar_t text[kTextUnits];
};

constexpr std::size_t kMenuTextCount = 59;
constexpr std::size_t kSubmenuTextCount = 6;
constexpr std::size_t kDialogTextCount = 10;
constexpr std::size_t kMessageCount = 6;

extern TextEntry MenuTextTable[kMenuTextCount];
extern TextEntry SubmenuTextTable[kSubmenuTextCount];
extern TextEntry DialogTextTable[kDialogTextCount];
extern TextEntry MessageTable[kMessageCount];

// The entries of DialogTextTable.
enum DialogTextId : std::int32_t {
    kDialogFileManager,
    kDialogArchiveManager,
    kDialogCommandProcessor,
    kDialogTextViewer,
    kDialogImageViewer,
    kDialogOk,
    kDialogFreeware,
    kDialogDonations,
    kDialogLanguage,
    kDialogVisit,
};

// The entries of MessageTable.
enum MessageId : std::int32_t {
    kMessageChooseDesk,
    kMessageSaveSettings,
    kMessageUnavailable,
    kMessageNewFile,
    kMessageNewFolder,
    kMessageCreateFailed,
};

// The current text of the entry with this id, or null when there is none.
const wchar_t* DialogText(DialogTextId id);
const wchar_t* MessageText(MessageId id);

// Copies the built-in menu texts of the main popup into the menu tables.
void CollectMenuTexts(HMENU mainPopup);

// Sets the item texts and sub-menu titles of a freshly loaded main popup from
// the menu tables, before every showing of the command menu.
void ApplyMenuTexts(HMENU mainPopup);

// Replaces table texts with the translations of the language file at path.
// A file that is missing, not UTF-16LE with a byte-order mark, or too large to
// be a language file changes nothing.
void LoadLanguage(const wchar_t* path);

// Backs up the language file to path + ".bak" and writes the translation
// template over it; false when no complete template was stored.
bool SaveLanguageTemplate(const wchar_t* path);

// The "-translate" mode: the template is written and the process ends with
// code 0, whether or not the file could be written.
[[noreturn]] void WriteLanguageTemplate(const wchar_t* path);
