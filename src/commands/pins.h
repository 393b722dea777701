#pragma once
// The pins of the command menu and the message that re-opens it: decisions
// that need no window.

#include <windows.h>

#include "commands/commandids.h"

struct PinState {
    bool menupinned = false;
    int pinnedsubmenu = -1;
};

// The position in the main popup of the sub-menu this Pin item belongs to.
constexpr int SubmenuPosition(int pinId) {
    return pinId - CMD_PIN_MAIN;
}

// Choosing a Pin item: CMD_PIN_MAIN for the main popup, another for its sub-menu.
PinState ChoosePin(PinState pins, int pinId);

// What happens after a showing of the menu: the pins as they are then, and the
// position to re-open (0 the main popup, a sub-menu position, -1 nothing).
struct PinOutcome {
    PinState pins;
    int reopen;
};
// After a chosen command, with the pins as that command left them.
PinOutcome AfterChosen(PinState pins);
// After the menu was dismissed or nothing could be shown.
PinOutcome AfterDismissed(PinState pins);

// Message 1027 carries x in the low word and y + 100 in the high word of
// wParam. Both are read back as signed 16-bit values, so a menu on a monitor
// left of or above the primary one re-opens where it was.
WPARAM EncodeMenuPoint(int x, int y);
POINT DecodeMenuPoint(WPARAM wParam);
