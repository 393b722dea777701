#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "desk/iconsize.h"

void AppState::ApplyIconStyle() {
    static const LONG views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST};
    if (iconstyle >= 0 && iconstyle < 3) {
        fill.SetView(views[iconstyle]);
        SizeIconsToView();
    }
    ReloadIcons();
}

void AppState::SizeIconsToView() {
    LONG view = fill.View();
    // Resizing empties the image list; the caller reloads the icons.
    icons.Resize(DeskIconSize(view, dpi));
    WPARAM slot = view == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL;
    SendMessageW(desklist, LVM_SETIMAGELIST, slot, reinterpret_cast<LPARAM>(icons.Images()));
    // The list holds the one image list in one slot only, so that it
    // destroys it once, with itself.
    SendMessageW(desklist, LVM_SETIMAGELIST, slot == LVSIL_NORMAL ? LVSIL_SMALL : LVSIL_NORMAL, 0);
}

bool AppState::ThumbnailsShown() const {
    // Only the large icons are large enough to show a picture by.
    return thumbnails && fill.View() == LVS_ICON;
}

void AppState::ReloadIcons() {
    if (fill.Busy()) {
        icons.Forget();
        // A fill's end makes every icon not made; a step on the stack that
        // lets messages in is not to be built under, so a refill follows it.
        if (!fill.Filling()) fill.Want(false);
        return;
    }
    ListStep step(*this);
    std::vector<std::wstring> names;
    int count = static_cast<int>(SendMessageW(desklist, LVM_GETITEMCOUNT, 0, 0));
    bool relist = static_cast<size_t>(count) != icons.Listed();
    wchar_t name[kPathUnits];
    for (int i = 0; relist && i < count; ++i) {
        ItemFileName(i, name);
        names.push_back(name);
    }
    icons.Reload(relist ? &names : nullptr, ThumbnailsShown());
    icons.StartJob(fill.ListedFolder());
}

void AppState::TakeIcons() {
    // The step ends first: within it the fill's next step would only be put off.
    {
        ListStep step(*this);
        icons.Take();
    }
    // The worker's word that the shell is ready may be what the start-up's
    // fill waits for to end.
    FillSlices* slices = fill.Slices();
    if (slices && slices->next >= fill.Listed()) ContinueFill();
}
