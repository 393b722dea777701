#pragma once
// The one record of the program's state; its methods are the program's
// operations, defined in the folder of the subsystem that owns each.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/handles.h"
#include "app/hotkey.h"
#include "app/text.h"
#include "app/closegate.h"
#include "desk/deskfill.h"
#include "desk/itemicons.h"
#include "desk/listmarks.h"
#include "desk/namebox.h"
#include "settings/settings.h"
#include "shell/droptarget.h"
#include "shell/shellobject.h"

class FolderWatcher;

// The shell folder the Desktop is: a test names one that cannot be found.
extern int DesktopFolderId;

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

class AppState : public DropTarget, public Settings {
  public:
    explicit AppState(HWND window);
    ~AppState() override;
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    void PathAtPoint(POINTL point, wchar_t* out) override;

    // Start-up and shutdown.
    void Initialise();
    // What the window need not have before its items are in: OLE, the drop
    // target, the dialogs' icon. Once, after the first fill.
    void FinishStartUp();
    void ReadConfiguration();
    void TakeArgument(wchar_t* text);
    // The shutdown's work, settings first; the destructor runs it, and so
    // does a shutdown that must leave the record allocated.
    void Shutdown();
    // Ends the folder watcher and the icon worker, waiting at most boundMs
    // for each.
    void StopThreads(DWORD boundMs);

    // Main window.
    void UseDesktopFolder();
    void DeskFolderChanged();
    void OnMove();
    void OnSize(int width, int height);
    void OnTimer(UINT_PTR id);
    void OnTrayIcon(UINT mouseMessage);
    // The window moved to a monitor of another scale (or the scale changed):
    // it takes the system's suggested rectangle, its icons and its font.
    void OnDpiChanged(UINT newdpi, const RECT& suggested);
    // The taskbar was (re-)created and holds no icon of ours.
    void OnTaskbarCreated();
    // The desk's key: brings the window to the front, or puts it away when it is.
    void OnHotKey(WPARAM id);
    // The displays, the work area or the power state changed: the window is
    // pulled back onto the screen now, or once it shows its rectangle again.
    void OnScreenChanged();
    void FitIfShown();
    // A close from outside: true when it waits for a loop or a step of
    // work under way, to be carried out once that has returned.
    bool DeferClose();
    LRESULT OnListNotify(NMHDR* header);
    // The desk list item under the mouse cursor, or -1.
    int HitItemAtCursor();

    // Window placement and appearance.
    void ApplySettings();
    void FitToScreen();
    void Centre(int command);
    void ApplyTransparency();
    void ApplyTrayIcon();
    void ApplyStayOnTop();
    // The list's label font at the window's scale.
    void ApplyListFont();

    // Status in the title and the recycle-bin watch.
    void UpdateClock();
    void UpdateRecycleStatus();

    // Folder watcher: one at a time, on the current desk folder.
    void StartFolderWatcher();
    // False when the watcher did not end within boundMs; it is then left to
    // end by itself.
    bool StopFolderWatcher(DWORD boundMs);
    // A burst of changes has settled: the desk list is refreshed, now or
    // once the list is free.
    void OnFolderChanged();
    // The refresh that waited for the list, if it still waits.
    void RunWantedRefresh();
    // Asks for the waiting refresh, if any, once nothing holds the list.
    void ResumeWantedRefresh();

    // Commands.
    void RunCommand(int id);
    // The selected items in index order.
    std::vector<int> SelectedItems();
    // The selected items, or the focused item alone when none is selected.
    std::vector<int> TargetItems();
    // The full paths of the target items that fit, with their shortcut flags.
    std::vector<std::pair<std::wstring, bool>> TargetFiles();
    // The first selected item (no focused fallback), or -1.
    int FirstSelectedItem();
    void ShowCommandMenu(int x, int y, int position);
    void UpdateMenuStates(HMENU menu);
    void OpenCommandMenu();
    void OpenTargets();
    void StartRename();
    void ViewTargets(const wchar_t* tool, int dialogCommand, int ownCommand);
    void RecycleTargets();
    void SelectAll();
    void LaunchInDesk(const wchar_t* tool, const wchar_t* fallback, bool folderParameter);
    void SetKeptItem(wchar_t* kept);
    void ShowDeskProperties();
    void OpenHelp();
    void ToggleSaveOnExit();
    void ChangeDeskFolder();
    void ShowShellMenuCommand();
    void ExitCommand();

    // The shell's menu, verbs and drag for the desk items.
    // The full paths of the items in the given order; empty when one of them
    // cannot be addressed.
    PathList ItemPaths(const std::vector<int>& items);
    void ItemContextMenu(int index);
    void InvokeVerbOnItems(const char* verb);
    // Moves the cursor to the first selected item's icon and shows the shell
    // menu of the selected items there. False, showing nothing, when no item
    // is selected.
    bool ShowShellMenuAtFirstSelected();
    void DragSelectedItemsOut();

    // Settings file.
    void LoadSettings();
    void SaveSettings();
    bool ChooseSettingsFile();

    // Dialogs.
    // True when the user chose a folder (it may be the Desktop).
    bool ChooseDeskFolder();
    void ChooseTextColour();
    void ChooseBackgroundColour();
    void ChooseTool(ToolKind kind);
    void ShowAbout();

    // Desk list items. Their paths are built from the folder they were
    // listed from.
    bool ItemFileName(int index, wchar_t* name);
    // The label the list asks for: the item's file name without ".lnk".
    void ItemLabel(NMLVDISPINFOW* info);
    bool ItemPath(int index, wchar_t* path);
    // The start-up fill into the empty list, unless a fill has begun already.
    // A large desk is inserted in slices, with the window's messages handled
    // between them.
    void FillDeskList();
    // The next step of the fill under way: a slice, or its end.
    void ContinueFill();
    // Rebuilds the list, now or once the list is free; the selected and the
    // focused items keep their marks by file name when the folder is the
    // same. An icon made for an entry that has not changed is kept unless
    // reread asks for every icon anew.
    void RefreshDeskList(bool reread = false);
    // The list's items come from the desk folder as it is named now.
    bool ListsDeskFolder() const;
    ListMarks SaveListMarks();
    void RestoreListMarks(const ListMarks& marks);
    // Selects and focuses this item alone, and brings it into view.
    void MarkOnly(int index);
    void ApplyIconStyle();
    // The image list sized for the list's current view at the window's scale.
    void SizeIconsToView();
    // Every item's icon made anew (another size or background).
    void ReloadIcons();
    // Picture files show what they hold: in the large icons, unless turned off.
    bool ThumbnailsShown() const;
    // Puts the icons the worker has finished into the image list.
    void TakeIcons();

    // Item operations.
    void OpenItem(int index);
    void OpenItemFile(const wchar_t* itempath, bool shortcut);
    void ViewWithTool(const wchar_t* itempath, const wchar_t* tool);
    void CreateNewItem(bool file);
    bool RenameItem(const wchar_t* label, bool shortcut);
    // Finds the item of this file name and edits its label, or selects it.
    void EditFoundItem(const wchar_t* name);
    void SelectFoundItem(const wchar_t* name);

    HWND mainwindow;
    HWND desklist;
    // The desk list's parts: its fill, its icons, its name box; and when a
    // close may go ahead.
    DeskFill fill;
    ItemIcons icons;
    NameBox namebox;
    CloseGate closegate;
    UINT dpi; // the scale the window is drawn at
    GdiObject listfont;
    HANDLE stopevent; // the folder watcher's, while it runs
    COLORREF customcolours[16];
    NOTIFYICONDATAW trayicondata;
    SHQUERYRBINFO recyclebininfo;
    wchar_t titletext[kPathUnits];
    wchar_t clockpart[kPathUnits]; // what the clock last appended to the title
    wchar_t inipath[kPathUnits];
    wchar_t langpath[kPathUnits];
    wchar_t helppath[kPathUnits];
    wchar_t deskpath[kPathUnits];
    bool convertpending;
    std::int32_t recyclerpoll;
    // The Desktop is listed only because the desk folder was unavailable at
    // start-up; until the user chooses a folder, saves keep `folder` as read.
    bool desktopstandsin;
    std::int64_t recyclecount;
    bool menupinned;
    std::int32_t pinnedsubmenu;
    SetLayeredWindowAttributesFn setlayered;
    std::unique_ptr<FolderWatcher> watcher;
    // The items being dragged out of the list, while the drag lasts.
    const PathList* draggedout = nullptr;
    RegisteredHotKey deskkey;
    bool fitwhenshown = false; // the screens changed while the window was away

  private:
    // The window region that leaves only the client area, with any frame.
    void CutToClientArea();
    void SetBaseTitle();
    void SetTrayTipFromTitle();
    int FindNamedItem(const wchar_t* name);
    // Empties the list and fills it again, the marks kept.
    void Refill(bool reread);
    // Reads and orders the folder, plans the icons and inserts the first
    // slice; startup: the start-up's fill, whose every step is short.
    void BeginFill(const ListMarks* marks, bool keepIcons, bool startup);
    void InsertSlice();
    void MeasureFirstItem();
    void EndFill();
    // Posts the next step of the fill under way, unless a close waits.
    void PostFillStep();
    void OpenItemAtCursor();
    LRESULT BeginLabelEdit(NMLVDISPINFOW* info);
    LRESULT EndLabelEdit(NMLVDISPINFOW* info);

    std::optional<OleSession> ole;
};

// A step of work on the desk list that may let messages in: while it runs,
// nothing rebuilds the list and no close destroys the window.
class ListStep {
  public:
    explicit ListStep(AppState& state) : list_(state.fill), close_(state.closegate) {}

  private:
    DeskFill::Hold list_;
    CloseGate::Hold close_;
};

// The size the shell expects for the tray icon data and the recycle-bin query.
constexpr DWORD kTrayIconDataSize = 952;
constexpr DWORD kRecycleBinInfoSize = 24;
