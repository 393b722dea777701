#include <windows.h>
#include <commctrl.h>

#include <unordered_map>
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
// with what tells whether each has changed. An entry whose full path would
// not fit the 260-unit buffers is left out: it could not be opened, renamed
// or shown by its own path.
std::vector<DeskEntry> ReadDeskFolder(const wchar_t* deskpath, bool showhidden,
                                      std::unordered_map<std::wstring, EntryStamp>& stamps) {
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
        entries.push_back(
            {data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        stamps.emplace(data.cFileName, StampOf(data));
    } while (FindNextFileW(find.get(), &data));
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
    if (listmeasured) return;
    listmeasured = true;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (dc) SendMessageW(desklist, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
}

void AppState::FillDeskList() {
    if (!ClaimList(true)) return;
    BeginFill(nullptr, false, false, false);
}

void AppState::StartUpFill() {
    if (!ClaimList(true)) return;
    BeginFill(nullptr, false, false, true);
}

void AppState::RefreshDeskList(bool reread) {
    Refill(!reread, false);
}

void AppState::Refill(bool keepIcons, bool followups) {
    if (!ClaimList(true)) return;
    ListMarks marks = SaveListMarks();
    SendMessageW(desklist, LVM_DELETEALLITEMS, 0, 0);
    BeginFill(&marks, keepIcons, followups, false);
}

void AppState::ContinueFill() {
    if (!fill) {
        if (listedpath[0] == L'\0')
            StartUpFill();
        else
            FinishStartUp();
    } else if (fill->next < fill->names.size()) {
        InsertSlice();
    } else {
        EndFill();
    }
}

void AppState::BeginFill(const ListMarks* marks, bool keepIcons, bool followups, bool startup) {
    std::unordered_map<std::wstring, EntryStamp> stamps;
    stamps.reserve(listedicons.size() + 16);
    std::vector<std::wstring> names =
        DeskOrder(ReadDeskFolder(deskpath, showhidden, stamps), {sort, dirsfirst, home, end});
    // Icons made for another folder's entries say nothing of this one's.
    keepIcons = keepIcons && ListsDeskFolder();
    CopyText(listedpath, deskpath);

    std::vector<ListedIcon> listed(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        listed[i] = {names[i], stamps[names[i]], false};
    std::vector<int> sources(names.size(), -1);
    // An image list emptied meanwhile (another icon size) holds nothing to keep.
    if (keepIcons && ImageList_GetImageCount(images) >= static_cast<int>(listedicons.size()))
        sources = KeptIconSources(listedicons, listed);
    // Whatever the worker still makes belongs to the old list.
    ++icongeneration;
    if (iconworker) iconworker->Start(IconJob{icongeneration, {}, CLR_NONE, {}});
    listedicons = std::move(listed);
    genericimages.clear();
    genericsdrawn = 0;

    fill = std::make_unique<DeskFill>(desklist);
    fill->names = std::move(names);
    fill->images.resize(fill->names.size());
    iconspending = 0;
    for (size_t i = 0; i < fill->names.size(); ++i) {
        listedicons[i].made = listedicons[i].inslot = sources[i] >= 0;
        fill->images[i] = listedicons[i].made ? static_cast<int>(i) : GenericImage(listedicons[i]);
        if (!listedicons[i].made) ++iconspending;
    }
    // The kept icons move to their items' new places; the generic ones follow.
    MoveImages(images, sources, static_cast<int>(listedicons.size() + genericimages.size()));
    if (marks) fill->marks = *marks;
    fill->followups = followups;
    fill->startup = startup;
    // A list this long takes its size once instead of growing with each insert.
    SendMessageW(desklist, LVM_SETITEMCOUNT, fill->names.size(), 0);
    // Reading a large folder takes the most of one message already; at
    // start-up every step is kept short.
    if (startup || fill->names.size() > kFillSlice)
        PostMessageW(mainwindow, WM_DESKFILL, 0, 0);
    else
        InsertSlice();
}

void AppState::InsertSlice() {
    // Each entry's full path is built in a buffer of the fill's own.
    wchar_t path[kPathUnits];
    if (convertpending && (!ProgramPath(path) || !DriveFixUpApplies(path, deskpath)))
        convertpending = false;

    wchar_t label[kPathUnits];
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.pszText = label;
    // The list's first drawing of items, which sets up its text, is a step
    // of its own.
    size_t last = std::min(fill->names.size(), fill->next + (listmeasured ? kFillSlice : 1));
    for (size_t i = fill->next; i < last; ++i) {
        const wchar_t* name = fill->names[i].c_str();
        if (convertpending && HasShortcutExtension(name) && JoinPath(path, deskpath, name))
            FixShortcutDrive(path, deskpath);
        bool shortcut = ShortcutLabel(name, label, kPathUnits);
        item.iItem = static_cast<int>(i);
        item.iImage = fill->images[i];
        item.lParam = shortcut ? 1 : 0;
        SendMessageW(desklist, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (!listmeasured) MeasureFirstItem();
    }
    fill->next = last;
    // A fill that fits one slice runs whole, so that its caller finds the
    // list filled; a larger one, and the start-up's, go on with the next
    // message, and so does their end.
    if (fill->startup || fill->names.size() > kFillSlice)
        PostMessageW(mainwindow, WM_DESKFILL, 0, 0);
    else if (last < fill->names.size())
        InsertSlice();
    else
        EndFill();
}

void AppState::EndFill() {
    DrawGenericImages();
    std::unique_ptr<DeskFill> done = std::move(fill);
    // Painted when the window's messages are done, as any change is.
    done->drawing.End();
    if (done->marks) RestoreListMarks(*done->marks);
    convertpending = false;
    StartIconJob();
    TrimWorkingSet();
    ReleaseList();
    if (done->followups) {
        if (editafterrefresh) EditFoundItem();
        if (selectafterrefresh) SelectFoundItem();
    }
    // What the start-up left for after the first fill comes with the next
    // message; a fill that overtook the start-up's carries it out at once.
    if (!startupfinished && done->startup)
        PostMessageW(mainwindow, WM_DESKFILL, 0, 0);
    else
        FinishStartUp();
    // A close that came during the slices is carried out now.
    if (closepending && modalloops == 0) {
        closepending = false;
        PostMessageW(mainwindow, WM_CLOSE, 0, 0);
    }
}
