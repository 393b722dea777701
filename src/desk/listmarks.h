#pragma once
// What the user has marked in the desk list, the selected items and the
// focused one, kept by file name while the list is rebuilt.

#include <string>
#include <vector>

struct ListMarks {
    std::vector<std::wstring> selected; // file names
    std::wstring focused;               // file name; empty when none had the focus
    int focusedposition = -1;           // where the focus was
};

struct MarkedItems {
    std::vector<int> selected; // ascending
    int focused = -1;
};

// Where the marks land in a list of file names. Names match as the file
// system matches them, without regard to case. A focus whose entry is gone
// goes to the position it had, and to none when the list no longer reaches
// that far.
MarkedItems FindMarks(const ListMarks& marks, const std::vector<std::wstring>& names);
