#include "shell/drivefixup.h"

#include <windows.h>

#include <cwchar>

#include "app/text.h"
#include "shell/shortcutfile.h"

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool StartsWithDrive(const wchar_t* path) {
    return path && IsAsciiLetter(path[0]) && path[1] == L':';
}

wchar_t LowerLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

enum class Presence { Present, Missing, Unknown };

// Whether a path exists, asked only where the answer comes at once: on the
// desk folder's own drive, which has just been listed, and on local fixed,
// removable and RAM drives. A letter with no drive behind it holds nothing.
// A network or optical drive may keep the window waiting for many seconds,
// so what it holds stays unknown.
Presence PromptPresence(const wchar_t* path, const wchar_t* deskPath) {
    if (LowerLetter(path[0]) != LowerLetter(deskPath[0])) {
        const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
        switch (GetDriveTypeW(root)) {
        case DRIVE_NO_ROOT_DIR: return Presence::Missing;
        case DRIVE_FIXED:
        case DRIVE_REMOVABLE:
        case DRIVE_RAMDISK: break;
        default: return Presence::Unknown;
        }
    }
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return Presence::Present;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY: // a drive without its medium
        return Presence::Missing;
    default: return Presence::Unknown; // no access, say: it may well be there
    }
}

} // namespace

bool DriveFixUpApplies(const wchar_t* programPath, const wchar_t* deskPath) {
    if (!StartsWithDrive(programPath) || !StartsWithDrive(deskPath)) return false;
    wchar_t drive = LowerLetter(programPath[0]);
    return drive != L'c' && drive == LowerLetter(deskPath[0]);
}

bool RetargetedToDrive(const wchar_t* target, const wchar_t* deskPath, wchar_t* out) {
    if (!StartsWithDrive(target) || !StartsWithDrive(deskPath)) return false;
    if (LowerLetter(target[0]) == LowerLetter(deskPath[0])) return false;
    wchar_t moved[kPathUnits];
    if (std::wcslen(target) >= kPathUnits - 1 || !CopyText(moved, target)) return false;
    moved[0] = deskPath[0];
    // The twin on the desk folder's drive is asked first: it answers at once,
    // and without it the target's own drive need not be asked at all.
    if (PromptPresence(moved, deskPath) != Presence::Present ||
        PromptPresence(target, deskPath) != Presence::Missing)
        return false;
    return CopyText(out, kPathUnits, moved);
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
