// The desk items' icons: each item shows its kind's generic icon until the
// icon worker has made its own, which only this thread puts in place.
#include <windows.h>
#include <commctrl.h>

#include <unordered_map>
#include <vector>

#include "app/appstate.h"
#include "desk/deskfill.h"
#include "desk/deskicons.h"
#include "desk/iconworker.h"
#include "resources/resource.h"
#include "status/folderwatcher.h"

namespace {

SIZE IconSize(HIMAGELIST images) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    return {cx, cy};
}

// Items are laid out in index order, so the first one that reaches past the
// top (in list view, the left) edge of the client area is found by halving.
int FirstVisibleItem(HWND list) {
    bool columns = (GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_LIST;
    int low = 0, high = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    while (low < high) {
        int middle = low + (high - low) / 2;
        RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, middle, reinterpret_cast<LPARAM>(&bounds));
        if ((columns ? bounds.right : bounds.bottom) > 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// Finished icons put in place per message.
constexpr size_t kIconBatch = 64;

} // namespace

int AppState::GenericImage(const ListedIcon& listed) {
    bool folder = listed.stamp.attributes & FILE_ATTRIBUTE_DIRECTORY;
    std::wstring kind = GenericKind(listed.name.c_str(), folder);
    int first = static_cast<int>(listedicons.size());
    for (int i = 0; i < static_cast<int>(genericimages.size()); ++i)
        if (genericimages[i].first == kind) return first + i;
    genericimages.emplace_back(std::move(kind), &listed - listedicons.data());
    return first + static_cast<int>(genericimages.size()) - 1;
}

void AppState::DrawGenericImages() {
    if (genericsdrawn == genericimages.size()) return;
    int first = static_cast<int>(listedicons.size());
    ImageList_SetImageCount(images, static_cast<UINT>(first + genericimages.size()));
    if (!generics) generics = std::make_unique<IconMaker>(IconSize(images), CLR_NONE);
    for (; genericsdrawn < genericimages.size(); ++genericsdrawn) {
        const ListedIcon& named = listedicons[genericimages[genericsdrawn].second];
        bool folder = named.stamp.attributes & FILE_ATTRIBUTE_DIRECTORY;
        int slot = first + static_cast<int>(genericsdrawn);
        HICON icon = generics->Generic(named.name.c_str(), folder);
        // With no generic icon from the shell the item waits as empty
        // space, never with another item's picture.
        if (!icon || ImageList_ReplaceIcon(images, slot, icon) < 0) {
            IconHandle blank = BlankIcon(IconSize(images));
            ImageList_ReplaceIcon(images, slot, blank.get());
        }
    }
}

void AppState::SetItemImage(int index, int image) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    SendMessageW(desklist, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void AppState::StartIconJob() {
    if (iconspending == 0) return;
    std::vector<int> pending;
    for (int i = 0; i < static_cast<int>(listedicons.size()); ++i)
        if (!listedicons[i].made) pending.push_back(i);
    IconJob job{icongeneration, IconSize(images), ImageList_GetBkColor(images), {}};
    job.tasks.reserve(pending.size());
    wchar_t path[kPathUnits];
    for (int i : VisibleFirst(pending, FirstVisibleItem(desklist))) {
        // A path that does not fit gets no icon of its own.
        bool fits = JoinPath(path, listedpath, listedicons[i].name.c_str());
        job.tasks.push_back({i, fits ? path : L""});
    }
    if (!iconworker) iconworker = std::make_unique<IconWorker>(mainwindow, WM_ICONSREADY);
    iconworker->Start(std::move(job));
}

void AppState::TakeIcons() {
    if (!iconworker) return;
    // A batch at a time, so that a backlog never holds the window long.
    bool more = false;
    const int count = static_cast<int>(listedicons.size());
    for (const IconDone& done : iconworker->TakeDone(kIconBatch, more)) {
        int index = done.index;
        if (done.generation != icongeneration || index < 0 || index >= count ||
            listedicons[index].made)
            continue;
        ListedIcon& listed = listedicons[index];
        // Without one of its own, the item keeps its kind's icon in its own slot.
        if (!PutIcon(images, index, done.made)) {
            int generic = GenericImage(listed);
            DrawGenericImages();
            ImageList_Copy(images, index, images, generic, ILCF_MOVE);
        }
        listed.made = true;
        --iconspending;
        if (listed.inslot) {
            SendMessageW(desklist, LVM_REDRAWITEMS, index, index);
        } else {
            SetItemImage(index, index);
            listed.inslot = true;
        }
    }
    if (more) PostMessageW(mainwindow, WM_ICONSREADY, 0, 0);
    // Once every item has its own, the generic images go.
    if (iconspending == 0 && !genericimages.empty()) {
        ImageList_SetImageCount(images, static_cast<UINT>(count));
        genericimages.clear();
        genericsdrawn = 0;
    }
}

void AppState::ReloadIcons() {
    // The items stay, so a label being edited does not hold this up.
    if (!ClaimList(false)) {
        for (ListedIcon& listed : listedicons)
            listed.made = false;
        iconspending = static_cast<int>(listedicons.size());
        return;
    }
    int count = static_cast<int>(SendMessageW(desklist, LVM_GETITEMCOUNT, 0, 0));
    // Images of another size are gone; else each item shows the picture it
    // had until its new one comes, never another item's.
    bool emptied =
        ImageList_GetImageCount(images) < count || listedicons.size() != static_cast<size_t>(count);
    if (listedicons.size() != static_cast<size_t>(count)) {
        // The record follows the items as they are now.
        std::unordered_map<std::wstring, EntryStamp> stamps;
        for (const ListedIcon& listed : listedicons)
            stamps.emplace(listed.name, listed.stamp);
        std::vector<ListedIcon> listed(count);
        wchar_t name[kPathUnits];
        for (int i = 0; i < count; ++i) {
            ItemFileName(i, name);
            auto found = stamps.find(name);
            listed[i] = {name, found != stamps.end() ? found->second : EntryStamp()};
        }
        listedicons = std::move(listed);
    }
    ++icongeneration;
    for (ListedIcon& listed : listedicons)
        listed.made = false;
    iconspending = count;
    if (emptied) {
        genericimages.clear();
        genericsdrawn = 0;
        std::vector<int> waiting(count);
        for (int i = 0; i < count; ++i)
            waiting[i] = GenericImage(listedicons[i]);
        DrawGenericImages();
        HeldDrawing held(desklist);
        for (int i = 0; i < count; ++i) {
            SetItemImage(i, waiting[i]);
            listedicons[i].inslot = false;
        }
    }
    StartIconJob();
    ReleaseList();
}

bool AppState::StopIconWorker() {
    if (!iconworker) return true;
    if (iconworker->Stop(kThreadStopBoundMs)) {
        iconworker.reset();
        return true;
    }
    // It uses nothing but itself, so it is left to end alone.
    static_cast<void>(iconworker.release());
    return false;
}
