#include "desk/itemrules.h"

#include <cstdio>
#include <cwchar>
#include <initializer_list>

#include "app/text.h"

bool SplitToolCommand(const wchar_t* tool, const wchar_t* itemPath, wchar_t* program,
                      wchar_t* parameters, std::size_t capacity) {
    if (!tool[0]) return false;
    const wchar_t* split = std::wcsstr(tool, L" -");
    if (!split) split = std::wcsstr(tool, L" /");
    std::size_t programLength = split ? static_cast<std::size_t>(split - tool) : std::wcslen(tool);
    if (programLength >= capacity) return false;

    // Built aside, so a refused command leaves both outputs as they were.
    wchar_t args[kPathUnits * 2] = L"";
    constexpr std::size_t argsCapacity = sizeof args / sizeof args[0];
    if (split &&
        (!AppendText(args, argsCapacity, split + 1) || !AppendText(args, argsCapacity, L" ")))
        return false;
    if (!AppendText(args, argsCapacity, L"\"") || !AppendText(args, argsCapacity, itemPath) ||
        !AppendText(args, argsCapacity, L"\"") || !CopyText(parameters, capacity, args))
        return false;
    std::wmemcpy(program, tool, programLength);
    program[programLength] = L'\0';
    return true;
}

bool NewItemName(const wchar_t* base, unsigned n, bool file, wchar_t* name, std::size_t capacity) {
    if (n >= kNewItemCandidates) return false;
    wchar_t number[4] = L"";
    if (n > 0) std::swprintf(number, 4, L"%02u", n);
    wchar_t built[kPathUnits] = L"";
    if (!CopyText(built, base) || !AppendText(built, number) ||
        (file && !AppendText(built, L".txt")))
        return false;
    return CopyText(name, capacity, built);
}

namespace {

// Windows opens these names, with any extension and blanks before it, as
// devices in every folder: a file moved to "NUL" is copied into nothing and
// then deleted.
bool IsDeviceName(const wchar_t* name) {
    std::size_t length = std::wcscspn(name, L".");
    while (length > 0 && name[length - 1] == L' ')
        --length;
    if (length == 3) {
        for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL"})
            if (_wcsnicmp(name, device, 3) == 0) return true;
        return false;
    }
    return length == 4 && (_wcsnicmp(name, L"COM", 3) == 0 || _wcsnicmp(name, L"LPT", 3) == 0) &&
           std::wcschr(L"0123456789\u00b9\u00b2\u00b3", name[3]) != nullptr;
}

} // namespace

bool IsPlainFileName(const wchar_t* name) {
    std::size_t length = std::wcslen(name);
    // A trailing dot or blank is dropped by the system, so the file would not
    // get the name the user typed; "." and ".." end in a dot too.
    if (length == 0 || name[length - 1] == L'.' || name[length - 1] == L' ') return false;
    return std::wcspbrk(name, L"\\/:*?\"<>|") == nullptr && !IsDeviceName(name);
}

bool OpensInFileManager(const wchar_t* path, DWORD attributes) {
    // The failure value has every bit set, so a path that cannot be read (an
    // offline share, say) goes to the file manager too, which reports it.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    const wchar_t* dot = LastDotPart(path);
    return dot && _wcsicmp(dot, L".zip") == 0;
}
