// The command menu's rules and pins as plain functions.
#include <gtest/gtest.h>

#include <set>

#include "commands/commandtable.h"
#include "commands/pins.h"

TEST(MenuStates, FollowTheFlags) {
    Settings off, on, small;
    MenuContext offContext, onContext, smallContext;
    off.sort = small.sort = 0;
    off.dirsfirst = off.recycler = off.savesettings = off.savefolder = off.atcursor = false;
    offContext.anySelected = offContext.clipboardHasFiles = smallContext.anySelected = true;
    on.transparent = on.trayicon = on.ontop = on.showhidden = on.time = true;
    onContext.menupinned = true;
    on.iconstyle = 7; // any style but 0 and 1 is the list
    onContext.pinnedsubmenu = 26;
    small.iconstyle = 1;
    small.dirsfirst = false;
    smallContext.pinnedsubmenu = 31;
    struct Row {
        const Settings& in;
        const MenuContext& context;
        std::set<int> checked, greyed;
    } rows[] = {
        {off, offContext, {1051, 1054}, {}},
        // Sorting by extension greys Folders First; no selection greys the item
        // commands, no files on the clipboard greys Paste.
        {on, onContext,
         {1034, 1037, 1038, 1053, 1055, 1056, 1063, 1081, 1082, 1093, 1094, 1102, 2200, 2226},
         {1001, 1002, 1003, 1004, 1005, 1006, 1007, 1011, 1012, 1013, 1014, 1015, 1056}},
        {small, smallContext, {1052, 1054, 1082, 1093, 1094, 1102, 2231}, {1015}},
    };
    for (const Row& row : rows) {
        std::set<int> checked, greyed;
        for (const MenuItemState& s : MenuStates(row.in, row.context)) {
            if (s.checked) checked.insert(s.id);
            if (s.greyed) greyed.insert(s.id);
        }
        EXPECT_EQ(checked, row.checked) << row.in.iconstyle;
        EXPECT_EQ(greyed, row.greyed) << row.in.iconstyle;
    }
}

TEST(Pins, ChooseDismissAndReopen) {
    struct Step {
        const char* what;
        int chosen; // a Pin id, another command (1051), or 0 for a dismissal
        PinState before, after;
        int reopen;
    } steps[] = {
        {"a command, nothing pinned", 1051, {false, -1}, {false, -1}, -1},
        {"pin the main popup", 2200, {false, -1}, {true, -1}, 0},
        {"pin Desk while main pinned", 2226, {true, -1}, {true, 26}, 26},
        {"a command in the pinned Desk", 1051, {true, 26}, {true, 26}, 26},
        {"pin Tools instead of Desk", 2227, {false, 26}, {false, 27}, 27},
        {"unpin Desk, main pinned", 2226, {true, 26}, {true, -1}, 0},
        {"unpin Desk, main not pinned", 2226, {false, 26}, {false, -1}, -1},
        // Also what asking for the main popup while a sub-menu is pinned gives.
        {"dismiss Desk, main pinned", 0, {true, 26}, {true, -1}, 0},
        {"dismiss Desk alone", 0, {false, 26}, {false, -1}, -1},
        {"dismiss the pinned main popup", 0, {true, -1}, {false, -1}, -1},
        {"unpin the main popup", 2200, {true, -1}, {false, -1}, -1},
    };
    for (const Step& step : steps) {
        PinState pins = step.chosen >= 2200 ? ChoosePin(step.before, step.chosen) : step.before;
        PinOutcome outcome = step.chosen ? AfterChosen(pins) : AfterDismissed(pins);
        EXPECT_TRUE(outcome.pins.menupinned == step.after.menupinned &&
                    outcome.pins.pinnedsubmenu == step.after.pinnedsubmenu &&
                    outcome.reopen == step.reopen)
            << step.what;
    }
}

TEST(Pins, TheReopenMessageCarriesNegativeCoordinates) {
    for (POINT p : {POINT{0, 0}, {-1200, 300}, {-300, -400}, {3000, 2000}, {-32768, -100}}) {
        POINT back = DecodeMenuPoint(EncodeMenuPoint(p.x, p.y));
        EXPECT_TRUE(back.x == p.x && back.y == p.y) << p.x << "," << p.y;
    }
    // The layout stays x in the low word and y + 100 in the high word.
    EXPECT_EQ(EncodeMenuPoint(10, 20), static_cast<WPARAM>(MAKEWPARAM(10, 120)));
}
