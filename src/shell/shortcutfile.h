#pragma once
// A shortcut (.lnk) file read and rewritten through the shell's link object.
// Short-lived: open, read or retarget, close, within one operation.

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "app/handles.h"

class ShortcutFile {
  public:
    ShortcutFile() = default;
    ~ShortcutFile() { Close(); }
    ShortcutFile(const ShortcutFile&) = delete;
    ShortcutFile& operator=(const ShortcutFile&) = delete;

    // Creates the link object, with COM for the calling thread. On failure
    // both interfaces stay null and the other calls do nothing.
    HRESULT Open();
    // Releases the interfaces and balances the CoInitialize of Open, if it
    // succeeded.
    void Close();
    bool Opened() const { return persistfile_.get() != nullptr; }
    // The link's target path as stored (the link is not resolved). Returns
    // false, with target as it was, when the file cannot be loaded.
    bool ReadTarget(const wchar_t* shortcutPath, wchar_t* target);
    // The icon the link last read names for itself: its file (environment
    // strings expanded) and index. False when it names none or the name does
    // not fit 260 units.
    bool IconLocation(wchar_t* file, int* index);
    // Points the link at a new target and saves it to shortcutPath.
    bool Retarget(const wchar_t* newTarget, const wchar_t* shortcutPath);

  private:
    // Declared first: COM stays initialised until the interfaces are released.
    std::optional<ComSession> com_;
    ComPtr<IShellLinkW> shelllink_;
    ComPtr<IPersistFile> persistfile_;
};
