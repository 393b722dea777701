#include "shell/drivefixup.h"

#include <cwchar>

#include "app/text.h"
#include "shell/shortcutfile.h"

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool StartsWithDrive(const wchar_t* path) {
    return path && IsAsciiLetter(path[0]) && path[1] == L':';
}

wchar_t LowerLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

} // namespace

bool DriveFixUpApplies(const wchar_t* programPath, const wchar_t* deskPath) {
    if (!StartsWithDrive(programPath) || !StartsWithDrive(deskPath)) return false;
    wchar_t drive = LowerLetter(programPath[0]);
    return drive != L'c' && drive == LowerLetter(deskPath[0]);
}

bool RetargetedToDrive(const wchar_t* target, const wchar_t* deskPath, wchar_t* out) {
    if (!StartsWithDrive(target) || !StartsWithDrive(deskPath)) return false;
    if (target[0] == deskPath[0]) return false;
    if (std::wcslen(target) >= kPathUnits - 1) return false;
    if (!CopyText(out, kPathUnits, target)) return false;
    out[0] = deskPath[0];
    return true;
}

bool FixShortcutDrive(const wchar_t* shortcutPath, const wchar_t* deskPath) {
    ShortcutFile shortcut;
    if (FAILED(shortcut.Open())) return false;
    wchar_t target[kPathUnits] = L"";
    if (!shortcut.ReadTarget(shortcutPath, target)) return false;
    wchar_t moved[kPathUnits];
    if (!RetargetedToDrive(target, deskPath, moved)) return false;
    return shortcut.Retarget(moved, shortcutPath);
}
