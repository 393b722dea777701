#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/deskicons.h"
#include "desk/iconsize.h"

void AppState::ApplyIconStyle() {
    static const LONG views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST};
    if (iconstyle >= 0 && iconstyle < 3) {
        LONG style = GetWindowLongW(desklist, GWL_STYLE);
        SetWindowLongPtrW(desklist, GWL_STYLE, (style & ~LVS_TYPEMASK) | views[iconstyle]);
        SizeIconsToView();
    }
    ReloadIcons();
}

void AppState::SizeIconsToView() {
    LONG view = GetWindowLongW(desklist, GWL_STYLE) & LVS_TYPEMASK;
    SIZE size = DeskIconSize(view, dpi);
    // Resizing empties the image list; the caller reloads the icons.
    ImageList_SetIconSize(images, size.cx, size.cy);
    for (ListedIcon& listed : listedicons)
        listed.made = false;
    generics.reset();
    WPARAM slot = view == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL;
    SendMessageW(desklist, LVM_SETIMAGELIST, slot, reinterpret_cast<LPARAM>(images));
    // The list holds the one image list in one slot only, so that it
    // destroys it once, with itself.
    SendMessageW(desklist, LVM_SETIMAGELIST, slot == LVSIL_NORMAL ? LVSIL_SMALL : LVSIL_NORMAL, 0);
}
