#include "shell/shortcutfile.h"

#include "app/text.h"

HRESULT ShortcutFile::Open() {
    Close();
    // A thread already in another apartment keeps its COM as it is: the
    // link object works there too, and nothing is owed to it afterwards.
    com_.emplace();
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, shelllink_.putVoid());
    if (FAILED(result)) {
        shelllink_.reset();
        return result;
    }
    return shelllink_->QueryInterface(IID_IPersistFile, persistfile_.putVoid());
}

void ShortcutFile::Close() {
    persistfile_.reset();
    shelllink_.reset();
    com_.reset();
}

bool ShortcutFile::ReadTarget(const wchar_t* shortcutPath, wchar_t* target) {
    if (!persistfile_) return false;
    if (FAILED(persistfile_->Load(shortcutPath, STGM_READ))) return false;
    // Read aside, so a failed read leaves the caller's buffer alone.
    wchar_t path[kPathUnits] = L"";
    // Without find data: filling it in costs the link object a look at the
    // target, more than the rest of the read.
    if (SUCCEEDED(shelllink_->GetPath(path, kPathUnits, nullptr, 0)))
        CopyText(target, kPathUnits, path);
    return true;
}

bool ShortcutFile::IconLocation(wchar_t* file, int* index) {
    if (!shelllink_) return false;
    wchar_t stored[kPathUnits] = L"";
    int storedIndex = 0;
    if (FAILED(shelllink_->GetIconLocation(stored, kPathUnits, &storedIndex)) || !stored[0])
        return false;
    wchar_t expanded[kPathUnits];
    DWORD length = ExpandEnvironmentStringsW(stored, expanded, kPathUnits);
    if (length == 0 || length > kPathUnits) return false;
    CopyText(file, kPathUnits, expanded);
    *index = storedIndex;
    return true;
}

bool ShortcutFile::Retarget(const wchar_t* newTarget, const wchar_t* shortcutPath) {
    if (!persistfile_) return false;
    if (FAILED(shelllink_->SetPath(newTarget))) return false;
    return SUCCEEDED(persistfile_->Save(shortcutPath, TRUE));
}
