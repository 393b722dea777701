#include "desk/deskicons.h"

#include <shellapi.h>
#include <commoncontrols.h>

#include <vector>

#include "app/application.h"
#include "app/text.h"
#include "desk/itemnames.h"
#include "shell/shortcutfile.h"
#include "shell/winefallback.h"

namespace {

// A fully transparent icon of the list's size: an item without an icon of
// its own shows as empty space rather than as some other file's picture.
IconHandle BlankIcon(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy) || cx <= 0 || cy <= 0) return IconHandle();
    int stride = ((cx + 15) / 16) * 2; // monochrome rows are word-aligned
    std::vector<BYTE> andMask(static_cast<size_t>(stride) * cy, 0xFF);
    std::vector<BYTE> xorMask(static_cast<size_t>(stride) * cy, 0x00);
    return IconHandle(
        CreateIcon(Application.instance, cx, cy, 1, 1, andMask.data(), xorMask.data()));
}

// Whether the shell's small icons are large enough for the list, so that its
// generic icons are taken at the size they were drawn for; a smaller source
// would be blown up.
bool IsSmall(HIMAGELIST images) {
    int cx = 0, cy = 0;
    return ImageList_GetIconSize(images, &cx, &cy) && cx <= GetSystemMetrics(SM_CXSMICON);
}

IconHandle AssociatedIcon(const wchar_t* path) {
    // The shell may overwrite the path it is given with that of the module
    // whose icon it falls back on, so it gets a copy.
    wchar_t copy[kPathUnits];
    if (!CopyText(copy, path)) return IconHandle();
    WORD index = 0;
    return IconHandle(ExtractAssociatedIconW(Application.instance, copy, &index));
}

// IImageList's published identifier, which not every toolchain's uuid
// library carries.
const IID kImageListIid = {
    0x46eb5926, 0x582e, 0x4017, {0x9f, 0xdf, 0xe8, 0x99, 0x8d, 0xaa, 0x09, 0x50}};

// On a monitor of a larger scale than the system's, the list's icons are
// larger than what the shell gives by default: one of the shell's larger
// image lists holds a source that is only ever scaled down. Null when ours
// are no larger than the system's, or the shell has no such list.
ComPtr<IImageList> LargerSource(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy) || cx <= GetSystemMetrics(SM_CXICON)) return {};
    for (int which : {SHIL_EXTRALARGE, SHIL_JUMBO}) {
        // The system's lists belong to the shell; the reference is ours.
        ComPtr<IImageList> list;
        if (FAILED(SHGetImageList(which, kImageListIid, list.putVoid())) || !list) continue;
        int lx = 0, ly = 0;
        if (ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list.get()), &lx, &ly) && lx >= cx)
            return list;
    }
    return {};
}

} // namespace

ItemIcons::ItemIcons(HIMAGELIST images, int expected)
    : images_(images), small_(IsSmall(images)), wine_(RunningOnWine()),
      larger_(LargerSource(images)) {
    ImageList_SetImageCount(images_, expected > 0 ? static_cast<UINT>(expected) : 0);
}

ItemIcons::~ItemIcons() {
    Finish();
}

bool ItemIcons::Add(HICON icon) {
    int index = added_++;
    // Past the expected count the list grows; below it the slot exists.
    int slot = index < ImageList_GetImageCount(images_) ? index : -1;
    if (icon && ImageList_ReplaceIcon(images_, slot, icon) >= 0) return true;
    if (!blank_) blank_ = BlankIcon(images_);
    if (blank_ && ImageList_ReplaceIcon(images_, slot, blank_.get()) >= 0) return false;
    // Out of GDI resources: a slot of whatever the list holds still keeps
    // the later images in step with their items.
    if (slot < 0) ImageList_SetImageCount(images_, static_cast<UINT>(index + 1));
    return false;
}

bool ItemIcons::AddCopyOf(int image) {
    if (image < 0 || added_ >= ImageList_GetImageCount(images_)) return false;
    if (!ImageList_Copy(images_, added_, images_, image, ILCF_MOVE)) return false;
    ++added_;
    return true;
}

void ItemIcons::AddFor(const wchar_t* path) {
    // Shortcuts keep their own way below, which marks them as shortcuts.
    SHFILEINFOW info = {};
    if (larger_ && !HasShortcutExtension(path) &&
        SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX)) {
        auto source = reinterpret_cast<HIMAGELIST>(larger_.get());
        if (IconHandle icon{ImageList_GetIcon(source, info.iIcon, ILD_NORMAL)}) {
            Add(icon.get());
            return;
        }
    }
    IconHandle icon = AssociatedIcon(path);
    // Where no association has an icon, the shell falls back on icon
    // resources of this module, which it does not have: the shell's generic
    // icon for the kind of item stands in.
    if (!icon && HasShortcutExtension(path)) {
        icon = ShortcutIcon(path);
        // Wine's shell gives a shortcut its arrow on nothing at all: what
        // the shortcut points at goes beneath it.
        if (icon && wine_) {
            IconHandle target = TargetIcon(path);
            if (target && AddLayered(target.get(), icon.get())) return;
        }
    }
    if (icon) {
        Add(icon.get());
        return;
    }
    Generic* generic = GenericIcon(path);
    if (!generic) {
        Add(nullptr);
        return;
    }
    // Putting an icon in converts it to the list's format each time, which
    // costs far more than copying the image it became the first time.
    if (AddCopyOf(generic->image)) return;
    int image = added_;
    if (Add(generic->icon.get())) generic->image = image;
}

// By its name alone a shortcut would get the plain document icon; read, it
// gets its target's icon marked as a shortcut. Shortcuts are few on a desk,
// so the slower call is affordable for them. The large icon is taken in
// every mode and scaled by the list: some shells give a small one without
// the shortcut's mark.
IconHandle ItemIcons::ShortcutIcon(const wchar_t* path) const {
    SHFILEINFOW info = {};
    UINT flags = SHGFI_ICON | SHGFI_LARGEICON;
    if (!SHGetFileInfoW(path, 0, &info, sizeof(info), flags)) return IconHandle();
    return IconHandle(info.hIcon);
}

IconHandle ItemIcons::TargetIcon(const wchar_t* shortcutPath) {
    ShortcutFile link;
    if (FAILED(link.Open())) return IconHandle();
    wchar_t target[kPathUnits] = L"";
    if (!link.ReadTarget(shortcutPath, target)) return IconHandle();
    wchar_t named[kPathUnits];
    int index = 0;
    if (link.IconLocation(named, &index)) {
        HICON large = nullptr, small = nullptr;
        ExtractIconExW(named, index, &large, &small, 1);
        IconHandle largeIcon(large), smallIcon(small);
        if (small_ && smallIcon) return smallIcon;
        if (largeIcon) return largeIcon;
        // A named icon that is gone: the target's stands in.
    }
    link.Close();
    if (target[0] == L'\0') return IconHandle();
    if (IconHandle icon = AssociatedIcon(target)) return icon;
    Generic* generic = GenericIcon(target);
    return generic ? IconHandle(CopyIcon(generic->icon.get())) : IconHandle();
}

// The list keeps its images flat on its background colour, so two icons
// drawn one over the other on that colour are an image like any other.
bool ItemIcons::AddLayered(HICON base, HICON top) {
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images_, &cx, &cy) || cx <= 0 || cy <= 0) return false;
    COLORREF background = ImageList_GetBkColor(images_);
    if (background == CLR_NONE) background = GetSysColor(COLOR_WINDOW);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    GdiObject brush(CreateSolidBrush(background));
    if (!dc || !bitmap || !brush) return false;
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    RECT all = {0, 0, cx, cy};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
    bool drawn = DrawIconEx(dc.get(), 0, 0, base, cx, cy, 0, nullptr, DI_NORMAL) &&
                 DrawIconEx(dc.get(), 0, 0, top, cx, cy, 0, nullptr, DI_NORMAL);
    // The list copies from the bitmap only once no other DC holds it.
    SelectObject(dc.get(), old);
    if (!drawn) return false;
    auto image = static_cast<HBITMAP>(bitmap.get());
    bool stored = added_ < ImageList_GetImageCount(images_)
                      ? ImageList_Replace(images_, added_, image, nullptr)
                      : ImageList_Add(images_, image, nullptr) >= 0;
    if (stored) ++added_;
    return stored;
}

ItemIcons::Generic* ItemIcons::GenericIcon(const wchar_t* path) {
    if (path[0] == L'\0') return nullptr;
    DWORD found = GetFileAttributesW(path);
    DWORD attributes = found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY)
                           ? FILE_ATTRIBUTE_DIRECTORY
                           : FILE_ATTRIBUTE_NORMAL;
    // By name and attributes only: the system image list's index comes back
    // without the file being opened, far cheaper than asking for the icon.
    SHFILEINFOW info = {};
    UINT flags =
        SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | (small_ ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    auto system =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(path, attributes, &info, sizeof(info), flags));
    if (!system) return nullptr;
    for (Generic& generic : generic_)
        if (generic.system == info.iIcon) return generic.icon ? &generic : nullptr;
    // The system image list belongs to the shell and is never destroyed here.
    generic_.push_back(
        {info.iIcon, IconHandle(ImageList_GetIcon(system, info.iIcon, ILD_NORMAL)), -1});
    return generic_.back().icon ? &generic_.back() : nullptr;
}

void ItemIcons::Finish() {
    if (ImageList_GetImageCount(images_) != added_)
        ImageList_SetImageCount(images_, static_cast<UINT>(added_));
}
