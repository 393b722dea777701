#include "desk/itemrules.h"

#include <cstdio>
#include <cwchar>

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

bool IsPlainFileName(const wchar_t* name) {
    if (!name[0] || std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0) return false;
    return std::wcspbrk(name, L"\\/:*?\"<>|") == nullptr;
}

bool OpensInFileManager(const wchar_t* path, DWORD attributes) {
    // The failure value has every bit set, so a path that cannot be read (an
    // offline share, say) goes to the file manager too, which reports it.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    const wchar_t* dot = LastDotPart(path);
    return dot && _wcsicmp(dot, L".zip") == 0;
}
