#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/deskicons.h"

void AppState::ApplyIconStyle() {
    struct Mode {
        int width, height;
        LONG view;
        WPARAM slot;
    };
    static const Mode modes[] = {
        {SM_CXICON, SM_CYICON, LVS_ICON, LVSIL_NORMAL},
        {SM_CXSMICON, SM_CYSMICON, LVS_SMALLICON, LVSIL_SMALL},
        {SM_CXSMICON, SM_CYSMICON, LVS_LIST, LVSIL_SMALL},
    };
    if (iconstyle >= 0 && iconstyle < 3) {
        const Mode& mode = modes[iconstyle];
        // Resizing empties the image list; the icons are reloaded below.
        ImageList_SetIconSize(images, GetSystemMetrics(mode.width), GetSystemMetrics(mode.height));
        LONG style = GetWindowLongW(desklist, GWL_STYLE);
        SetWindowLongPtrW(desklist, GWL_STYLE, (style & ~LVS_TYPEMASK) | mode.view);
        SendMessageW(desklist, LVM_SETIMAGELIST, mode.slot, reinterpret_cast<LPARAM>(images));
        // The list holds the one image list in one slot only, so that it
        // destroys it once, with itself.
        SendMessageW(desklist, LVM_SETIMAGELIST, mode.slot == LVSIL_NORMAL ? LVSIL_SMALL : LVSIL_NORMAL, 0);
    }
    ReloadIcons();
}

void AppState::ReloadIcons() {
    // The items stay, so a label being edited does not hold this up.
    if (!ClaimList(false)) return;
    ImageList_Remove(images, -1);
    ItemIcons icons(images, static_cast<int>(SendMessageW(desklist, LVM_GETITEMCOUNT, 0, 0)));
    wchar_t path[kPathUnits];
    // The count is asked again for every item: the list may change meanwhile.
    for (int i = 0; i < static_cast<int>(SendMessageW(desklist, LVM_GETITEMCOUNT, 0, 0)); ++i) {
        ItemPath(i, path);
        icons.AddFor(path);
    }
    icons.Finish();
    ReleaseList();
}
