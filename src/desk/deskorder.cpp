#include "desk/deskorder.h"

#include <algorithm>
#include <cwchar>

#include "app/text.h"
#include "desk/itemnames.h"

bool LessByName(const wchar_t* a, const wchar_t* b) { return _wcsicmp(a, b) < 0; }

bool LessByExtension(const wchar_t* a, const wchar_t* b) {
    const wchar_t* extA = LastDotPart(a);
    const wchar_t* extB = LastDotPart(b);
    if (!extA || !extB) {
        if (extA == extB) return LessByName(a, b);
        return !extA;
    }
    int byExtension = std::wcscmp(extA, extB);
    if (byExtension != 0) return byExtension < 0;
    return LessByName(a, b);
}

bool IsListedEntry(const wchar_t* name, DWORD attributes, bool showhidden) {
    if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) return false;
    return showhidden || !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

namespace {

void SortNames(std::vector<std::wstring>& names, int sort) {
    if (sort == 1) {
        std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
            return LessByExtension(a.c_str(), b.c_str());
        });
    } else {
        std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
            return LessByName(a.c_str(), b.c_str());
        });
    }
}

// Whether the entry is the one name stands for: the same text exactly, or,
// for a shortcut, the name its item is addressed by. Set Home and Set End
// store that name (Mail.lnk), which the entry Mail.LNK would otherwise never
// match again.
bool Names(const std::wstring& entry, const wchar_t* name) {
    if (entry == name) return true;
    wchar_t label[kPathUnits], addressed[kPathUnits];
    return ShortcutLabel(entry.c_str(), label, kPathUnits) &&
           ItemFileNameFromLabel(label, true, addressed, kPathUnits) && std::wcscmp(addressed, name) == 0;
}

// Moves the first entry that name stands for to the front or the back.
void Keep(std::vector<std::wstring>& names, const wchar_t* name, bool atFront) {
    if (!name || name[0] == L'\0') return;
    auto found = std::find_if(names.begin(), names.end(),
                              [name](const std::wstring& entry) { return Names(entry, name); });
    if (found == names.end()) return;
    if (atFront)
        std::rotate(names.begin(), found, found + 1);
    else
        std::rotate(found, found + 1, names.end());
}

} // namespace

std::vector<std::wstring> DeskOrder(std::vector<DeskEntry> entries, const DeskOrderOptions& options) {
    std::vector<std::wstring> names;
    std::vector<std::wstring> files;
    names.reserve(entries.size());
    for (DeskEntry& entry : entries) {
        if (options.dirsfirst && !entry.folder)
            files.push_back(std::move(entry.name));
        else
            names.push_back(std::move(entry.name));
    }
    SortNames(names, options.sort);
    SortNames(files, options.sort);
    for (std::wstring& file : files) names.push_back(std::move(file));
    // The end is placed after the home, so a name given as both ends last.
    Keep(names, options.home, true);
    Keep(names, options.end, false);
    return names;
}
