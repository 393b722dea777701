#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"

void AppState::PathAtPoint(POINTL point, wchar_t* out) {
    POINT client = {point.x, point.y};
    ScreenToClient(mainwindow, &client);
    LVHITTESTINFO hit = {};
    hit.pt = client;
    int index = static_cast<int>(
        SendMessageW(desklist, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index >= 0) {
        ItemPath(index, out);
        if (out[0] != L'\0') return;
    }
    CopyText(out, kPathUnits, deskpath);
}
