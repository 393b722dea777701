// The crash-safe replacement of a whole INI file, shared by the settings file
// and the language template.
#include "settings/inifile.h"

#include <windows.h>

#include <io.h>

#include <cwchar>

namespace {

void WriteSections(IniFile& ini, const IniSection* sections, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        ini.writeSection(sections[i].entries, sections[i].header);
}

// Creates a new, uniquely named empty file in the folder of path.
bool CreateFileBeside(const wchar_t* path, wchar_t (&temp)[MAX_PATH]) {
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    if (!slash) return false;
    wchar_t folder[MAX_PATH];
    std::size_t length = static_cast<std::size_t>(slash - path) + 1; // keeps "C:\" a root
    // The made name must fit beside the folder: 14 units are kept for it.
    if (length > MAX_PATH - 14) return false;
    std::wmemcpy(folder, path, length);
    folder[length] = L'\0';
    return GetTempFileNameW(folder, L"trv", 0, temp) != 0;
}

} // namespace

bool SaveIniSections(const wchar_t* path, const IniSection* sections, std::size_t count) {
    wchar_t temp[MAX_PATH];
    if (CreateFileBeside(path, temp)) {
        IniFile ini;
        if (ini.open(temp, 1)) {
            WriteSections(ini, sections, count);
            // On the disk before it takes the old file's place, or a crash
            // could leave the new name on an empty file.
            bool whole = std::fflush(ini.file) == 0 && _commit(_fileno(ini.file)) == 0;
            whole = ini.close() && whole;
            if (!whole) {
                // A full disk or a write error: the old file stays as it was.
                DeleteFileW(temp);
                return false;
            }
            // A hidden settings file stays hidden.
            DWORD old = GetFileAttributesW(path);
            if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY) &&
                (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
                SetFileAttributesW(temp, old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
            if (MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
        }
        DeleteFileW(temp);
    }
    // No new file could be made there or moved over the old one: the old file
    // is written in place, as the only way left to save at all.
    IniFile ini;
    if (!ini.open(path, 1)) return false;
    WriteSections(ini, sections, count);
    return ini.close();
}
