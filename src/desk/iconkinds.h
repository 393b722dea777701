#pragma once
// Which desk entries have a picture of their own, to be made from the file
// itself, and which show their type's picture, the same for every file of
// the type. Most entries are of the second kind, and one picture serves them.

#include <windows.h>

#include <string>
#include <unordered_map>

// What the registry says of the type an extension stands for.
struct TypeIcons {
    bool perFile = false; // its DefaultIcon names the file itself ("%1")
    bool handler = false; // it, or SystemFileAssociations\<ext>, has an IconHandler
};

// The extension of name (a name or a path) in lower case, from its last dot
// on; empty when it has none, or when the dot ends the name.
std::wstring IconExtension(const wchar_t* name);

// True when the entry's picture is its own: programs, libraries, icons,
// cursors, control-panel items, screen savers and shortcuts by extension in
// any letter case, whatever the registry says; files whose type the registry
// gives a picture per file; folders marked read-only or system, which is
// how a folder says it has a desktop.ini with its own picture.
bool HasOwnPicture(const wchar_t* name, DWORD attributes, const TypeIcons& type);

// Reads the registry's type entries for the desk's extensions, each once:
// meant to live for one fill, so that a changed association shows on the
// next. Not for more than one thread.
class TypeIconReader {
  public:
    // HasOwnPicture for the entry, its extension's type read as needed.
    bool OwnPicture(const wchar_t* name, DWORD attributes);
    // What the registry says of extension (as IconExtension gives it).
    TypeIcons Read(const std::wstring& extension);

  private:
    // A desk of many odd extensions does not make it grow without end.
    static constexpr size_t kMostTypes = 256;
    std::unordered_map<std::wstring, TypeIcons> read_;
};
