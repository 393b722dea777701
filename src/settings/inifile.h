#pragma once
// The reader and writer of the program's INI files (the settings file and the
// language file): bracketed section headers followed by key=value lines, in
// UTF-16LE with a byte-order mark. There is no model of the file in memory: a
// section is described by IniEntry descriptors that point straight at the
// caller's variables, reading searches the file again for every section, and
// writing always produces a whole new file, section by section.

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Type codes of an IniEntry: how its value is parsed and formatted.
enum IniType : std::uint32_t {
    IniWord = 1,        // 16 bits; read "%d", written "%hd" (above 32767 shows negative)
    IniBool = 2,        // one byte, 0 or 1; "TRUE"/"FALSE", read without regard to case
    IniShort = 3,       // signed 16 bits; "%hd"
    IniLong = 4,        // signed 32 bits; "%ld"
    IniShortOctal = 5,  // 16 bits; "%ho"
    IniLongOctal = 6,   // 32 bits; "%lo"
    IniShortHex = 7,    // 16 bits; "%hx"
    IniLongHex = 8,     // 32 bits; "%lx" (a 0x prefix is accepted on reading)
    IniFloat = 9,       // 32-bit float; "%g"
    IniDouble = 10,     // 64-bit double; "%lg"
    IniString = 11,     // wide buffer of the section's maxLength units; verbatim
};

// One key of a section. An entry whose value pointer is null ends the array.
// Name and value may be the same buffer: the key is then replaced by what the
// file holds for it.
struct IniEntry {
    const wchar_t* name;
    std::uint32_t type;
    void* value;
    // When given, a variable of the same type: the entry is written only while
    // its value differs from this one. A key added later stays out of the file
    // until it is used, so a file that never used it keeps its old bytes.
    const void* unlesssame = nullptr;
};

// What a line with nothing after its "=" does. The settings file writes an
// empty string that way, so there it empties a String entry; in the language
// file an empty translation leaves the built-in text. Other types never take
// an empty value.
enum class IniEmptyValue { KeepsVariable, EmptiesString };

// One section as the whole-file helpers below take it.
struct IniSection {
    const wchar_t* header;   // brackets included; null for none
    const IniEntry* entries;
    std::size_t maxLength;   // units of every String buffer, terminator included
};

class IniFile {
  public:
    IniFile() = default;
    ~IniFile() { close(); }
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    // Mode 0 reads, mode 1 writes (creates or truncates); any other mode opens
    // nothing. The wide path is opened in binary mode; a read whose wide open
    // fails tries the path in the ANSI code page in text mode. Null on failure.
    std::FILE* open(const wchar_t* path, int mode);
    // Fills the entries from the section that starts with a line beginning
    // with header (or from the top of the file when header is null).
    void readSection(const IniEntry* entries, const wchar_t* header, std::size_t maxLength,
                     IniEmptyValue empty = IniEmptyValue::KeepsVariable);
    // Appends one section: an empty line before it unless it is the first.
    void writeSection(const IniEntry* entries, const wchar_t* header);
    // Closes the stream; false when anything written was not stored (a write
    // error, or a failed flush at closing), so a caller can tell a whole file
    // from a damaged one.
    bool close();

    wchar_t line[1024]; // the line most recently read, its first 1023 units
    std::FILE* file = nullptr;
    bool wide = true;        // binary UTF-16LE; false for the ANSI text fallback
};

// Cuts a line into its key and value in place. Leading "=", CR and LF are
// skipped; the key runs to the first "=", and the value is the rest of the
// line up to its end (CR or LF), "=" and blanks included, so whatever the
// writer wrote reads back whole. False when there is no key or no "=" after
// it; "key=" gives an empty value.
bool SplitIniLine(wchar_t* line, wchar_t** key, wchar_t** value);

// Stores text into the variable as the type says; false, with the variable
// unchanged, when the text does not scan or the type is unknown. maxLength is
// the size of a String buffer; the text is cut to maxLength - 1 units.
bool ParseIniValue(std::uint32_t type, const wchar_t* text, void* value, std::size_t maxLength);

// Formats a variable of any type but String into out (capacity units); false
// for String, an unknown type or a buffer too small. Bool writes "TRUE" for
// any non-zero byte, so a stray value can never reach past the two names.
bool FormatIniValue(std::uint32_t type, const void* value, wchar_t* out, std::size_t capacity);

// Reads the sections in order from the file at path; a missing file changes nothing.
void ReadIniSections(const wchar_t* path, const IniSection* sections, std::size_t count,
                     IniEmptyValue empty);

// Writes the sections as the whole new file at path. The file is written
// completely beside the old one and then moved over it in one step, so an
// interrupted save leaves the old file or the new one, never a part. Where the
// new file cannot be made there (or cannot replace the old one) the old file
// is written in place. False when nothing complete was stored.
bool SaveIniSections(const wchar_t* path, const IniSection* sections, std::size_t count);
