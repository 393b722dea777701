#include <windows.h>
#include <shlobj.h>

#include "app/appstate.h"
#include "app/handles.h"
#include "lang/texts.h"

namespace {

// Selects the current desk folder (the callback data) once the browser is up.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

bool AppState::ChooseDeskFolder() {
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.put()))) return false;

    BROWSEINFOW info = {};
    info.hwndOwner = mainwindow;
    info.lpszTitle = MessageText(kMessageChooseDesk);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(deskpath);
    ItemIdList chosen(allocator.get());
    *chosen.put() = SHBrowseForFolderW(&info);
    if (!chosen) return false;

    // The shell writes at most MAX_PATH units, the size of deskpath.
    wchar_t path[MAX_PATH];
    if (SHGetPathFromIDListW(chosen.get(), path) && path[0]) {
        CopyText(deskpath, path);
    } else {
        // An item with no file-system path (the Desktop itself, Control Panel)
        // stands for the Desktop directory.
        deskpath[0] = L'\0';
        UseDesktopFolder();
    }
    return true;
}
