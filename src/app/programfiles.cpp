#include "app/programfiles.h"

#include <cwchar>

#include "app/text.h"

ArgumentKind ClassifyArgument(const wchar_t* argument) {
    if (std::wcscmp(argument, L"-translate") == 0) return ArgumentKind::Translate;
    if (argument[0] == L'-') return ArgumentKind::Switch;
    return ArgumentKind::Value;
}

void TrimTrailingBlanks(wchar_t* text) {
    std::size_t length = std::wcslen(text);
    while (length > 0 && text[length - 1] == L' ') text[--length] = L'\0';
}

bool IsSettingsFilePath(const wchar_t* fullPath) {
    const wchar_t* dot = LastDotPart(fullPath);
    return dot && std::wcscmp(dot, L".ini") == 0;
}

void LocateProgramFiles(const wchar_t* modulePath, ProgramFiles& files) {
    files.ini[0] = files.lang[0] = files.help[0] = L'\0';
    wchar_t folder[kPathUnits];
    if (!CopyText(folder, modulePath)) return;
    wchar_t* lastBackslash = std::wcsrchr(folder, L'\\');
    // A module path with no folder in it names no place for the files; they
    // must not end up at the root of whatever drive is current.
    if (!lastBackslash) return;
    *lastBackslash = L'\0';
    // The folder is joined with a backslash even when it is a drive root, as
    // the module path was cut there.
    struct {
        wchar_t* out;
        const wchar_t* name;
    } targets[] = {{files.ini, L"\\tarvo.ini"}, {files.lang, L"\\tarvo.lang.ini"},
                   {files.help, L"\\Tarvo.txt"}};
    for (auto& target : targets) {
        if (CopyText(target.out, kPathUnits, folder) &&
            !AppendText(target.out, kPathUnits, target.name))
            target.out[0] = L'\0';
    }
}
