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
#include "desk/listicons.h"
#include "settings/settings.h"
#include "shell/droptarget.h"
#include "shell/shellobject.h"

class FolderWatcher;
class IconWorker;
class IconMaker;
struct DeskFill;
struct ListMarks;

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
    // The shutdown's work; the destructor runs it, and so does a shutdown
    // that must leave the record allocated.
    void Shutdown();

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
    // A close from outside while a loop of the system's runs under one of
    // this record's operations: true when it was held back, to be carried
    // out once that loop has returned.
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
    // False when a watcher did not end in time and still uses this record.
    bool StopFolderWatcher();
    // A burst of changes has settled, or a refresh had to wait: refresh,
    // then the follow-ups. Waits while the list is busy.
    void OnFolderChanged();

    // The desk list is worked on by one fill, refill or icon reload at a
    // time, and its items are not rebuilt while a label is edited. A claim
    // refused for either reason leaves a refresh wanted, which runs once,
    // with its follow-ups, as soon as the list is free.
    bool ClaimList(bool rebuildsItems);
    void ReleaseList();
    bool EditingLabel() const;
    // Asks for the wanted refresh, if any, once nothing holds the list.
    void ResumeWantedRefresh();
    void RunWantedRefresh();

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

    // Desk list items.
    bool ItemFileName(int index, wchar_t* name);
    bool ItemPath(int index, wchar_t* path);
    // The start-up fill into the empty list. A large desk is inserted in
    // slices, with the window's messages handled between them; the list is
    // claimed until the last slice is in.
    void FillDeskList();
    // The next slice of the fill under way, or its end; else the start-up
    // fill, unless the list has been filled already.
    void ContinueFill();
    void StartUpFill();
    // Rebuilds the list; the selected and the focused items keep their marks
    // by file name when the folder is the same. An icon made for an entry
    // that has not changed is kept unless reread asks for every icon anew.
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
    // Every item's icon made anew (another size or background); the items
    // show their kind's generic icon meanwhile.
    void ReloadIcons();
    // Puts the icons the worker has finished into the image list.
    void TakeIcons();
    // False when the icon worker did not end in time; it is then left to
    // end by itself, with nothing of this record.
    bool StopIconWorker();

    // Item operations.
    void OpenItem(int index);
    void OpenItemFile(const wchar_t* itempath, bool shortcut);
    void ViewWithTool(const wchar_t* itempath, const wchar_t* tool);
    void CreateNewItem(bool file);
    bool RenameItem(const wchar_t* label, bool shortcut);
    void EditFoundItem();
    void SelectFoundItem();

    HWND mainwindow;
    HWND desklist;
    HWND editwindow;
    HIMAGELIST images;
    UINT dpi; // the scale the window is drawn at
    GdiObject listfont;
    HANDLE watchhandle;
    HANDLE stopevent;
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
    bool commitedit;
    wchar_t findname[kPathUnits];
    wchar_t editpath[kPathUnits];
    bool editafterrefresh;
    bool selectafterrefresh;
    // A fill, refill or icon reload is running.
    bool refreshing;
    // A refresh had to wait for the list; it runs once the list is free.
    bool refreshwanted;
    // Items whose own icon is not in the image list yet.
    int iconspending = 0;
    // Item i's entry, and whether image i holds its own icon yet.
    std::vector<ListedIcon> listedicons;
    // Where each kind's generic icon stands while items wait for theirs,
    // after the items' own images, and which item named the kind; dropped
    // once every icon is in.
    std::vector<std::pair<std::wstring, int>> genericimages;
    // How many of them hold their icon.
    size_t genericsdrawn = 0;
    // Results of an icon job for an earlier fill carry an older number.
    unsigned icongeneration = 0;
    std::unique_ptr<IconWorker> iconworker;
    // The generic icons at the list's size, taken on this thread.
    std::unique_ptr<IconMaker> generics;
    bool startupfinished = false;
    // The list has drawn items once and knows its item metrics.
    bool listmeasured = false;
    // The fill under way, between its slices.
    std::unique_ptr<DeskFill> fill;
    // The folder the list's items come from.
    wchar_t listedpath[kPathUnits];
    std::int64_t recyclecount;
    bool menupinned;
    std::int32_t pinnedsubmenu;
    SetLayeredWindowAttributesFn setlayered;
    std::unique_ptr<FolderWatcher> watcher;
    // The items being dragged out of the list, while the drag lasts.
    const PathList* draggedout = nullptr;
    // How many loops of the system's (menus, a drag, the shell at work) run
    // under the record's operations now, and whether a close waits for them.
    int modalloops = 0;
    bool closepending = false;
    RegisteredHotKey deskkey;
    bool fitwhenshown = false; // the screens changed while the window was away

  private:
    // The window region that leaves only the client area, with any frame.
    void CutToClientArea();
    void SetBaseTitle();
    void SetTrayTipFromTitle();
    int FindNamedItem();
    // Empties the list and fills it again, the marks kept; followups: the
    // find-after-refresh the watcher's refresh owes.
    void Refill(bool keepIcons, bool followups);
    // Reads and orders the folder, plans the icons and inserts the first slice.
    void BeginFill(const ListMarks* marks, bool keepIcons, bool followups, bool startup);
    void InsertSlice();
    void MeasureFirstItem();
    void EndFill();
    // The image an item waiting for its icon shows: its kind's generic icon,
    // after the items' own images. The image is drawn by DrawGenericImages.
    int GenericImage(const ListedIcon& listed);
    void DrawGenericImages();
    // Hands the items still without their own icon to the worker.
    void StartIconJob();
    void SetItemImage(int index, int image);
    void OpenItemAtCursor();
    LRESULT BeginLabelEdit(NMLVDISPINFOW* info);
    LRESULT EndLabelEdit(NMLVDISPINFOW* info);

    std::optional<OleSession> ole;
    bool watcherlost = false;
};

// Held by an operation while it runs a loop of the system's in which a
// close from outside may arrive: the close then waits until the outermost
// such loop has returned, and goes through the message loop as usual.
class ModalSection {
  public:
    explicit ModalSection(AppState& state);
    ~ModalSection();
    ModalSection(const ModalSection&) = delete;
    ModalSection& operator=(const ModalSection&) = delete;

  private:
    AppState& state_;
};

// The size the shell expects for the tray icon data and the recycle-bin query.
constexpr DWORD kTrayIconDataSize = 952;
constexpr DWORD kRecycleBinInfoSize = 24;
