#include "desk/itemrules.h"

#include <cstdio>
#include <cwchar>
#include <initializer_list>

#include "app/text.h"

bool QuotePath(const wchar_t* path, wchar_t* out, std::size_t capacity) {
    std::size_t length = std::wcslen(path);
    std::size_t backslashes = 0;
    while (backslashes < length && path[length - 1 - backslashes] == L'\\')
        ++backslashes;
    if (length + backslashes + 3 > capacity) return false;
    out[0] = L'"';
    std::wmemcpy(out + 1, path, length);
    std::wmemset(out + 1 + length, L'\\', backslashes);
    out[1 + length + backslashes] = L'"';
    out[2 + length + backslashes] = L'\0';
    return true;
}

bool SplitToolCommand(const wchar_t* tool, const wchar_t* path, ToolCall& call) {
    const wchar_t* split = std::wcsstr(tool, L" -");
    if (!split) split = std::wcsstr(tool, L" /");
    std::size_t programLength = split ? static_cast<std::size_t>(split - tool) : std::wcslen(tool);
    if (programLength == 0 || programLength >= kPathUnits) return false;

    // Built aside, so a refused command leaves the call as it was.
    wchar_t parameters[kParameterUnits] = L"";
    if (split && !CopyText(parameters, split + 1)) return false;
    if (path) {
        wchar_t quoted[kParameterUnits];
        if (!QuotePath(path, quoted, kParameterUnits) || (split && !AppendText(parameters, L" ")) ||
            !AppendText(parameters, quoted))
            return false;
    }
    CopyText(call.parameters, parameters);
    std::wmemcpy(call.program, tool, programLength);
    call.program[programLength] = L'\0';
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

bool OpensInFileManager(const wchar_t* path, DWORD attributes, bool shortcutTarget) {
    // The failure value has every bit set, so a desk item that cannot be
    // read (an offline share, say) goes to the file manager, which reports
    // it. A shortcut that points nowhere is the shell's to report instead.
    if (attributes == INVALID_FILE_ATTRIBUTES && shortcutTarget) return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    const wchar_t* dot = LastDotPart(path);
    return dot && _wcsicmp(dot, L".zip") == 0;
}
