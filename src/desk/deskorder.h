#pragma once
// The order of the desk list, as plain functions over file names: which
// directory entries are listed, the two sort orders, folders first, and the
// one entry kept first and the one kept last.

#include <windows.h>

#include <string>
#include <vector>

// Case-insensitive, under the user's locale.
bool LessByName(const wchar_t* a, const wchar_t* b);
// Names without a dot first; then by extension (from the last dot, compared
// case-sensitively by UTF-16 unit); equal extensions by name.
bool LessByExtension(const wchar_t* a, const wchar_t* b);

// "." and ".." never; hidden entries only when asked for.
bool IsListedEntry(const wchar_t* name, DWORD attributes, bool showhidden);

struct DeskEntry {
    std::wstring name;
    bool folder;
};

struct DeskOrderOptions {
    int sort;            // 1 by extension, anything else by name
    bool dirsfirst;      // folders before the other entries
    const wchar_t* home; // name kept first, exact or as its item is addressed; empty for none
    const wchar_t* end;  // name kept last, likewise; empty for none
};

// The entries' indices in desk order. Entries keep the order they come in
// until sorted; the sort is not stable, so names that compare equal come in
// no fixed order.
std::vector<size_t> DeskOrderOf(const std::vector<DeskEntry>& entries,
                                const DeskOrderOptions& options);
