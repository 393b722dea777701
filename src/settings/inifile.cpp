#include "settings/inifile.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "app/text.h"

namespace {

// A line is read whole up to 1023 characters, room for any key with the
// longest value the writer stores (259 characters); the rest of a longer line
// is passed over, never taken for a line of its own.
constexpr int kLineUnits = sizeof(IniFile::line) / sizeof(IniFile::line[0]);

bool IsDelimiter(wchar_t c) { return c == L'=' || c == L'\r' || c == L'\n'; }

// The path in the ANSI code page for the text-mode fallback. A path that does
// not fit or has characters the code page lacks is refused: converted with
// substitutes it would name a different file.
bool NarrowPath(const wchar_t* path, char (&out)[MAX_PATH]) {
    BOOL substituted = FALSE;
    UINT codePage = GetACP();
    // The UTF-8 code page represents everything and takes neither option.
    bool utf8 = codePage == CP_UTF8;
    int bytes = WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, path, -1, out,
                                    MAX_PATH, nullptr, utf8 ? nullptr : &substituted);
    return bytes > 0 && !substituted;
}

// The entry's value is the one it is left out for.
bool LeftOut(const IniEntry& entry) {
    if (!entry.unlesssame) return false;
    if (entry.type == IniString)
        return std::wcscmp(static_cast<const wchar_t*>(entry.value),
                           static_cast<const wchar_t*>(entry.unlesssame)) == 0;
    // Compared as written: a flag is the same flag whatever stray bits it holds.
    wchar_t value[64], other[64];
    return FormatIniValue(entry.type, entry.value, value, 64) &&
           FormatIniValue(entry.type, entry.unlesssame, other, 64) &&
           std::wcscmp(value, other) == 0;
}

template <typename T> void Store(void* value, T v) { std::memcpy(value, &v, sizeof v); }
template <typename T> T Load(const void* value) {
    T v;
    std::memcpy(&v, value, sizeof v);
    return v;
}

// One conversion of the standard formatted input; false when nothing scans.
template <typename T> bool Scan(const wchar_t* text, const wchar_t* format, void* value) {
    T v;
    if (std::swscanf(text, format, &v) != 1) return false;
    Store(value, v);
    return true;
}

} // namespace

bool SplitIniLine(wchar_t* line, wchar_t** key, wchar_t** value) {
    wchar_t* p = line;
    while (*p && IsDelimiter(*p)) ++p;
    if (!*p) return false;
    *key = p;
    while (*p && !IsDelimiter(*p)) ++p;
    if (*p != L'=') return false;
    *p++ = L'\0';
    *value = p;
    while (*p && *p != L'\r' && *p != L'\n') ++p;
    *p = L'\0';
    return true;
}

bool ParseIniValue(std::uint32_t type, const wchar_t* text, void* value, std::size_t maxLength) {
    switch (type) {
    case IniWord: {
        int wide;
        if (std::swscanf(text, L"%d", &wide) != 1) return false;
        Store(value, static_cast<std::uint16_t>(wide)); // the low 16 bits
        return true;
    }
    case IniBool:
        if (_wcsicmp(text, L"TRUE") == 0) {
            Store<unsigned char>(value, 1);
        } else if (_wcsicmp(text, L"FALSE") == 0) {
            Store<unsigned char>(value, 0);
        } else {
            return false;
        }
        return true;
    case IniShort: return Scan<short>(text, L"%hd", value);
    case IniLong: return Scan<long>(text, L"%ld", value);
    case IniShortOctal: return Scan<unsigned short>(text, L"%ho", value);
    case IniLongOctal: return Scan<unsigned long>(text, L"%lo", value);
    case IniShortHex: return Scan<unsigned short>(text, L"%hx", value);
    case IniLongHex: return Scan<unsigned long>(text, L"%lx", value);
    case IniFloat: return Scan<float>(text, L"%g", value);
    case IniDouble: return Scan<double>(text, L"%lg", value);
    case IniString:
        if (maxLength == 0) return false;
        CopyTruncated(static_cast<wchar_t*>(value), maxLength, text);
        return true;
    default: return false;
    }
}

bool FormatIniValue(std::uint32_t type, const void* value, wchar_t* out, std::size_t capacity) {
    int written = -1;
    switch (type) {
    case IniWord:
    case IniShort:
        // Signed: a Word above 32767 is written negative and reads back to the same bits.
        written = std::swprintf(out, capacity, L"%hd", Load<short>(value));
        break;
    case IniBool:
        written = std::swprintf(out, capacity, L"%ls",
                                Load<unsigned char>(value) ? L"TRUE" : L"FALSE");
        break;
    case IniLong: written = std::swprintf(out, capacity, L"%ld", Load<long>(value)); break;
    case IniShortOctal:
        written = std::swprintf(out, capacity, L"%ho", Load<unsigned short>(value));
        break;
    case IniLongOctal:
        written = std::swprintf(out, capacity, L"%lo", Load<unsigned long>(value));
        break;
    case IniShortHex:
        written = std::swprintf(out, capacity, L"%hx", Load<unsigned short>(value));
        break;
    case IniLongHex:
        written = std::swprintf(out, capacity, L"%lx", Load<unsigned long>(value));
        break;
    case IniFloat:
        written = std::swprintf(out, capacity, L"%g", static_cast<double>(Load<float>(value)));
        break;
    case IniDouble: written = std::swprintf(out, capacity, L"%lg", Load<double>(value)); break;
    default: return false;
    }
    return written >= 0 && static_cast<std::size_t>(written) < capacity;
}

std::FILE* IniFile::open(const wchar_t* path, int mode) {
    close();
    wide = true;
    if (mode != 0 && mode != 1) return nullptr;
    char narrow[MAX_PATH];
    bool haveNarrow = NarrowPath(path, narrow);
    file = _wfopen(path, mode == 0 ? L"rb" : L"wb");
    // Only a read falls back: a file written as ANSI would later open by its
    // wide name and be taken for UTF-16, losing every setting in it.
    if (!file && haveNarrow && mode == 0) {
        file = std::fopen(narrow, mode == 0 ? "r" : "w");
        wide = false;
    }
    return file;
}

void IniFile::readSection(const IniEntry* entries, const wchar_t* header, std::size_t maxLength,
                          IniEmptyValue empty) {
    if (!file) return;
    std::rewind(file);
    if (wide) std::fseek(file, 2, SEEK_SET); // the byte-order mark

    auto readLine = [this] {
        if (!std::fgetws(line, kLineUnits, file)) return false;
        std::size_t length = std::wcslen(line);
        if (length + 1 == kLineUnits && line[length - 1] != L'\n') {
            wchar_t rest[64];
            while (std::fgetws(rest, 64, file) && !std::wcschr(rest, L'\n')) {
            }
        }
        return true;
    };
    if (header) {
        std::size_t headerLength = std::wcslen(header);
        do {
            if (!readLine()) return;
        } while (std::wcsncmp(line, header, headerLength) != 0);
    }

    while (readLine()) {
        if (line[0] == L'#') continue;
        if (line[0] == L'[') return;
        wchar_t* key;
        wchar_t* value;
        if (!SplitIniLine(line, &key, &value)) continue;
        if (!*value && empty == IniEmptyValue::KeepsVariable) continue;
        // Every entry of that name receives the value, not only the first.
        for (const IniEntry* entry = entries; entry && entry->value; ++entry) {
            if (entry->type < IniWord || entry->type > IniString || !entry->name) continue;
            if (_wcsicmp(key, entry->name) == 0)
                ParseIniValue(entry->type, value, entry->value, maxLength);
        }
    }
}

void IniFile::writeSection(const IniEntry* entries, const wchar_t* header) {
    if (!file) return;
    // The text-mode stream of the fallback turns LF into CR LF itself.
    const wchar_t* lineEnd = wide ? L"\r\n" : L"\n";
    if (std::ftell(file) != 0) {
        std::fputws(lineEnd, file);
    } else if (wide) {
        std::fputwc(0xFEFF, file);
    }
    if (header) {
        std::fputws(header, file);
        std::fputws(lineEnd, file);
    }
    for (const IniEntry* entry = entries; entry && entry->value; ++entry) {
        if (LeftOut(*entry)) continue;
        wchar_t number[64];
        const wchar_t* text = number;
        if (entry->type == IniString) {
            text = static_cast<const wchar_t*>(entry->value);
        } else if (!FormatIniValue(entry->type, entry->value, number, 64)) {
            continue; // an unknown type has no text to write
        }
        std::fputws(entry->name ? entry->name : L"", file);
        std::fputwc(L'=', file);
        std::fputws(text, file);
        std::fputws(lineEnd, file);
    }
}

bool IniFile::close() {
    if (!file) return false;
    bool stored = std::ferror(file) == 0;
    if (std::fclose(file) != 0) stored = false;
    file = nullptr;
    return stored;
}

void ReadIniSections(const wchar_t* path, const IniSection* sections, std::size_t count,
                     IniEmptyValue empty) {
    IniFile ini;
    if (!ini.open(path, 0)) return;
    for (std::size_t i = 0; i < count; ++i)
        ini.readSection(sections[i].entries, sections[i].header, sections[i].maxLength, empty);
}
