#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/appstate.h"
#include "app/handles.h"
#include "desk/deskfill.h"
#include "desk/deskicons.h"
#include "desk/deskorder.h"
#include "desk/iconworker.h"
#include "desk/itemnames.h"
#include "desk/listmarks.h"
#include "resources/resource.h"
#include "shell/drivefixup.h"
#include "status/trim.h"

namespace {

// The listed entries of the folder, in the order the file system gives them,
// and beside them what tells whether each has changed. An entry whose full
// path would not fit the 260-unit buffers is left out: it could not be
// opened, renamed or shown by its own path.
std::vector<DeskEntry> ReadDeskFolder(const wchar_t* deskpath, bool showhidden,
                                      std::vector<EntryStamp>& stamps) {
    std::vector<DeskEntry> entries;
    // No folder, no entries: an empty path would name the current folder.
    if (deskpath[0] == L'\0') return entries;
    // Read in blocks of many entries, far fewer calls than one per entry.
    FileHandle folder(CreateFileW(deskpath, FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return entries;
    std::vector<ULONGLONG> block(8192); // 64 KB, aligned as the entries must be
    const DWORD bytes = static_cast<DWORD>(block.size() * sizeof(ULONGLONG));
    wchar_t name[kPathUnits], full[kPathUnits];
    while (GetFileInformationByHandleEx(folder.get(), FileFullDirectoryInfo, block.data(), bytes)) {
        auto* at = reinterpret_cast<const BYTE*>(block.data());
        for (const FILE_FULL_DIR_INFO* info;; at += info->NextEntryOffset) {
            info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            size_t units = info->FileNameLength / sizeof(wchar_t);
            if (units < kPathUnits) {
                wmemcpy(name, info->FileName, units);
                name[units] = L'\0';
                if (IsListedEntry(name, info->FileAttributes, showhidden) &&
                    JoinPath(full, deskpath, name)) {
                    entries.push_back({name, (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
                    stamps.push_back(StampOf(*info));
                }
            }
            if (info->NextEntryOffset == 0) break;
        }
    }
    return entries;
}

bool ProgramPath(wchar_t* path) {
    DWORD length = GetModuleFileNameW(nullptr, path, kPathUnits);
    return length > 0 && length < kPathUnits;
}

} // namespace

// Some list views work out their item metrics only when they first draw
// items, and then for every item at once: a large first fill would have its
// first paint take long. Drawn once, out of sight, with one item in, the
// list knows its metrics before the others come.
void AppState::MeasureFirstItem() {
    if (fill.Measured()) return;
    fill.SetMeasured();
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (dc) SendMessageW(desklist, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
}

void AppState::FillDeskList() {
    // A fill that overtook the start-up's has listed the desk already.
    if (fill.FillsBegun() > 0 || fill.Busy()) return;
    BeginFill(nullptr, false, true);
}

void AppState::Refill(bool reread) {
    ListMarks marks = SaveListMarks();
    SendMessageW(desklist, LVM_DELETEALLITEMS, 0, 0);
    BeginFill(&marks, !reread, false);
}

void AppState::PostFillStep() {
    // A close that waits wins over the rest of the fill.
    if (!closegate.Waiting()) PostMessageW(mainwindow, WM_FILLSTEP, 0, 0);
}

void AppState::ContinueFill() {
    FillSlices* slices = fill.Slices();
    if (!slices) return;
    if (fill.Stepping()) {
        fill.DeferStep();
        return;
    }
    if (slices->next < fill.Listed())
        InsertSlice();
    // The end asks the shell for the generic pictures, which the worker
    // readies as the program starts: the start-up's fill waits for the
    // worker's word with the window free, not in the shell's call.
    else if (!slices->stepwise || icons.ShellReady())
        EndFill();
}

void AppState::BeginFill(const ListMarks* marks, bool keepIcons, bool startup) {
    ListStep step(*this);
    std::vector<EntryStamp> stamps;
    std::vector<DeskEntry> entries = ReadDeskFolder(deskpath, showhidden, stamps);
    std::vector<size_t> order = DeskOrderOf(entries, {sort, dirsfirst, home, end});
    // Icons made for another folder's entries say nothing of this one's.
    keepIcons = keepIcons && ListsDeskFolder();
    std::vector<std::wstring> names(order.size());
    std::vector<ListedIcon> listed(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        names[i] = std::move(entries[order[i]].name);
        listed[i] = {names[i], stamps[order[i]], false};
    }

    FillSlices& slices = fill.Begin(deskpath, std::move(names));
    icons.Begin(std::move(listed), keepIcons, ThumbnailsShown());
    // The items' own pictures are made while the list fills; at start-up
    // the window comes first.
    if (!startup) icons.StartJob(fill.ListedFolder());
    if (marks) slices.marks = *marks;
    slices.stepwise = startup;
    // A list this long takes its size once instead of growing with each insert.
    SendMessageW(desklist, LVM_SETITEMCOUNT, fill.Listed(), 0);
    // Reading a large folder takes the most of one message already; at
    // start-up every step is kept short.
    if (startup || fill.Listed() > kFillSlice)
        PostFillStep();
    else
        InsertSlice();
}

void AppState::InsertSlice() {
    ListStep step(*this);
    FillSlices& slices = *fill.Slices();
    const wchar_t* folder = fill.ListedFolder();
    // Each entry's full path is built in a buffer of the fill's own.
    wchar_t path[kPathUnits];
    if (convertpending && (!ProgramPath(path) || !DriveFixUpApplies(path, folder)))
        convertpending = false;

    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.pszText = LPSTR_TEXTCALLBACKW;
    // The list's first drawing of items, which sets up its text, is a step
    // of its own.
    size_t last = std::min(fill.Listed(), slices.next + (fill.Measured() ? kFillSlice : 1));
    for (; slices.next < last; ++slices.next) {
        int index = static_cast<int>(slices.next);
        const wchar_t* name = fill.ItemName(index);
        if (convertpending && HasShortcutExtension(name) && JoinPath(path, folder, name))
            FixShortcutDrive(path, folder);
        item.iItem = index;
        item.iImage = icons.ImageOf(index);
        item.lParam = HasShortcutExtension(name) ? 1 : 0;
        SendMessageW(desklist, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (!fill.Measured()) MeasureFirstItem();
    }
    // A fill that fits one slice runs whole, so that its caller finds the
    // list filled; a larger one, and the start-up's, go on with the next
    // message, and so does their end.
    if (slices.stepwise || fill.Listed() > kFillSlice)
        PostFillStep();
    else if (last < fill.Listed())
        InsertSlice();
    else
        EndFill();
}

void AppState::EndFill() {
    ListStep step(*this);
    // The shell's calls here may let messages in; the step holds the list.
    icons.DrawGenerics();
    std::unique_ptr<FillSlices> done = fill.End();
    // Laid out in its view, and painted when the window's messages are
    // done, as any change is.
    done->rows.End();
    done->drawing.End();
    if (done->marks) RestoreListMarks(*done->marks);
    convertpending = false;
    icons.StartJob(fill.ListedFolder());
    TrimWorkingSet();
    // A new or renamed item is found once a fill that began after it lists
    // its folder, whoever asked for the fill.
    NameBox::Due due = namebox.TakeFollowUp(fill.ListedFolder(), fill.FillsBegun());
    if (due.name && due.edit) EditFoundItem(due.name);
    if (due.name && !due.edit) SelectFoundItem(due.name);
    // What the start-up left for after the first fill comes with the next
    // message; a fill that overtook the start-up's carries it out at once.
    if (!ole && done->stepwise)
        PostMessageW(mainwindow, WM_STARTUPDONE, 0, 0);
    else
        FinishStartUp();
}
