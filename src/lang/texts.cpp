#include "lang/texts.h"

#include "app/text.h"

TextEntry MenuTextTable[kMenuTextCount] = {
    {2200, L""}, {1001, L""}, {1002, L""}, {1003, L""}, {1004, L""}, {1005, L""}, {1006, L""},
    {1007, L""}, {1011, L""}, {1012, L""}, {1013, L""}, {1014, L""}, {1015, L""}, {1021, L""},
    {1022, L""}, {1023, L""}, {1024, L""}, {1025, L""}, {1026, L""}, {2225, L""}, {1031, L""},
    {1032, L""}, {1033, L""}, {1034, L""}, {1035, L""}, {1036, L""}, {1037, L""}, {1038, L""},
    {2226, L""}, {1051, L""}, {1052, L""}, {1053, L""}, {1054, L""}, {1055, L""}, {1056, L""},
    {1061, L""}, {1062, L""}, {1063, L""}, {1064, L""}, {2227, L""}, {1071, L""}, {1072, L""},
    {1073, L""}, {1074, L""}, {1075, L""}, {2228, L""}, {1081, L""}, {1082, L""}, {2230, L""},
    {1091, L""}, {1092, L""}, {1093, L""}, {1094, L""}, {2231, L""}, {1101, L""}, {1102, L""},
    {1103, L""}, {1104, L""}, {1105, L""},
};

TextEntry SubmenuTextTable[kSubmenuTextCount] = {
    {25, L""}, {26, L""}, {27, L""}, {28, L""}, {30, L""}, {31, L""},
};

TextEntry DialogTextTable[kDialogTextCount] = {
    {0, L"File Manager"},
    {1, L"Archive Manager"},
    {2, L"Command Processor"},
    {3, L"Text Viewer"},
    {4, L"Image Viewer"},
    {5, L"Ok"},
    {6, L":: Freeware ::"},
    {7, L"All donations appreciated"},
    {8, L"Language: Default (English)"},
    {9, L"Ta'rvo Help"},
};

TextEntry MessageTable[kMessageCount] = {
    {0, L"Select Desktop Folder"}, {1, L"Save Ta'rvo Settings"},
    {2, L"is unavailable"},        {3, L"New File"},
    {4, L"New Folder"},            {5, L"Couldn't create file/folder"},
};

namespace {

template <std::size_t N> const wchar_t* FindText(TextEntry (&table)[N], int id) {
    for (TextEntry& entry : table)
        if (entry.id == id) return entry.text;
    return nullptr;
}

} // namespace

const wchar_t* DialogText(int index) { return FindText(DialogTextTable, index); }
const wchar_t* MessageText(int index) { return FindText(MessageTable, index); }

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
