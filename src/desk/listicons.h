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

EntryStamp StampOf(const WIN32_FIND_DATAW& data);

// One listed item as far as its icon is concerned.
struct ListedIcon {
    std::wstring name;
    EntryStamp stamp;
    bool made = false;   // its image holds its own icon
    bool inslot = false; // the item shows image i, not its kind's generic one
};

// For each new entry, the old item whose made icon it keeps, or -1.
std::vector<int> KeptIconSources(const std::vector<ListedIcon>& old,
                                 const std::vector<ListedIcon>& fresh);

// Rearranges the list's images in place so that image j holds what image
// sources[j] held wherever sources[j] >= 0; the other images hold anything.
// Each source may be named once. The list ends with total images, at least
// sources.size().
bool MoveImages(HIMAGELIST list, const std::vector<int>& sources, int total = 0);

// The order icons are wanted in: the visible items first, from the first of
// them to the end, then those above it.
std::vector<int> VisibleFirst(const std::vector<int>& pending, int firstVisible);
