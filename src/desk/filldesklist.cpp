#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/appstate.h"
#include "app/handles.h"
#include "desk/deskicons.h"
#include "desk/deskorder.h"
#include "desk/itemnames.h"
#include "desk/listmarks.h"
#include "shell/drivefixup.h"
#include "status/trim.h"

namespace {

// The listed entries of the folder, in the order the file system gives them.
// An entry whose full path would not fit the 260-unit buffers is left out:
// it could not be opened, renamed or shown by its own path.
std::vector<DeskEntry> ReadDeskFolder(const wchar_t* deskpath, bool showhidden) {
    std::vector<DeskEntry> entries;
    wchar_t pattern[kPathUnits];
    if (!JoinPath(pattern, deskpath, L"*")) return entries;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW(pattern, &data));
    if (!find) return entries;
    wchar_t full[kPathUnits];
    do {
        if (!IsListedEntry(data.cFileName, data.dwFileAttributes, showhidden)) continue;
        if (!JoinPath(full, deskpath, data.cFileName)) continue;
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

// Once the list has outgrown its window, every further insert would have the
// list view recompute and redraw its scroll bars, which under some systems
// costs a hundred times the insert itself. The visible part has been painted
// item by item by then, and what follows lies outside it, so drawing is held
// from that point to the end of the fill; the list then arranges itself and
// sets its scroll bars once, exactly as after the plain inserts.
class OverflowDrawing {
  public:
    explicit OverflowDrawing(HWND list) : list_(list) {}
    ~OverflowDrawing() { End(); }
    OverflowDrawing(const OverflowDrawing&) = delete;
    OverflowDrawing& operator=(const OverflowDrawing&) = delete;
    // Called after each insert.
    void Inserted() {
        if (held_ || !(GetWindowLongW(list_, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL))) return;
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        held_ = true;
    }
    bool Held() const { return held_; }
    void End() {
        if (held_) SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        held_ = false;
    }

  private:
    HWND list_;
    bool held_ = false;
};

bool ProgramPath(wchar_t* path) {
    DWORD length = GetModuleFileNameW(nullptr, path, kPathUnits);
    return length > 0 && length < kPathUnits;
}

} // namespace

void AppState::FillDeskList() {
    if (!ClaimList(true)) return;
    FillItems();
    ReleaseList();
}

void AppState::FillItems() {
    std::vector<std::wstring> names =
        DeskOrder(ReadDeskFolder(deskpath, showhidden), {sort, dirsfirst, home, end});
    CopyText(listedpath, deskpath);

    // Each entry's full path is built in a buffer of the fill's own.
    wchar_t path[kPathUnits];
    if (!ProgramPath(path) || !DriveFixUpApplies(path, deskpath)) convertpending = false;

    ItemIcons icons(images, static_cast<int>(names.size()));
    wchar_t label[kPathUnits];
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.pszText = label;

    OverflowDrawing drawing(desklist);
    for (size_t i = 0; i < names.size(); ++i) {
        const wchar_t* name = names[i].c_str();
        // Checked when the folder was read; should it not fit now, the item
        // keeps its place and image with a blank icon, never with the
        // previous entry's path.
        if (JoinPath(path, deskpath, name)) {
            if (convertpending && HasShortcutExtension(name)) FixShortcutDrive(path, deskpath);
            icons.AddFor(path);
        } else {
            icons.Add(nullptr);
        }

        bool shortcut = ShortcutLabel(name, label, kPathUnits);
        item.iItem = static_cast<int>(i);
        item.iImage = static_cast<int>(i);
        item.lParam = shortcut ? 1 : 0;
        SendMessageW(desklist, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        drawing.Inserted();
        // The desk fills visibly, item by item. While drawing is held there
        // is nothing to paint, yet every call would still ask the system.
        if (!drawing.Held()) UpdateWindow(mainwindow);
    }
    icons.Finish();
    drawing.End();
    UpdateWindow(mainwindow);

    convertpending = false;
    TrimWorkingSet();
}

void AppState::RefreshDeskList(bool /*reread*/) {
    if (!ClaimList(true)) return;
    ListMarks marks = SaveListMarks();
    SendMessageW(desklist, LVM_DELETEALLITEMS, 0, 0);
    ImageList_Remove(images, -1);
    FillItems();
    RestoreListMarks(marks);
    ReleaseList();
}
