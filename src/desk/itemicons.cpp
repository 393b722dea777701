#include "desk/itemicons.h"

#include <algorithm>

#include "app/text.h"
#include "desk/deskfill.h"
#include "desk/iconkinds.h"
#include "desk/iconworker.h"
#include "desk/thumbnails.h"
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

// Finished pictures put in place per message.
constexpr size_t kIconBatch = 64;
// The image list grows by this many images at a time: each growth copies
// every image once.
constexpr int kImageChunk = 64;

bool IsFolder(const ListedIcon& listed) {
    return listed.stamp.attributes & FILE_ATTRIBUTE_DIRECTORY;
}

} // namespace

ItemIcons::ItemIcons(HWND window, HWND list, SIZE size)
    : window_(window), list_(list),
      images(ImageList_Create(size.cx, size.cy, ILC_COLOR24, 0, kImageChunk)),
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
    return static_cast<int>(std::count_if(listed_.begin(), listed_.end(), [&](const ListedIcon& l) {
        return l.own ? !l.made : !types_[l.type].made;
    }));
}

int ItemIcons::OwnPictures() const {
    return static_cast<int>(
        std::count_if(listed_.begin(), listed_.end(), [](const ListedIcon& l) { return l.own; }));
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

int ItemIcons::NewImage() {
    int image;
    if (!free_.empty()) {
        image = free_.back();
        free_.pop_back();
    } else {
        image = used_++;
        if (used_ > ImageList_GetImageCount(images))
            ImageList_SetImageCount(images, static_cast<UINT>(used_ + kImageChunk - 1));
        holders_.resize(used_);
        keys_.resize(used_);
    }
    holders_[image] = 1;
    return image;
}

void ItemIcons::FreeImage(int image) {
    if (image < 0 || --holders_[image] > 0) return;
    Unkey(image);
    free_.push_back(image);
}

void ItemIcons::Unkey(int image) {
    auto found = alike_.find(keys_[image]);
    if (found != alike_.end() && found->second == image) alike_.erase(found);
    keys_[image] = 0;
}

int ItemIcons::TypeOf(const ListedIcon& listed, std::vector<TypeImage>& types,
                      std::unordered_map<std::wstring, int>& kinds) {
    std::wstring kind = GenericKind(listed.name.c_str(), IsFolder(listed));
    // Most items are of a type seen already.
    if (auto found = kinds.find(kind); found != kinds.end()) return found->second;
    int type = static_cast<int>(types.size());
    kinds.emplace(kind, type);
    types.push_back({std::move(kind), listed.name, IsFolder(listed)});
    return type;
}

void ItemIcons::Plan(std::vector<ListedIcon>& listed, bool keep, bool thumbnails) {
    // The registry is read once per extension in a fill, so that a changed
    // association shows with the next.
    TypeIconReader reader;
    std::vector<TypeImage> types;
    std::unordered_map<std::wstring, int> kinds;
    std::vector<int> sources(listed.size(), -1);
    if (keep) sources = KeptIconSources(listed_, listed);
    std::vector<bool> taken(listed_.size(), false);
    for (size_t i = 0; i < listed.size(); ++i) {
        ListedIcon& item = listed[i];
        // A file too small to hold a picture is never opened for one.
        item.picture = thumbnails && !IsFolder(item) && IsPictureName(item.name.c_str()) &&
                       MayHoldPicture(item.stamp.size);
        item.own = item.picture || reader.OwnPicture(item.name.c_str(), item.stamp.attributes);
        item.type = TypeOf(item, types, kinds);
        item.made = false;
        item.image = -1;
        // What was made stays, also an own picture that turned out to be
        // none (the item shows its type's).
        int source = sources[i];
        if (source >= 0 && listed_[source].own == item.own &&
            listed_[source].picture == item.picture) {
            item.image = listed_[source].image;
            item.made = true;
            taken[source] = true;
        }
    }
    for (size_t j = 0; j < listed_.size(); ++j)
        if (!taken[j]) FreeImage(listed_[j].image);
    // A type keeps its image and the picture in it; without keep (F5, or
    // another folder) the picture is made again meanwhile.
    for (TypeImage& old : types_) {
        auto found = kinds.find(old.kind);
        if (found == kinds.end()) {
            FreeImage(old.image);
            continue;
        }
        TypeImage& type = types[found->second];
        type.image = old.image;
        // F5 asks the shell anew, for the generic pictures too.
        type.drawn = old.drawn && keep;
        type.made = old.made && keep;
    }
    // An empty desk needs no images at all.
    if (listed.empty()) {
        ImageList_SetImageCount(images, 0);
        ForgetImages();
    }
    for (TypeImage& type : types)
        if (type.image < 0) type.image = NewImage();
    types_ = std::move(types);
    listed_ = std::move(listed);
}

void ItemIcons::Begin(std::vector<ListedIcon> listed, bool keep, bool thumbnails) {
    // Whatever the worker still makes belongs to the old list.
    ++generation_;
    if (worker_) worker_->Start(IconJob{generation_, {}, CLR_NONE, {}, {}});
    thumbnails_ = thumbnails;
    // A true re-read asks the shell for the generic icons of new types too.
    if (!keep) generics_.reset();
    Plan(listed, keep, thumbnails);
}

int ItemIcons::ImageOf(size_t index) const {
    const ListedIcon& item = listed_[index];
    return item.image >= 0 ? item.image : types_[item.type].image;
}

void ItemIcons::DrawGenerics() {
    if (!generics_)
        generics_ = source_ ? source_(IconSize(), CLR_NONE) : ShellIcons(IconSize(), CLR_NONE);
    // Drawing an icon into the list costs far more than copying an image:
    // types that share a generic icon have it drawn once.
    std::vector<std::pair<HICON, int>> drawn;
    for (TypeImage& type : types_) {
        if (type.drawn) continue;
        if (type.image < 0) type.image = NewImage();
        HICON icon = generics_->Generic(type.name.c_str(), type.folder);
        auto copy = std::find_if(drawn.begin(), drawn.end(),
                                 [icon](const auto& known) { return known.first == icon; });
        bool put = icon && copy != drawn.end() &&
                   ImageList_Copy(images, type.image, images, copy->second, ILCF_MOVE);
        if (!put && icon && ImageList_ReplaceIcon(images, type.image, icon) >= 0) {
            drawn.emplace_back(icon, type.image);
            put = true;
        }
        // With no generic icon from the shell the item waits as empty
        // space, never with another item's picture.
        if (!put) {
            IconHandle blank = BlankIcon(IconSize());
            ImageList_ReplaceIcon(images, type.image, blank.get());
        }
        type.drawn = true;
        // The worker would make the very same picture again.
        type.made = type.made || generics_->TypesAreGeneric();
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
    if (!worker_) return;
    IconJob job{generation_, IconSize(), ImageList_GetBkColor(images), source_, {}};
    wchar_t path[kPathUnits];
    // A path that does not fit gets no picture of its own.
    auto task = [&](int index, const std::wstring& name, bool isFolder) {
        bool fits = JoinPath(path, folder, name.c_str());
        bool picture = index >= 0 && listed_[index].picture;
        job.tasks.push_back({index, fits ? path : L"", isFolder, picture});
    };
    // Types first: a few of them stand for most of the desk.
    for (int t = 0; t < static_cast<int>(types_.size()); ++t)
        if (types_[t].drawn && !types_[t].made) task(-1 - t, types_[t].name, types_[t].folder);
    std::vector<int> pending;
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i)
        if (listed_[i].own && !listed_[i].made) pending.push_back(i);
    // What the worker made for this listing already, it skips.
    for (int i : VisibleFirst(pending, pending.empty() ? 0 : FirstVisibleItem(list_)))
        task(i, listed_[i].name, false);
    if (!job.tasks.empty()) worker_->Start(std::move(job));
}

void ItemIcons::Take() {
    if (!worker_) return;
    bool more = false, typesMade = false;
    const int count = static_cast<int>(listed_.size());
    for (const IconDone& done : worker_->TakeDone(kIconBatch, more)) {
        if (done.generation != generation_) continue;
        if (done.index < 0) {
            int t = -1 - done.index;
            if (t >= static_cast<int>(types_.size()) || types_[t].made) continue;
            // Without a picture the type keeps its generic one.
            PutIcon(images, types_[t].image, done.made);
            types_[t].made = typesMade = true;
            continue;
        }
        int index = done.index;
        if (index >= count || !listed_[index].own || listed_[index].made) continue;
        ListedIcon& item = listed_[index];
        item.made = true;
        auto alike = done.key ? alike_.find(done.key) : alike_.end();
        if (alike != alike_.end()) {
            // The picture is in already, for an item alike.
            if (alike->second == item.image) continue;
            FreeImage(item.image);
            item.image = alike->second;
            ++holders_[item.image];
            SetItemImage(index, item.image);
            continue;
        }
        // Whether the list shows an image of the item's own rather than its type's.
        const bool ownShown = item.image >= 0;
        // An image other items show too is not painted over.
        if (item.image >= 0 && holders_[item.image] > 1) {
            FreeImage(item.image);
            item.image = -1;
        }
        bool shown = item.image >= 0;
        if (shown)
            Unkey(item.image);
        else
            item.image = NewImage();
        if (PutIcon(images, item.image, done.made)) {
            keys_[item.image] = done.key;
            if (done.key) alike_[done.key] = item.image;
            if (shown)
                SendMessageW(list_, LVM_REDRAWITEMS, index, index);
            else
                SetItemImage(index, item.image);
            continue;
        }
        // Nothing of its own after all: the item shows its type's picture.
        FreeImage(item.image);
        item.image = -1;
        if (ownShown) SetItemImage(index, types_[item.type].image);
    }
    // Every item of a type shows its picture at once.
    if (typesMade) InvalidateRect(list_, nullptr, FALSE);
    if (more) PostMessageW(window_, WM_ICONSREADY, 0, 0);
}

void ItemIcons::Reload(const std::vector<std::wstring>* names, bool thumbnails) {
    // Items taken out, or a view that shows picture files otherwise: the
    // record follows the items as they are now.
    bool emptied = names || thumbnails != thumbnails_;
    if (emptied) {
        std::unordered_map<std::wstring, EntryStamp> stamps;
        for (const ListedIcon& listed : listed_)
            stamps.emplace(listed.name, listed.stamp);
        std::vector<ListedIcon> listed(names ? names->size() : listed_.size());
        for (size_t i = 0; i < listed.size(); ++i) {
            listed[i].name = names ? (*names)[i] : listed_[i].name;
            auto found = stamps.find(listed[i].name);
            if (found != stamps.end()) listed[i].stamp = found->second;
        }
        thumbnails_ = thumbnails;
        Plan(listed, true, thumbnails);
    }
    Forget();
    // Images of another size are gone: the types draw theirs again. Else
    // each item shows the picture it had until its new one comes.
    for (TypeImage& type : types_) {
        if (type.image >= 0) continue;
        type.image = NewImage();
        emptied = true;
    }
    DrawGenerics();
    if (!emptied) return;
    HeldDrawing held(list_);
    for (int i = 0; i < static_cast<int>(listed_.size()); ++i)
        SetItemImage(i, listed_[i].image >= 0 ? listed_[i].image : types_[listed_[i].type].image);
}

void ItemIcons::Forget() {
    // What the worker makes now is for pictures as they were.
    ++generation_;
    // The images hold pictures as they were, for no new one to share; an
    // image's old key finds nothing to unkey once this is empty.
    alike_.clear();
    for (ListedIcon& listed : listed_)
        listed.made = false;
    for (TypeImage& type : types_)
        type.made = false;
}

void ItemIcons::Resize(SIZE size) {
    // Resizing empties the image list.
    ImageList_SetIconSize(images, size.cx, size.cy);
    ForgetImages();
    for (ListedIcon& listed : listed_)
        listed.image = -1;
    for (TypeImage& type : types_)
        type = {type.kind, type.name, type.folder};
    Forget();
    generics_.reset();
}

void ItemIcons::ForgetImages() {
    used_ = 0;
    free_.clear();
    holders_.clear();
    keys_.clear();
    alike_.clear();
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

bool ItemIcons::ShellReady() const {
    return !worker_ || worker_->Ready();
}

HANDLE ItemIcons::WorkerThread() const {
    return worker_ ? worker_->thread() : nullptr;
}
