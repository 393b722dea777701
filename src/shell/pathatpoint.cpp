#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/appstate.h"

void AppState::PathAtPoint(POINTL point, wchar_t* out) {
    // Over a picture that is not the list yet, nothing is where it seems.
    if (fill.PictureStale()) {
        out[0] = L'\0';
        return;
    }
    POINT client = {point.x, point.y};
    ScreenToClient(mainwindow, &client);
    LVHITTESTINFO hit = {};
    hit.pt = client;
    int index =
        static_cast<int>(SendMessageW(desklist, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index >= 0) {
        ItemPath(index, out);
        // An item being dragged is no place to drop: let go over itself, a
        // shortcut would take the items into its target, a program would be
        // started with them. They land on the desk folder, where they are.
        bool dragged = draggedout && std::find(draggedout->begin(), draggedout->end(),
                                               std::wstring(out)) != draggedout->end();
        if (out[0] != L'\0' && !dragged) return;
    }
    CopyText(out, kPathUnits, deskpath);
}
