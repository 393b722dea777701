#include "app/hotkey.h"

#include <cwchar>
#include <cwctype>
#include <string_view>

namespace {

struct Name {
    const wchar_t* text;
    UINT code;
};

constexpr Name kModifiers[] = {
    {L"Ctrl", MOD_CONTROL}, {L"Alt", MOD_ALT}, {L"Shift", MOD_SHIFT}, {L"Win", MOD_WIN}};

constexpr Name kNamedKeys[] = {
    {L"Space", VK_SPACE},   {L"Home", VK_HOME},    {L"End", VK_END},       {L"Insert", VK_INSERT},
    {L"Delete", VK_DELETE}, {L"PageUp", VK_PRIOR}, {L"PageDown", VK_NEXT}, {L"Up", VK_UP},
    {L"Down", VK_DOWN},     {L"Left", VK_LEFT},    {L"Right", VK_RIGHT},   {L"Pause", VK_PAUSE}};

bool SameName(std::wstring_view part, const wchar_t* name) {
    return part.size() == std::wcslen(name) && _wcsnicmp(part.data(), name, part.size()) == 0;
}

std::wstring_view TrimBlanks(std::wstring_view part) {
    while (!part.empty() && std::iswblank(part.front()))
        part.remove_prefix(1);
    while (!part.empty() && std::iswblank(part.back()))
        part.remove_suffix(1);
    return part;
}

std::optional<UINT> ModifierNamed(std::wstring_view part) {
    for (const Name& name : kModifiers)
        if (SameName(part, name.text)) return name.code;
    return std::nullopt;
}

std::optional<UINT> KeyNamed(std::wstring_view part) {
    if (part.size() == 1) {
        wchar_t c = static_cast<wchar_t>(std::towupper(part[0]));
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return c;
        return std::nullopt;
    }
    // F1 to F24, written without a leading zero.
    if ((part[0] == L'F' || part[0] == L'f') && part[1] >= L'1' && part[1] <= L'9' &&
        part.size() <= 3) {
        UINT number = part[1] - L'0';
        if (part.size() == 3) {
            if (part[2] < L'0' || part[2] > L'9') return std::nullopt;
            number = number * 10 + (part[2] - L'0');
        }
        if (number <= 24) return VK_F1 + number - 1;
        return std::nullopt;
    }
    for (const Name& name : kNamedKeys)
        if (SameName(part, name.text)) return name.code;
    return std::nullopt;
}

} // namespace

std::optional<HotKey> ParseHotKey(const wchar_t* text) {
    if (!text) return std::nullopt;
    std::wstring_view rest = text;
    HotKey hotkey = {0, 0};
    while (true) {
        std::size_t plus = rest.find(L'+');
        std::wstring_view part = TrimBlanks(rest.substr(0, plus));
        if (part.empty()) return std::nullopt;
        if (plus == std::wstring_view::npos) {
            // The last part is the key, after at least one modifier.
            std::optional<UINT> key = KeyNamed(part);
            if (!key || hotkey.modifiers == 0) return std::nullopt;
            hotkey.key = *key;
            return hotkey;
        }
        std::optional<UINT> modifier = ModifierNamed(part);
        if (!modifier || (hotkey.modifiers & *modifier)) return std::nullopt;
        hotkey.modifiers |= *modifier;
        rest.remove_prefix(plus + 1);
    }
}

bool RegisteredHotKey::take(HWND window, int id, const wchar_t* text) {
    release();
    std::optional<HotKey> hotkey = ParseHotKey(text);
    // Held down, the key would otherwise put the window away and bring it
    // back with every repeat.
    if (!hotkey || !RegisterHotKey(window, id, hotkey->modifiers | MOD_NOREPEAT, hotkey->key))
        return false;
    window_ = window;
    id_ = id;
    return true;
}

void RegisteredHotKey::release() {
    if (!window_) return;
    UnregisterHotKey(window_, id_);
    window_ = nullptr;
}
