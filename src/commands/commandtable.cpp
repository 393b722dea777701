#include "commands/commandtable.h"

#include <iterator>

#include "app/appstate.h"
#include "commands/commandids.h"
#include "commands/pins.h"

namespace {

template <bool Settings::*Flag> void Toggle(AppState& s) {
    s.*Flag = !(s.*Flag);
}

template <int Style> void SetIconStyle(AppState& s) {
    s.iconstyle = Style;
    s.ApplyIconStyle();
}

template <int Id> void Pin(AppState& s) {
    PinState pins = ChoosePin({s.menupinned, s.pinnedsubmenu}, Id);
    s.menupinned = pins.menupinned;
    s.pinnedsubmenu = pins.pinnedsubmenu;
}

bool Never(const Settings&, const MenuContext&) {
    return false;
}
bool NoSelection(const Settings&, const MenuContext& context) {
    return !context.anySelected;
}
template <bool Settings::*Flag> bool Checked(const Settings& in, const MenuContext&) {
    return in.*Flag;
}
template <int Id> bool PinChecked(const Settings&, const MenuContext& context) {
    return Id == CMD_PIN_MAIN ? context.menupinned : context.pinnedsubmenu == SubmenuPosition(Id);
}

const CommandRow kCommands[] = {
    {CMD_OPEN, [](AppState& s) { s.OpenTargets(); }, Never, NoSelection},
    {CMD_RENAME, [](AppState& s) { s.StartRename(); }, Never, NoSelection},
    {CMD_VIEW_TEXT,
     [](AppState& s) { s.ViewTargets(s.textviewer, CMD_TEXT_VIEWER, CMD_VIEW_TEXT); }, Never,
     NoSelection},
    {CMD_VIEW_IMAGE,
     [](AppState& s) { s.ViewTargets(s.imageviewer, CMD_IMAGE_VIEWER, CMD_VIEW_IMAGE); }, Never,
     NoSelection},
    {CMD_VIEW_ARCHIVE,
     [](AppState& s) { s.ViewTargets(s.arcmanager, CMD_ARCHIVE_MANAGER, CMD_VIEW_ARCHIVE); }, Never,
     NoSelection},
    {CMD_PROPERTIES, [](AppState& s) { s.InvokeVerbOnItems("properties"); }, Never, NoSelection},
    {CMD_SHELL_MENU, [](AppState& s) { s.ShowShellMenuCommand(); }, Never, NoSelection},
    {CMD_RECYCLE, [](AppState& s) { s.RecycleTargets(); }, Never, NoSelection},
    {CMD_DELETE, [](AppState& s) { s.RecycleTargets(); }, Never, NoSelection},
    {CMD_CUT, [](AppState& s) { s.InvokeVerbOnItems("cut"); }, Never, NoSelection},
    {CMD_COPY, [](AppState& s) { s.InvokeVerbOnItems("copy"); }, Never, NoSelection},
    {CMD_PASTE, [](AppState& s) { s.InvokeVerbOnItems("paste"); }, Never,
     [](const Settings&, const MenuContext& context) { return !context.clipboardHasFiles; }},
    {CMD_NEW_FILE, [](AppState& s) { s.CreateNewItem(true); }, Never, Never},
    {CMD_NEW_FOLDER, [](AppState& s) { s.CreateNewItem(false); }, Never, Never},
    {CMD_REFRESH, [](AppState& s) { s.RefreshDeskList(true); }, Never, Never},
    {CMD_SELECT_ALL, [](AppState& s) { s.SelectAll(); }, Never, Never},
    {CMD_EXPLORE_HERE, [](AppState& s) { s.LaunchInDesk(s.filemanager, L"explorer.exe", true); },
     Never, Never},
    {CMD_COMMAND_SHELL, [](AppState& s) { s.LaunchInDesk(s.cmdprocessor, L"cmd.exe", false); },
     Never, Never},

    {CMD_FOLDER, [](AppState& s) { s.ChangeDeskFolder(); }, Never, Never},
    {CMD_TEXT_COLOUR, [](AppState& s) { s.ChooseTextColour(); }, Never, Never},
    {CMD_BACKGROUND_COLOUR, [](AppState& s) { s.ChooseBackgroundColour(); }, Never, Never},
    {CMD_TRANSPARENT,
     [](AppState& s) {
         s.transparent = !s.transparent;
         s.ApplyTransparency();
     },
     Checked<&Settings::transparent>, Never},
    {CMD_CENTER_HORIZ, [](AppState& s) { s.Centre(CMD_CENTER_HORIZ); }, Never, Never},
    {CMD_CENTER_VERT, [](AppState& s) { s.Centre(CMD_CENTER_VERT); }, Never, Never},
    {CMD_TRAY_ICON,
     [](AppState& s) {
         s.trayicon = !s.trayicon;
         s.ApplyTrayIcon();
     },
     Checked<&Settings::trayicon>, Never},
    {CMD_STAY_ON_TOP,
     [](AppState& s) {
         s.ontop = !s.ontop;
         s.ApplyStayOnTop();
     },
     Checked<&Settings::ontop>, Never},

    {CMD_LARGE_ICONS, SetIconStyle<0>,
     [](const Settings& in, const MenuContext&) { return in.iconstyle == 0; }, Never},
    {CMD_SMALL_ICONS, SetIconStyle<1>,
     [](const Settings& in, const MenuContext&) { return in.iconstyle == 1; }, Never},
    {CMD_LIST, SetIconStyle<2>,
     [](const Settings& in, const MenuContext&) { return in.iconstyle != 0 && in.iconstyle != 1; },
     Never},
    {CMD_SORT_BY_NAME,
     [](AppState& s) {
         s.sort = 0;
         s.RefreshDeskList();
     },
     [](const Settings& in, const MenuContext&) { return in.sort == 0; }, Never},
    // Sorting by extension always lists folders first.
    {CMD_SORT_BY_EXTENSION,
     [](AppState& s) {
         s.sort = 1;
         s.dirsfirst = true;
         s.RefreshDeskList();
     },
     [](const Settings& in, const MenuContext&) { return in.sort != 0; }, Never},
    {CMD_FOLDERS_FIRST,
     [](AppState& s) {
         s.dirsfirst = s.sort == 1 || !s.dirsfirst;
         s.RefreshDeskList();
     },
     Checked<&Settings::dirsfirst>,
     [](const Settings& in, const MenuContext&) { return in.sort != 0; }},
    {CMD_SET_HOME, [](AppState& s) { s.SetKeptItem(s.home); }, Never, Never},
    {CMD_SET_END, [](AppState& s) { s.SetKeptItem(s.end); }, Never, Never},
    {CMD_SHOW_HIDDEN,
     [](AppState& s) {
         s.showhidden = !s.showhidden;
         s.RefreshDeskList();
     },
     Checked<&Settings::showhidden>, Never},
    {CMD_DESK_PROPERTIES, [](AppState& s) { s.ShowDeskProperties(); }, Never, Never},

    {CMD_FILE_MANAGER, [](AppState& s) { s.ChooseTool(ToolKind::FileManager); }, Never, Never},
    {CMD_ARCHIVE_MANAGER, [](AppState& s) { s.ChooseTool(ToolKind::ArchiveManager); }, Never,
     Never},
    {CMD_COMMAND_PROCESSOR, [](AppState& s) { s.ChooseTool(ToolKind::CommandProcessor); }, Never,
     Never},
    {CMD_TEXT_VIEWER, [](AppState& s) { s.ChooseTool(ToolKind::TextViewer); }, Never, Never},
    {CMD_IMAGE_VIEWER, [](AppState& s) { s.ChooseTool(ToolKind::ImageViewer); }, Never, Never},

    {CMD_TIME,
     [](AppState& s) {
         s.time = !s.time;
         s.UpdateClock();
     },
     Checked<&Settings::time>, Never},
    {CMD_RECYCLE_BIN,
     [](AppState& s) {
         s.recycler = !s.recycler;
         s.UpdateRecycleStatus();
     },
     Checked<&Settings::recycler>, Never},

    {CMD_SAVE_NOW, [](AppState& s) { s.SaveSettings(); }, Never, Never},
    {CMD_SAVE_AS,
     [](AppState& s) {
         if (s.ChooseSettingsFile()) s.SaveSettings();
     },
     Never, Never},
    {CMD_SAVE_ON_EXIT, [](AppState& s) { s.ToggleSaveOnExit(); }, Checked<&Settings::savesettings>,
     Never},
    {CMD_SAVE_FOLDER, Toggle<&AppState::savefolder>, Checked<&Settings::savefolder>, Never},

    {CMD_MENU, [](AppState& s) { s.OpenCommandMenu(); }, Never, Never},
    {CMD_AT_CURSOR, Toggle<&AppState::atcursor>, Checked<&Settings::atcursor>, Never},
    {CMD_HELP, [](AppState& s) { s.OpenHelp(); }, Never, Never},
    {CMD_ABOUT, [](AppState& s) { s.ShowAbout(); }, Never, Never},
    {CMD_EXIT, [](AppState& s) { s.ExitCommand(); }, Never, Never},

    {CMD_PIN_MAIN, Pin<CMD_PIN_MAIN>, PinChecked<CMD_PIN_MAIN>, Never},
    {CMD_PIN_TARVO, Pin<CMD_PIN_TARVO>, PinChecked<CMD_PIN_TARVO>, Never},
    {CMD_PIN_DESK, Pin<CMD_PIN_DESK>, PinChecked<CMD_PIN_DESK>, Never},
    {CMD_PIN_TOOLS, Pin<CMD_PIN_TOOLS>, PinChecked<CMD_PIN_TOOLS>, Never},
    {CMD_PIN_STATUS, Pin<CMD_PIN_STATUS>, PinChecked<CMD_PIN_STATUS>, Never},
    {CMD_PIN_SETTINGS, Pin<CMD_PIN_SETTINGS>, PinChecked<CMD_PIN_SETTINGS>, Never},
    {CMD_PIN_INFO, Pin<CMD_PIN_INFO>, PinChecked<CMD_PIN_INFO>, Never},
};

} // namespace

const CommandRow* FindCommand(int id) {
    for (const CommandRow& row : kCommands)
        if (row.id == id) return &row;
    return nullptr;
}

std::vector<MenuItemState> MenuStates(const Settings& in, const MenuContext& context) {
    std::vector<MenuItemState> states;
    for (const CommandRow& row : kCommands) {
        bool checked = row.checked(in, context), greyed = row.greyed(in, context);
        if (checked || greyed) states.push_back({row.id, checked, greyed});
    }
    return states;
}
