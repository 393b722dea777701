#pragma once
// Decisions of the start-up that need no window: how an argument is taken and
// where the program's own files are.

#include <windows.h>

#include <cstddef>

enum class ArgumentKind {
    Translate, // exactly "-translate"
    Switch,    // any other argument beginning with '-'; ignored
    Value,     // a settings file or a desk folder, told apart by its full path
};

ArgumentKind ClassifyArgument(const wchar_t* argument);

// Removes trailing U+0020 blanks in place.
void TrimTrailingBlanks(wchar_t* text);

// True when the full path, from its last '.' to its end, is exactly ".ini".
bool IsSettingsFilePath(const wchar_t* fullPath);

// A folder is unavailable when it is missing, offline or not a folder at all
// (a document dropped on the program); the failure value of
// GetFileAttributesW has the offline bit set as well.
inline bool IsFolderUnavailable(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_OFFLINE) != 0 ||
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

struct ProgramFiles {
    wchar_t ini[260];
    wchar_t lang[260];
    wchar_t help[260];
};

// The settings, language and help files beside the module. A file whose path
// would not fit is left empty rather than cut into another path.
void LocateProgramFiles(const wchar_t* modulePath, ProgramFiles& files);
