#include "commands/pins.h"

#include "commands/commandids.h"

PinState ChoosePin(PinState pins, int pinId) {
    if (pinId == CMD_PIN_MAIN) {
        pins.menupinned = !pins.menupinned;
    } else {
        int position = SubmenuPosition(pinId);
        pins.pinnedsubmenu = pins.pinnedsubmenu == position ? -1 : position;
    }
    return pins;
}

PinOutcome AfterChosen(PinState pins) {
    if (pins.pinnedsubmenu != -1) return {pins, pins.pinnedsubmenu};
    return {pins, pins.menupinned ? 0 : -1};
}

PinOutcome AfterDismissed(PinState pins) {
    if (pins.pinnedsubmenu != -1) {
        pins.pinnedsubmenu = -1;
        return {pins, pins.menupinned ? 0 : -1};
    }
    pins.menupinned = false;
    return {pins, -1};
}

WPARAM EncodeMenuPoint(int x, int y) {
    return MAKEWPARAM(static_cast<WORD>(x), static_cast<WORD>(y + 100));
}

POINT DecodeMenuPoint(WPARAM wParam) {
    POINT point;
    point.x = static_cast<short>(LOWORD(wParam));
    point.y = static_cast<short>(HIWORD(wParam)) - 100;
    return point;
}
