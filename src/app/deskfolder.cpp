#include <windows.h>
#include <shlobj.h>

#include "app/appstate.h"
#include "app/application.h"
#include "app/handles.h"

int DesktopFolderId = CSIDL_DESKTOPDIRECTORY;

void AppState::UseDesktopFolder() {
    ComPtr<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.put()))) return;
    ItemIdList list(allocator.get());
    if (SUCCEEDED(SHGetSpecialFolderLocation(mainwindow, DesktopFolderId, list.put())) && list) {
        // SHGetPathFromIDListW writes at most MAX_PATH units, our buffer's size;
        // it is written aside so a failure leaves the old folder in place.
        wchar_t path[MAX_PATH];
        if (SHGetPathFromIDListW(list.get(), path)) CopyText(deskpath, path);
    }
}

void AppState::DeskFolderChanged() {
    SetBaseTitle();
    if (time)
        UpdateClock();
    else
        SetTrayTipFromTitle();
    StartFolderWatcher();
}

void AppState::SetBaseTitle() {
    ConcatTruncated(titletext, {deskpath, L" - ", Application.caption});
    SetWindowTextW(mainwindow, titletext);
}

void AppState::SetTrayTipFromTitle() {
    if (!trayicon) return;
    CopyTruncated(trayicondata.szTip, titletext);
    Shell_NotifyIconW(NIM_MODIFY, &trayicondata);
}
