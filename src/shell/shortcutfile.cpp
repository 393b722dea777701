#include "shell/shortcutfile.h"

#include "app/text.h"

HRESULT ShortcutFile::Open() {
    Close();
    // Its result does not matter: an S_FALSE or a different apartment still
    // leaves COM usable on this thread, and Close balances every call.
    CoInitialize(nullptr);
    opened_ = true;
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
    if (opened_) CoUninitialize();
    opened_ = false;
}

bool ShortcutFile::ReadTarget(const wchar_t* shortcutPath, wchar_t* target) {
    if (!persistfile_) return false;
    if (FAILED(persistfile_->Load(shortcutPath, STGM_READ))) return false;
    // Read aside, so a failed read leaves the caller's buffer alone.
    wchar_t path[kPathUnits] = L"";
    if (SUCCEEDED(shelllink_->GetPath(path, kPathUnits, &finddata_, 0)))
        CopyText(target, kPathUnits, path);
    return true;
}

bool ShortcutFile::Retarget(const wchar_t* newTarget, const wchar_t* shortcutPath) {
    if (!persistfile_) return false;
    if (FAILED(shelllink_->SetPath(newTarget))) return false;
    return SUCCEEDED(persistfile_->Save(shortcutPath, TRUE));
}
