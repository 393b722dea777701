#pragma once
// Which icons a refresh can keep: an icon made for an entry still fits it
// while its name, size, write time and attributes are the same.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

struct EntryStamp {
    DWORD attributes = 0;
    ULONGLONG size = 0;
    ULONGLONG written = 0;
    bool operator==(const EntryStamp&) const = default;
};

EntryStamp StampOf(const FILE_FULL_DIR_INFO& info);

// One listed item as far as its picture is concerned.
struct ListedIcon {
    std::wstring name;
    EntryStamp stamp;
    bool made = false;    // its own picture is in its image
    bool own = false;     // it has a picture of its own; else it shows its type's
    bool picture = false; // its own picture is what the picture file holds
    int image = -1;       // the image holding its own picture; -1 before it has one
    int type = -1;        // its type's entry, whose picture it shows meanwhile
};

// For each new entry, the old item whose made icon it keeps, or -1.
std::vector<int> KeptIconSources(const std::vector<ListedIcon>& old,
                                 const std::vector<ListedIcon>& fresh);

// The order icons are wanted in: the visible items first, from the first of
// them to the end, then those above it.
std::vector<int> VisibleFirst(const std::vector<int>& pending, int firstVisible);
