#include "desk/itemnames.h"

#include <cwchar>
#include <cwctype>

#include "app/text.h"

bool HasShortcutExtension(const wchar_t* name) {
    const wchar_t* dot = LastDotPart(name);
    return dot && _wcsicmp(dot, L".lnk") == 0;
}

bool ShortcutLabel(const wchar_t* fileName, wchar_t* label, unsigned capacity) {
    if (!CopyText(label, capacity, fileName)) {
        if (capacity) label[0] = L'\0';
        return HasShortcutExtension(fileName);
    }
    if (!HasShortcutExtension(label)) return false;
    *const_cast<wchar_t*>(LastDotPart(label)) = L'\0';
    return true;
}

bool ItemFileNameFromLabel(const wchar_t* label, bool shortcut, wchar_t* name, unsigned capacity) {
    if (!CopyText(name, capacity, label) || (shortcut && !AppendText(name, capacity, L".lnk"))) {
        if (capacity) name[0] = L'\0';
        return false;
    }
    return true;
}
