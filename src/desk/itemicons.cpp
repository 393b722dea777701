#include "desk/itemicons.h"

#include <algorithm>
#include <unordered_map>

#include "app/text.h"
#include "desk/deskfill.h"
#include "desk/iconworker.h"
#include "resources/resource.h"

namespace {

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

ItemIcons::ItemIcons(HWND window, HWND list, SIZE size)
    : window_(window), list_(list), images(ImageList_Create(size.cx, size.cy, ILC_COLOR24, 0, 1)),
      // Started now, so that the shell readies its icons alongside the
      // window's own start.
      worker_(std::make_unique<IconWorker>(window, WM_ICONSREADY)) {
    // Handed over without LVS_SHAREIMAGELISTS: the list destroys it.
    SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

ItemIcons::~ItemIcons() {
    StopWorker(0);
}

int ItemIcons::Pending() const {
    return static_cast<int>(std::count_if(listed_.begin(), listed_.end(),
                                          [](const ListedIcon& listed) { return !listed.made; }));
}

void ItemIcons::UseSource(IconSourceFactory source) {
    source_ = std::move(source);
    generics_.reset();
}

SIZE ItemIcons::IconSize() const {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    return {cx, cy};
}

std::vector<int> ItemIcons::Begin(std::vector<ListedIcon> listed, bool keep) {
    std::vector<int> sources(listed.size(), -1);
    // An image list emptied meanwhile (another icon size) holds nothing to keep.
    if (keep && ImageList_GetImageCount(images) >= static_cast<int>(listed_.size()))
        sources = KeptIconSources(listed_, listed);
    // Whatever the worker still makes belongs to the old list.
    ++generation_;
    if (worker_) worker_->Start(IconJob{generation_, {}, CLR_NONE, {}, {}});
    listed_ = std::move(listed);
    generic_.clear();
    genericsdrawn_ = 0;
    std::vector<int> start(listed_.size());
    for (size_t i = 0; i < listed_.size(); ++i) {
        listed_[i].made = listed_[i].inslot = sources[i] >= 0;
        start[i] = listed_[i].made ? static_cast<int>(i) : GenericImage(static_cast<int>(i));
    }
    // The kept icons move to their items' new places; the generic ones follow.
    MoveImages(images, sources, static_cast<int>(listed_.size() + generic_.size()));
    return start;
}

int ItemIcons::GenericImage(int item) {
    const ListedIcon& listed = listed_[item];
    bool folder = listed.stamp.attributes & FILE_ATTRIBUTE_DIRECTORY;
    std::wstring kind = GenericKind(listed.name.c_str(), folder);
    int first = static_cast<int>(listed_.size());
    for (int i = 0; i < static_cast<int>(generic_.size()); ++i)
        if (generic_[i].first == kind) return first + i;
    generic_.emplace_back(std::move(kind), item);
    return first + static_cast<int>(generic_.size()) - 1;
}

void ItemIcons::DrawGenerics() {
    if (genericsdrawn_ == generic_.size()) return;
    int first = static_cast<int>(listed_.size());
    ImageList_SetImageCount(images, static_cast<UINT>(first + generic_.size()));
    if (!generics_)
        generics_ = source_ ? source_(IconSize(), CLR_NONE) : ShellIcons(IconSize(), CLR_NONE);
    for (; genericsdrawn_ < generic_.size(); ++genericsdrawn_) {
        const ListedIcon& named = listed_[generic_[genericsdrawn_].second];
        bool folder = named.stamp.attributes & FILE_ATTRIBUTE_DIRECTORY;
        int slot = first + static_cast<int>(genericsdrawn_);
        HICON icon = generics_->Generic(named.name.c_str(), folder);
        // With no generic icon from the shell the item waits as empty
        // space, never with another item's picture.
        if (!icon || ImageList_ReplaceIcon(images, slot, icon) < 0) {
            IconHandle blank = BlankIcon(IconSize());
            ImageList_ReplaceIcon(images, slot, blank.get());
        }
    }
}

void ItemIcons::SetItemImage(int index, int image) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ItemIcons::StartJob(const wchar_t* folder) {
    std::vector<int> pending;
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i)
        if (!listed_[i].made) pending.push_back(i);
    if (pending.empty() || !worker_) return;
    IconJob job{generation_, IconSize(), ImageList_GetBkColor(images), source_, {}};
    job.tasks.reserve(pending.size());
    wchar_t path[kPathUnits];
    for (int i : VisibleFirst(pending, FirstVisibleItem(list_))) {
        // A path that does not fit gets no icon of its own.
        bool fits = JoinPath(path, folder, listed_[i].name.c_str());
        job.tasks.push_back({i, fits ? path : L""});
    }
    worker_->Start(std::move(job));
}

void ItemIcons::Take() {
    if (!worker_) return;
    bool more = false;
    const unsigned generation = generation_;
    const int count = static_cast<int>(listed_.size());
    for (const IconDone& done : worker_->TakeDone(kIconBatch, more)) {
        int index = done.index;
        if (done.generation != generation_ || index < 0 || index >= count || listed_[index].made)
            continue;
        // Without one of its own, the item keeps its kind's icon in its own slot.
        if (!PutIcon(images, index, done.made)) {
            int generic = GenericImage(index);
            DrawGenerics();
            // The shell's calls let messages in: what they found is used only
            // for the listing it was meant for.
            if (generation != generation_) return;
            ImageList_Copy(images, index, images, generic, ILCF_MOVE);
        }
        ListedIcon& listed = listed_[index];
        listed.made = true;
        if (listed.inslot) {
            SendMessageW(list_, LVM_REDRAWITEMS, index, index);
        } else {
            SetItemImage(index, index);
            listed.inslot = true;
        }
    }
    if (more) PostMessageW(window_, WM_ICONSREADY, 0, 0);
    // Once every item has its own, the generic images go.
    if (!generic_.empty() && Pending() == 0) {
        ImageList_SetImageCount(images, static_cast<UINT>(count));
        generic_.clear();
        genericsdrawn_ = 0;
    }
}

void ItemIcons::Reload(const std::vector<std::wstring>* names) {
    if (names) {
        // The record follows the items as they are now.
        std::unordered_map<std::wstring, EntryStamp> stamps;
        for (const ListedIcon& listed : listed_)
            stamps.emplace(listed.name, listed.stamp);
        std::vector<ListedIcon> listed(names->size());
        for (size_t i = 0; i < names->size(); ++i) {
            auto found = stamps.find((*names)[i]);
            listed[i] = {(*names)[i], found != stamps.end() ? found->second : EntryStamp()};
        }
        listed_ = std::move(listed);
    }
    const int count = static_cast<int>(listed_.size());
    // Images of another size are gone; else each item shows the picture it
    // had until its new one comes, never another item's.
    bool emptied = names || ImageList_GetImageCount(images) < count;
    ++generation_;
    for (ListedIcon& listed : listed_)
        listed.made = false;
    if (emptied) {
        generic_.clear();
        genericsdrawn_ = 0;
        std::vector<int> waiting(count);
        for (int i = 0; i < count; ++i)
            waiting[i] = GenericImage(i);
        DrawGenerics();
        HeldDrawing held(list_);
        for (int i = 0; i < count; ++i) {
            SetItemImage(i, waiting[i]);
            listed_[i].inslot = false;
        }
    }
}

void ItemIcons::Forget() {
    for (ListedIcon& listed : listed_)
        listed.made = false;
}

void ItemIcons::Resize(SIZE size) {
    // Resizing empties the image list.
    ImageList_SetIconSize(images, size.cx, size.cy);
    Forget();
    generic_.clear();
    genericsdrawn_ = 0;
    generics_.reset();
}

bool ItemIcons::StopWorker(DWORD boundMs) {
    if (!worker_) return true;
    if (worker_->Stop(boundMs)) {
        worker_.reset();
        return true;
    }
    // It uses nothing but itself, so it is left to end alone.
    static_cast<void>(worker_.release());
    return false;
}

HANDLE ItemIcons::WorkerThread() const {
    return worker_ ? worker_->thread() : nullptr;
}
