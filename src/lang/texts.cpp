#include "lang/texts.h"

#include "app/text.h"
#include "commands/commandids.h"
#include "commands/pins.h"

TextEntry MenuTextTable[kMenuTextCount] = {
    {CMD_PIN_MAIN, L""},
    {CMD_OPEN, L""},
    {CMD_RENAME, L""},
    {CMD_VIEW_TEXT, L""},
    {CMD_VIEW_IMAGE, L""},
    {CMD_VIEW_ARCHIVE, L""},
    {CMD_PROPERTIES, L""},
    {CMD_SHELL_MENU, L""},
    {CMD_RECYCLE, L""},
    {CMD_DELETE, L""},
    {CMD_CUT, L""},
    {CMD_COPY, L""},
    {CMD_PASTE, L""},
    {CMD_NEW_FILE, L""},
    {CMD_NEW_FOLDER, L""},
    {CMD_REFRESH, L""},
    {CMD_SELECT_ALL, L""},
    {CMD_EXPLORE_HERE, L""},
    {CMD_COMMAND_SHELL, L""},
    {CMD_PIN_TARVO, L""},
    {CMD_FOLDER, L""},
    {CMD_TEXT_COLOUR, L""},
    {CMD_BACKGROUND_COLOUR, L""},
    {CMD_TRANSPARENT, L""},
    {CMD_CENTER_HORIZ, L""},
    {CMD_CENTER_VERT, L""},
    {CMD_TRAY_ICON, L""},
    {CMD_STAY_ON_TOP, L""},
    {CMD_PIN_DESK, L""},
    {CMD_LARGE_ICONS, L""},
    {CMD_SMALL_ICONS, L""},
    {CMD_LIST, L""},
    {CMD_SORT_BY_NAME, L""},
    {CMD_SORT_BY_EXTENSION, L""},
    {CMD_FOLDERS_FIRST, L""},
    {CMD_SET_HOME, L""},
    {CMD_SET_END, L""},
    {CMD_SHOW_HIDDEN, L""},
    {CMD_DESK_PROPERTIES, L""},
    {CMD_PIN_TOOLS, L""},
    {CMD_FILE_MANAGER, L""},
    {CMD_ARCHIVE_MANAGER, L""},
    {CMD_COMMAND_PROCESSOR, L""},
    {CMD_TEXT_VIEWER, L""},
    {CMD_IMAGE_VIEWER, L""},
    {CMD_PIN_STATUS, L""},
    {CMD_TIME, L""},
    {CMD_RECYCLE_BIN, L""},
    {CMD_PIN_SETTINGS, L""},
    {CMD_SAVE_NOW, L""},
    {CMD_SAVE_AS, L""},
    {CMD_SAVE_ON_EXIT, L""},
    {CMD_SAVE_FOLDER, L""},
    {CMD_PIN_INFO, L""},
    {CMD_MENU, L""},
    {CMD_AT_CURSOR, L""},
    {CMD_HELP, L""},
    {CMD_ABOUT, L""},
    {CMD_EXIT, L""},
};

TextEntry SubmenuTextTable[kSubmenuTextCount] = {
    {SubmenuPosition(CMD_PIN_TARVO), L""},    {SubmenuPosition(CMD_PIN_DESK), L""},
    {SubmenuPosition(CMD_PIN_TOOLS), L""},    {SubmenuPosition(CMD_PIN_STATUS), L""},
    {SubmenuPosition(CMD_PIN_SETTINGS), L""}, {SubmenuPosition(CMD_PIN_INFO), L""},
};

TextEntry DialogTextTable[kDialogTextCount] = {
    {kDialogFileManager, L"File Manager"},
    {kDialogArchiveManager, L"Archive Manager"},
    {kDialogCommandProcessor, L"Command Processor"},
    {kDialogTextViewer, L"Text Viewer"},
    {kDialogImageViewer, L"Image Viewer"},
    {kDialogOk, L"Ok"},
    {kDialogFreeware, L":: Freeware ::"},
    {kDialogDonations, L"All donations appreciated"},
    {kDialogLanguage, L"Language: Default (English)"},
    {kDialogVisit, L"Ta'rvo Help"},
};

TextEntry MessageTable[kMessageCount] = {
    {kMessageChooseDesk, L"Select Desktop Folder"},
    {kMessageSaveSettings, L"Save Ta'rvo Settings"},
    {kMessageUnavailable, L"is unavailable"},
    {kMessageNewFile, L"New File"},
    {kMessageNewFolder, L"New Folder"},
    {kMessageCreateFailed, L"Couldn't create file/folder"},
};

namespace {

template <std::size_t N> const wchar_t* FindText(TextEntry (&table)[N], int id) {
    for (TextEntry& entry : table)
        if (entry.id == id) return entry.text;
    return nullptr;
}

} // namespace

const wchar_t* DialogText(DialogTextId id) {
    return FindText(DialogTextTable, id);
}
const wchar_t* MessageText(MessageId id) {
    return FindText(MessageTable, id);
}

void CollectMenuTexts(HMENU mainPopup) {
    wchar_t text[256];
    for (TextEntry& entry : MenuTextTable) {
        text[0] = L'\0';
        GetMenuStringW(mainPopup, static_cast<UINT>(entry.id), text, 256, MF_BYCOMMAND);
        CopyTruncated(entry.text, text);
    }
    for (TextEntry& entry : SubmenuTextTable) {
        text[0] = L'\0';
        GetMenuStringW(mainPopup, static_cast<UINT>(entry.id), text, 256, MF_BYPOSITION);
        CopyTruncated(entry.text, text);
    }
}
