#include "desk/deskorder.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <utility>

#include "app/text.h"
#include "desk/itemnames.h"

namespace {

// What the order compares: the name in lower case under the user's locale,
// unit by unit, and the part from the last dot as it is. Made once per name,
// not at every comparison of a sort.
struct SortKey {
    std::wstring folded;
    const wchar_t* extension;
};

SortKey KeyOf(const wchar_t* name) {
    SortKey key{name, LastDotPart(name)};
    for (wchar_t& unit : key.folded)
        unit = static_cast<wchar_t>(std::towlower(unit));
    return key;
}

bool KeyLess(const SortKey& a, const SortKey& b, bool byExtension) {
    if (byExtension) {
        if (!a.extension || !b.extension) {
            if (a.extension != b.extension) return !a.extension;
        } else if (int order = std::wcscmp(a.extension, b.extension); order != 0) {
            return order < 0;
        }
    }
    return a.folded < b.folded;
}

} // namespace

bool LessByName(const wchar_t* a, const wchar_t* b) {
    return KeyLess(KeyOf(a), KeyOf(b), false);
}

bool LessByExtension(const wchar_t* a, const wchar_t* b) {
    return KeyLess(KeyOf(a), KeyOf(b), true);
}

bool IsListedEntry(const wchar_t* name, DWORD attributes, bool showhidden) {
    if (std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) return false;
    return showhidden || !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

namespace {

void SortIndices(std::vector<size_t>& order, const std::vector<DeskEntry>& entries, int sort) {
    std::vector<std::pair<SortKey, size_t>> keyed;
    keyed.reserve(order.size());
    for (size_t index : order)
        keyed.emplace_back(KeyOf(entries[index].name.c_str()), index);
    std::sort(keyed.begin(), keyed.end(), [sort](const auto& a, const auto& b) {
        return KeyLess(a.first, b.first, sort == 1);
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        order[i] = keyed[i].second;
}

// Whether the entry is the one name stands for: the same text exactly, or,
// for a shortcut, the name its item is addressed by. Set Home and Set End
// store that name (Mail.lnk), which the entry Mail.LNK would otherwise never
// match again.
bool Names(const std::wstring& entry, const wchar_t* name) {
    if (entry == name) return true;
    wchar_t label[kPathUnits], addressed[kPathUnits];
    return ShortcutLabel(entry.c_str(), label, kPathUnits) &&
           ItemFileNameFromLabel(label, true, addressed, kPathUnits) &&
           std::wcscmp(addressed, name) == 0;
}

// Moves the first entry that name stands for to the front or the back.
void Keep(std::vector<size_t>& order, const std::vector<DeskEntry>& entries, const wchar_t* name,
          bool atFront) {
    if (!name || name[0] == L'\0') return;
    auto found = std::find_if(order.begin(), order.end(),
                              [&](size_t index) { return Names(entries[index].name, name); });
    if (found == order.end()) return;
    if (atFront)
        std::rotate(order.begin(), found, found + 1);
    else
        std::rotate(found, found + 1, order.end());
}

} // namespace

std::vector<size_t> DeskOrderOf(const std::vector<DeskEntry>& entries,
                                const DeskOrderOptions& options) {
    std::vector<size_t> order, files;
    order.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        (options.dirsfirst && !entries[i].folder ? files : order).push_back(i);
    SortIndices(order, entries, options.sort);
    SortIndices(files, entries, options.sort);
    order.insert(order.end(), files.begin(), files.end());
    // The end is placed after the home, so a name given as both ends last.
    Keep(order, entries, options.home, true);
    Keep(order, entries, options.end, false);
    return order;
}
