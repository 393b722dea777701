#pragma once
// The command table: one row per command id, with what the command does and,
// where it has one, its check or grey rule in the command menu.

#include <windows.h>

#include <vector>

class AppState;

// What the menu rules look at, copied out of the state when a menu is shown.
struct MenuInputs {
    bool transparent = false;
    bool trayicon = false;
    bool ontop = false;
    int iconstyle = 0;
    int sort = 1;
    bool dirsfirst = true;
    bool showhidden = false;
    bool time = false;
    bool recycler = true;
    bool savesettings = true;
    bool savefolder = true;
    bool atcursor = true;
    bool menupinned = false;
    int pinnedsubmenu = -1;
    bool clipboardHasFiles = false;
    bool anySelected = false;
};

struct CommandRow {
    int id;
    void (*run)(AppState& state);
    bool (*checked)(const MenuInputs& in);
    bool (*greyed)(const MenuInputs& in);
};

// The row of a command id, or null for an id that is not a command.
const CommandRow* FindCommand(int id);

struct MenuItemState {
    int id;
    bool checked;
    bool greyed;
};

// The check marks and greyed items of the command menu for these inputs;
// every other item keeps the state it has in the resource.
std::vector<MenuItemState> MenuStates(const MenuInputs& in);
