// The command menu's rules and pins, and the recycle list, as plain functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "commands/commandids.h"
#include "commands/commandtable.h"
#include "commands/pathlist.h"
#include "commands/pins.h"

namespace {

std::set<int> Checked(const MenuInputs& in) {
    std::set<int> ids;
    for (const MenuItemState& s : MenuStates(in))
        if (s.checked) ids.insert(s.id);
    return ids;
}
std::set<int> Greyed(const MenuInputs& in) {
    std::set<int> ids;
    for (const MenuItemState& s : MenuStates(in))
        if (s.greyed) ids.insert(s.id);
    return ids;
}

const std::set<int> kNeedSelection = {1001, 1002, 1003, 1004, 1005, 1006,
                                      1007, 1011, 1012, 1013, 1014};

} // namespace

TEST(MenuStates, FollowTheFlags) {
    MenuInputs off;
    off.sort = 0;
    off.dirsfirst = off.recycler = off.savesettings = off.savefolder = off.atcursor = false;
    off.anySelected = true;
    off.clipboardHasFiles = true;
    EXPECT_EQ(Checked(off), (std::set<int>{1051, 1054}));
    EXPECT_EQ(Greyed(off), std::set<int>{});

    MenuInputs on;
    on.transparent = on.trayicon = on.ontop = on.showhidden = on.time = on.menupinned = true;
    on.iconstyle = 7; // any style but 0 and 1 is the list
    on.sort = 1;
    on.pinnedsubmenu = 26;
    EXPECT_EQ(Checked(on), (std::set<int>{1034, 1037, 1038, 1053, 1055, 1056, 1063, 1081, 1082,
                                          1093, 1094, 1102, 2200, 2226}));
    std::set<int> greyed = kNeedSelection;
    greyed.insert({1015, 1056});
    EXPECT_EQ(Greyed(on), greyed) << "sorting by extension greys Folders First; no files, no Paste";

    MenuInputs small;
    small.iconstyle = 1;
    small.sort = 0;
    small.dirsfirst = false;
    small.pinnedsubmenu = 31;
    EXPECT_EQ(Checked(small).count(1052), 1u);
    EXPECT_EQ(Checked(small).count(2231), 1u);
    EXPECT_EQ(Checked(small).count(2200), 0u);
    EXPECT_EQ(Checked(small).count(1056), 0u);
    EXPECT_EQ(Greyed(small).count(1056), 0u);
}

TEST(Pins, ChooseDismissAndReopen) {
    struct Step {
        const char* what;
        int chosen; // a Pin id, another command (1051), or 0 for a dismissal
        PinState before;
        PinState after;
        int reopen;
    };
    const Step steps[] = {
        {"a command, nothing pinned", 1051, {false, -1}, {false, -1}, -1},
        {"pin the main popup", 2200, {false, -1}, {true, -1}, 0},
        {"a command, main pinned", 1051, {true, -1}, {true, -1}, 0},
        {"pin Desk while main pinned", 2226, {true, -1}, {true, 26}, 26},
        {"a command in the pinned Desk", 1051, {true, 26}, {true, 26}, 26},
        {"pin Tools instead of Desk", 2227, {false, 26}, {false, 27}, 27},
        {"unpin Desk, main pinned", 2226, {true, 26}, {true, -1}, 0},
        {"unpin Desk, main not pinned", 2226, {false, 26}, {false, -1}, -1},
        {"dismiss Desk, main pinned", 0, {true, 26}, {true, -1}, 0},
        {"dismiss Desk alone", 0, {false, 26}, {false, -1}, -1},
        {"dismiss the pinned main popup", 0, {true, -1}, {false, -1}, -1},
        {"unpin the main popup", 2200, {true, -1}, {false, -1}, -1},
    };
    for (const Step& step : steps) {
        PinState pins = step.before;
        PinOutcome outcome;
        if (step.chosen == 0) {
            outcome = AfterDismissed(pins);
        } else {
            if (step.chosen >= 2200) pins = ChoosePin(pins, step.chosen);
            outcome = AfterChosen(pins);
        }
        EXPECT_EQ(outcome.pins.menupinned, step.after.menupinned) << step.what;
        EXPECT_EQ(outcome.pins.pinnedsubmenu, step.after.pinnedsubmenu) << step.what;
        EXPECT_EQ(outcome.reopen, step.reopen) << step.what;
    }
}

TEST(Pins, TheReopenMessageCarriesNegativeCoordinates) {
    const POINT points[] = {{0, 0},       {100, -50},   {-1200, 300},
                            {-300, -400}, {3000, 2000}, {-32768, -100}};
    for (POINT p : points) {
        POINT back = DecodeMenuPoint(EncodeMenuPoint(p.x, p.y));
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
    }
    // The layout stays x in the low word and y + 100 in the high word.
    EXPECT_EQ(EncodeMenuPoint(10, 20), static_cast<WPARAM>(MAKEWPARAM(10, 120)));
}

TEST(PathList, EveryPathEndsWithAZeroAndTheListWithTwo) {
    std::vector<wchar_t> list = DoubleZeroPathList({L"C:\\d\\a.txt", L"C:\\d\\b"});
    EXPECT_EQ(std::wstring(list.begin(), list.end()),
              std::wstring(L"C:\\d\\a.txt\0C:\\d\\b\0\0", 19));
    std::vector<wchar_t> empty = DoubleZeroPathList({});
    EXPECT_EQ(empty.size(), 2u);
    EXPECT_EQ(std::count(empty.begin(), empty.end(), L'\0'), 2);
}
