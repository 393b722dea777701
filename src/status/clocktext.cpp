#include "status/clocktext.h"

#include <cwchar>

#include "app/text.h"

bool ClockText(const std::tm& time, wchar_t* out, std::size_t capacity) {
    if (std::wcsftime(out, capacity, L"%a %b %d %Y, %I:%M %p", &time) == 0) {
        if (capacity) out[0] = L'\0';
        return false;
    }
    // The hour is the two characters before the last ':'.
    const wchar_t* colon = std::wcsrchr(out, L':');
    if (colon && colon - out >= 2 && colon[-2] == L'0') out[colon - out - 2] = L' ';
    return true;
}

unsigned ClockInterval(int second) {
    return static_cast<unsigned>(61000 - 1000 * second);
}

void RemoveClockPart(wchar_t* title, wchar_t* part) {
    std::size_t titleLength = std::wcslen(title);
    std::size_t partLength = std::wcslen(part);
    if (partLength && partLength <= titleLength &&
        std::wcscmp(title + titleLength - partLength, part) == 0)
        title[titleLength - partLength] = L'\0';
    part[0] = L'\0';
}

void AppendClockPart(wchar_t* title, std::size_t capacity, const wchar_t* clock, wchar_t* part) {
    std::size_t before = std::wcslen(title);
    ConcatTruncated(title, capacity, {title, L"  (", clock, L")"});
    CopyText(part, capacity, title + before); // fits: it came from a buffer of that size
}
