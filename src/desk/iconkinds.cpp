#include "desk/iconkinds.h"

#include <cwchar>
#include <cwctype>
#include <string_view>

namespace {

// Kinds whose every file carries its own picture. A fresh system may have no
// registry entry for them at all, so the list holds without one.
constexpr std::wstring_view kOwnPictureExtensions[] = {L".exe", L".dll", L".ico", L".cur",
                                                       L".ani", L".cpl", L".scr", L".lnk"};

// The default value of HKEY_CLASSES_ROOT\key; empty when it has none.
std::wstring DefaultValue(const std::wstring& key) {
    const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, flags, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        bytes < sizeof(wchar_t))
        return {};
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, flags, nullptr, value.data(),
                     &bytes) != ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

// "%1" as installers write it: some quote it, some leave blanks around it.
bool NamesTheFileItself(std::wstring_view icon) {
    auto trim = [](std::wstring_view text) {
        while (!text.empty() && std::iswspace(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && std::iswspace(text.back()))
            text.remove_suffix(1);
        return text;
    };
    icon = trim(icon);
    if (icon.size() >= 2 && icon.front() == L'"' && icon.back() == L'"')
        icon = trim(icon.substr(1, icon.size() - 2));
    return icon == L"%1";
}

} // namespace

std::wstring IconExtension(const wchar_t* name) {
    const wchar_t* dot = wcsrchr(name, L'.');
    const wchar_t* slash = wcsrchr(name, L'\\');
    if (!dot || (slash && dot < slash) || dot[1] == L'\0') return {};
    std::wstring extension = dot;
    for (wchar_t& unit : extension)
        unit = static_cast<wchar_t>(std::towlower(unit));
    return extension;
}

namespace {

// For a file of a kind with an extension.
bool ExtensionHasOwnPicture(const std::wstring& extension, const TypeIcons& type) {
    for (std::wstring_view own : kOwnPictureExtensions)
        if (extension == own) return true;
    return type.perFile || type.handler;
}

} // namespace

bool HasOwnPicture(const wchar_t* name, DWORD attributes, const TypeIcons& type) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    std::wstring extension = IconExtension(name);
    return !extension.empty() && ExtensionHasOwnPicture(extension, type);
}

bool TypeIconReader::OwnPicture(const wchar_t* name, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return HasOwnPicture(name, attributes, {});
    std::wstring extension = IconExtension(name);
    return !extension.empty() && ExtensionHasOwnPicture(extension, Read(extension));
}

TypeIcons TypeIconReader::Read(const std::wstring& extension) {
    if (extension.empty()) return {};
    if (auto found = read_.find(extension); found != read_.end()) return found->second;
    if (read_.size() >= kMostTypes) read_.clear();
    // The extension names its type; without a name it is its own.
    std::wstring type = DefaultValue(extension);
    if (type.empty()) type = extension;
    TypeIcons icons;
    icons.perFile = NamesTheFileItself(DefaultValue(type + L"\\DefaultIcon"));
    icons.handler =
        !DefaultValue(type + L"\\ShellEx\\IconHandler").empty() ||
        !DefaultValue(L"SystemFileAssociations\\" + extension + L"\\ShellEx\\IconHandler").empty();
    read_.emplace(extension, icons);
    return icons;
}
