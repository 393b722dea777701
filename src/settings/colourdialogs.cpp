#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"
#include "settings/commondialogs.h"

namespace {

// The system colour picker, starting on colour; false when cancelled.
bool PickColour(HWND owner, COLORREF& colour, COLORREF* customColours) {
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = colour;
    choose.lpCustColors = customColours;
    choose.Flags = CC_RGBINIT;
    if (!ShowColourDialog(&choose)) return false;
    colour = choose.rgbResult;
    return true;
}

} // namespace

void AppState::ChooseTextColour() {
    if (!PickColour(mainwindow, textcolour, customcolours)) return;
    SendMessageW(desklist, LVM_SETTEXTCOLOR, 0, textcolour);
    InvalidateRect(mainwindow, nullptr, TRUE);
}

void AppState::ChooseBackgroundColour() {
    if (!PickColour(mainwindow, colour, customcolours)) return;
    SendMessageW(desklist, LVM_SETBKCOLOR, 0, colour);
    // Icons are drawn onto the background colour, so in the transparent
    // window only their own pixels remain: they are drawn again on the new one.
    ImageList_SetBkColor(icons.Images(), colour);
    ReloadIcons();
    // In the transparent window the background is the colour key: the new
    // colour is keyed out at once.
    if (transparent && setlayered) setlayered(mainwindow, colour, 0, LWA_COLORKEY);
    InvalidateRect(mainwindow, nullptr, TRUE);
}
