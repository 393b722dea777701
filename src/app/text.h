#pragma once
// Bounded text handling for the fixed buffers. A copy that does not fit is
// refused and leaves the destination as it was: a path is never cut into a
// different path. Only texts whose cutting is intended use CopyTruncated.

#include <cstddef>
#include <cwchar>
#include <initializer_list>

constexpr std::size_t kPathUnits = 260; // MAX_PATH, terminator included

// Copies src into dst (capacity units, terminator included). False, with dst
// untouched, when src does not fit.
bool CopyText(wchar_t* dst, std::size_t capacity, const wchar_t* src);
// Appends src to the text in dst; false, with dst untouched, when it does not fit.
bool AppendText(wchar_t* dst, std::size_t capacity, const wchar_t* src);
// Copies at most capacity - 1 units of src and always terminates dst.
void CopyTruncated(wchar_t* dst, std::size_t capacity, const wchar_t* src);
// folder, a backslash unless folder ends with one, then name. False, with
// out untouched, when the result does not fit.
bool JoinPath(wchar_t* out, std::size_t capacity, const wchar_t* folder, const wchar_t* name);

template <std::size_t N> bool CopyText(wchar_t (&dst)[N], const wchar_t* src) {
    return CopyText(dst, N, src);
}
template <std::size_t N> bool AppendText(wchar_t (&dst)[N], const wchar_t* src) {
    return AppendText(dst, N, src);
}
template <std::size_t N> void CopyTruncated(wchar_t (&dst)[N], const wchar_t* src) {
    CopyTruncated(dst, N, src);
}
template <std::size_t N>
bool JoinPath(wchar_t (&out)[N], const wchar_t* folder, const wchar_t* name) {
    return JoinPath(out, N, folder, name);
}

// True when text ends with a backslash.
bool EndsWithBackslash(const wchar_t* text);
// The part of text from its last '.' to the end, or null when it has no dot.
const wchar_t* LastDotPart(const wchar_t* text);

// Joins the parts into dst, cutting the result at the end where it does not
// fit. For display texts only (titles, messages), never for paths.
void ConcatTruncated(wchar_t* dst, std::size_t capacity, std::initializer_list<const wchar_t*> parts);
template <std::size_t N>
void ConcatTruncated(wchar_t (&dst)[N], std::initializer_list<const wchar_t*> parts) {
    ConcatTruncated(dst, N, parts);
}
