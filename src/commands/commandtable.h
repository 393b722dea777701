#pragma once
// The command table: one row per command id, with what the command does and,
// where it has one, its check or grey rule in the command menu.

#include <windows.h>

#include <vector>

#include "settings/settings.h"

class AppState;

// What the menu rules look at besides the settings, taken when a menu is shown.
struct MenuContext {
    bool menupinned = false;
    int pinnedsubmenu = -1;
    bool clipboardHasFiles = false;
    bool anySelected = false;
};

struct CommandRow {
    int id;
    void (*run)(AppState& state);
    bool (*checked)(const Settings& settings, const MenuContext& context);
    bool (*greyed)(const Settings& settings, const MenuContext& context);
};

// The row of a command id, or null for an id that is not a command.
const CommandRow* FindCommand(int id);

struct MenuItemState {
    int id;
    bool checked;
    bool greyed;
};

// The check marks and greyed items of the command menu for these settings;
// every other item keeps the state it has in the resource.
std::vector<MenuItemState> MenuStates(const Settings& settings, const MenuContext& context);
