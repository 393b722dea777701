#include "app/text.h"

#include <cstring>

bool CopyText(wchar_t* dst, std::size_t capacity, const wchar_t* src) {
    std::size_t length = std::wcslen(src);
    if (capacity == 0 || length >= capacity) return false;
    std::wmemmove(dst, src, length + 1);
    return true;
}

bool AppendText(wchar_t* dst, std::size_t capacity, const wchar_t* src) {
    std::size_t used = std::wcslen(dst);
    std::size_t length = std::wcslen(src);
    if (used + length >= capacity) return false;
    std::wmemmove(dst + used, src, length + 1);
    return true;
}

namespace {

// A cut is moved back before a character's first half, never between its two
// halves: half a character shows as a broken box.
std::size_t KeepWholeCharacters(const wchar_t* text, std::size_t cut) {
    return cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF ? cut - 1 : cut;
}

} // namespace

void CopyTruncated(wchar_t* dst, std::size_t capacity, const wchar_t* src) {
    if (capacity == 0) return;
    std::size_t length = std::wcslen(src);
    if (length > capacity - 1) length = KeepWholeCharacters(src, capacity - 1);
    std::wmemmove(dst, src, length);
    dst[length] = L'\0';
}

bool EndsWithBackslash(const wchar_t* text) {
    std::size_t length = std::wcslen(text);
    return length > 0 && text[length - 1] == L'\\';
}

bool JoinPath(wchar_t* out, std::size_t capacity, const wchar_t* folder, const wchar_t* name) {
    std::size_t folderLength = std::wcslen(folder);
    // No folder is no place: joined, the name would stand in a drive's root.
    if (folderLength == 0) return false;
    std::size_t separator = EndsWithBackslash(folder) ? 0 : 1;
    std::size_t nameLength = std::wcslen(name);
    if (folderLength + separator + nameLength >= capacity) return false;
    // The parts may overlap the output (folder is often out itself).
    wchar_t joined[kPathUnits * 2];
    if (folderLength + separator + nameLength >= sizeof joined / sizeof joined[0]) return false;
    std::wmemcpy(joined, folder, folderLength);
    if (separator) joined[folderLength] = L'\\';
    std::wmemcpy(joined + folderLength + separator, name, nameLength);
    joined[folderLength + separator + nameLength] = L'\0';
    std::wmemcpy(out, joined, folderLength + separator + nameLength + 1);
    return true;
}

const wchar_t* LastDotPart(const wchar_t* text) { return std::wcsrchr(text, L'.'); }

void ConcatTruncated(wchar_t* dst, std::size_t capacity, std::initializer_list<const wchar_t*> parts) {
    if (capacity == 0) return;
    // Built aside first: a part may be dst itself.
    wchar_t joined[kPathUnits * 2];
    std::size_t limit = capacity - 1;
    if (limit > sizeof joined / sizeof joined[0] - 1) limit = sizeof joined / sizeof joined[0] - 1;
    std::size_t used = 0;
    bool cut = false;
    for (const wchar_t* part : parts) {
        for (; *part && used < limit; ++part) joined[used++] = *part;
        cut = cut || *part;
    }
    if (cut) used = KeepWholeCharacters(joined, used);
    std::wmemcpy(dst, joined, used);
    dst[used] = L'\0';
}
