#include "desk/deskicons.h"

#include <shellapi.h>
#include <commoncontrols.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "app/application.h"
#include "app/text.h"
#include "desk/flatimage.h"
#include "desk/itemnames.h"
#include "shell/shortcutfile.h"
#include "shell/winefallback.h"

namespace {

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
ComPtr<IImageList> LargerSource(SIZE size) {
    if (size.cx <= GetSystemMetrics(SM_CXICON)) return {};
    for (int which : {SHIL_EXTRALARGE, SHIL_JUMBO}) {
        // The system's lists belong to the shell; the reference is ours.
        ComPtr<IImageList> list;
        if (FAILED(SHGetImageList(which, kImageListIid, list.putVoid())) || !list) continue;
        int lx = 0, ly = 0;
        if (ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list.get()), &lx, &ly) &&
            lx >= size.cx)
            return list;
    }
    return {};
}

GdiObject CopyBitmap(HGDIOBJ bitmap) {
    return GdiObject(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

constexpr size_t kMostShortcutPictures = 64;

} // namespace

IconHandle BlankIcon(SIZE size) {
    if (size.cx <= 0 || size.cy <= 0) return IconHandle();
    int stride = ((size.cx + 15) / 16) * 2; // monochrome rows are word-aligned
    std::vector<BYTE> andMask(static_cast<size_t>(stride) * size.cy, 0xFF);
    std::vector<BYTE> xorMask(static_cast<size_t>(stride) * size.cy, 0x00);
    return IconHandle(
        CreateIcon(Application.instance, size.cx, size.cy, 1, 1, andMask.data(), xorMask.data()));
}

std::wstring GenericKind(const wchar_t* name, bool folder) {
    if (folder) return L"\\";
    const wchar_t* dot = wcsrchr(name, L'.');
    const wchar_t* slash = wcsrchr(name, L'\\');
    std::wstring kind = dot && (!slash || dot > slash) ? dot : L"";
    for (wchar_t& unit : kind)
        unit = static_cast<wchar_t>(std::towlower(unit));
    return kind;
}

bool PutIcon(HIMAGELIST list, int slot, const MadeIcon& made) {
    if (made.icon) return ImageList_ReplaceIcon(list, slot, made.icon.get()) >= 0;
    if (!made.image) return false;
    auto image = static_cast<HBITMAP>(made.image.get());
    return slot >= 0 ? ImageList_Replace(list, slot, image, nullptr) != FALSE
                     : ImageList_Add(list, image, nullptr) >= 0;
}

namespace {

// 64-bit FNV-1a.
class KeyHash {
  public:
    void Add(const void* data, size_t bytes) {
        for (auto* byte = static_cast<const BYTE*>(data); bytes--; ++byte)
            value_ = (value_ ^ *byte) * 1099511628211ull;
    }
    // Never zero, which stands for no key.
    uint64_t Value() const { return value_ ? value_ : 1; }

  private:
    uint64_t value_ = 14695981039346656037ull;
};

// The bitmap's pixels: a section's rows as they are kept, any other as
// 32-bit rows.
bool AddBitmap(KeyHash& hash, HBITMAP bitmap) {
    DIBSECTION section = {};
    const BITMAP& shape = section.dsBm;
    int size = bitmap ? GetObjectW(bitmap, sizeof section, &section) : 0;
    if (size == 0) return false;
    // The pictures made here are sections: read where they are, without a
    // copy, once what was drawn into them is done.
    if (size == sizeof section && shape.bmBits && shape.bmBitsPixel >= 8) {
        GdiFlush();
        size_t row = static_cast<size_t>(shape.bmWidth) * (shape.bmBitsPixel / 8);
        hash.Add(&shape.bmWidth, sizeof shape.bmWidth);
        hash.Add(&shape.bmHeight, sizeof shape.bmHeight);
        hash.Add(&shape.bmBitsPixel, sizeof shape.bmBitsPixel);
        for (LONG y = 0; y < shape.bmHeight; ++y)
            hash.Add(static_cast<const BYTE*>(shape.bmBits) + y * shape.bmWidthBytes, row);
        return true;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = -shape.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
    MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc.get(), bitmap, 0, shape.bmHeight, pixels.data(), &info,
                         DIB_RGB_COLORS) != shape.bmHeight)
        return false;
    hash.Add(&shape.bmWidth, sizeof shape.bmWidth);
    hash.Add(&shape.bmHeight, sizeof shape.bmHeight);
    hash.Add(pixels.data(), pixels.size() * sizeof(DWORD));
    return true;
}

} // namespace

uint64_t PictureKey(const MadeIcon& made) {
    KeyHash hash;
    if (made.image) return AddBitmap(hash, static_cast<HBITMAP>(made.image.get())) ? hash.Value() : 0;
    ICONINFOEXW info = {};
    info.cbSize = sizeof info;
    if (!made.icon || !GetIconInfoExW(made.icon.get(), &info)) return 0;
    GdiObject color(info.hbmColor), mask(info.hbmMask);
    hash.Add(info.szModName, sizeof info.szModName);
    hash.Add(info.szResName, sizeof info.szResName);
    hash.Add(&info.wResID, sizeof info.wResID);
    hash.Add(&info.fIcon, sizeof info.fIcon);
    // An icon without colours is all mask.
    bool drawn = AddBitmap(hash, static_cast<HBITMAP>(mask.get())) &&
                 (!color || AddBitmap(hash, static_cast<HBITMAP>(color.get())));
    return drawn ? hash.Value() : 0;
}

IconMaker::IconMaker(SIZE size, COLORREF background)
    : size_(size), background_(background),
      // Whether the shell's small icons are large enough, so that its
      // generic icons are taken at the size they were drawn for.
      small_(size.cx <= GetSystemMetrics(SM_CXSMICON)), wine_(RunningOnWine()),
      larger_(LargerSource(size)) {}

MadeIcon IconMaker::Make(const wchar_t* path) {
    MadeIcon made;
    // No path, no icon: the shell would hand back this program's own.
    if (path[0] == L'\0') return made;
    // Shortcuts keep their own way below, which marks them as shortcuts.
    SHFILEINFOW info = {};
    if (larger_ && !HasShortcutExtension(path) &&
        SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX)) {
        auto source = reinterpret_cast<HIMAGELIST>(larger_.get());
        made.icon.reset(ImageList_GetIcon(source, info.iIcon, ILD_NORMAL));
        if (made.icon) return made;
    }
    bool shortcut = HasShortcutExtension(path);
    std::wstring key = shortcut && wine_ ? ShortcutKey(path) : std::wstring();
    // A file the link object reads is no icon container, so its associated
    // icon is the one of its type: once one such shortcut had none, none has.
    if (key.empty() || !linksWithoutIcon_) made.icon = AssociatedIcon(path);
    // Where no association has an icon, the shell falls back on icon
    // resources of this module, which it does not have: the generic icon
    // for the kind of item stands in, which the caller has.
    if (!made.icon && shortcut) {
        linksWithoutIcon_ = linksWithoutIcon_ || !key.empty();
        for (const auto& [known, image] : shortcuts_) {
            if (key.empty() || known != key) continue;
            made.image = CopyBitmap(image.get());
            break;
        }
        if (made.image) return made;
        made.icon = ShortcutIcon(path);
        // Wine's shell gives a shortcut its arrow on nothing at all: what
        // the shortcut points at goes beneath it.
        if (made.icon && wine_) {
            IconHandle target = TargetIcon(path);
            if (target) made.image = Layered(target.get(), made.icon.get());
            if (made.image) made.icon.reset();
            // A desk of many odd shortcuts does not make it grow without end.
            if (shortcuts_.size() >= kMostShortcutPictures) shortcuts_.clear();
            if (made.image && !key.empty())
                shortcuts_.emplace_back(std::move(key), CopyBitmap(made.image.get()));
        }
    }
    return made;
}

// By its name alone a shortcut would get the plain document icon; read, it
// gets its target's icon marked as a shortcut. The large icon is taken in
// every mode and scaled by the list: some shells give a small one without
// the shortcut's mark.
IconHandle IconMaker::ShortcutIcon(const wchar_t* path) const {
    SHFILEINFOW info = {};
    UINT flags = SHGFI_ICON | SHGFI_LARGEICON;
    if (!SHGetFileInfoW(path, 0, &info, sizeof(info), flags)) return IconHandle();
    return IconHandle(info.hIcon);
}

std::wstring IconMaker::ShortcutKey(const wchar_t* shortcutPath) {
    wchar_t target[kPathUnits] = L"", named[kPathUnits] = L"";
    int index = 0;
    // One link object reads every shortcut: each load replaces what it held.
    if (!links_.Opened() && FAILED(links_.Open())) return {};
    if (!links_.ReadTarget(shortcutPath, target) || target[0] == L'\0') return {};
    if (!links_.IconLocation(named, &index)) named[0] = L'\0';
    return std::wstring(target) + L'|' + named + L'|' + std::to_wstring(index);
}

IconHandle IconMaker::TargetIcon(const wchar_t* shortcutPath) {
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
    DWORD attributes = GetFileAttributesW(target);
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    HICON generic = Generic(target, folder);
    return generic ? IconHandle(CopyIcon(generic)) : IconHandle();
}

// The list keeps its images flat on its background colour, so two icons
// drawn one over the other on that colour are an image like any other.
GdiObject IconMaker::Layered(HICON base, HICON top) const {
    FlatImage image(size_, background_);
    bool drawn = image &&
                 DrawIconEx(image.dc(), 0, 0, base, size_.cx, size_.cy, 0, nullptr, DI_NORMAL) &&
                 DrawIconEx(image.dc(), 0, 0, top, size_.cx, size_.cy, 0, nullptr, DI_NORMAL);
    return drawn ? image.Finish() : GdiObject();
}

MadeIcon IconMaker::TypePicture(const wchar_t* path, bool folder) {
    MadeIcon made;
    if (path[0] == L'\0') return made;
    // As Make asks for a file without a picture of its own, by type alone.
    SHFILEINFOW info = {};
    DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (larger_ && !HasShortcutExtension(path) &&
        SHGetFileInfoW(path, attributes, &info, sizeof info,
                       SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES)) {
        auto source = reinterpret_cast<HIMAGELIST>(larger_.get());
        made.icon.reset(ImageList_GetIcon(source, info.iIcon, ILD_NORMAL));
        if (made.icon) return made;
    }
    // Windows gives such a file its type's icon at the shell's large size;
    // Wine's shell gives it none, and the list shows the generic icon.
    if (!wine_ && SHGetFileInfoW(path, attributes, &info, sizeof info,
                                 SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES)) {
        made.icon.reset(info.hIcon);
        if (made.icon) return made;
    }
    HICON generic = Generic(path, folder);
    if (generic) made.icon.reset(CopyIcon(generic));
    return made;
}

HICON IconMaker::Generic(const wchar_t* path, bool folder) {
    if (path[0] == L'\0') return nullptr;
    std::wstring kind = GenericKind(path, folder);
    for (const auto& [known, icon] : generic_)
        if (known == kind) return icon;
    // By name and attributes only: the system image list's index comes back
    // without the file being opened, far cheaper than asking for the icon.
    SHFILEINFOW info = {};
    UINT flags =
        SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | (small_ ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    DWORD attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    auto system =
        reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(path, attributes, &info, sizeof(info), flags));
    HICON icon = nullptr;
    if (system) {
        // Taking an icon out of the list costs far more than asking for its
        // index: kinds that show one system image share one icon.
        auto known = std::find_if(systemIcons_.begin(), systemIcons_.end(),
                                  [&](const auto& taken) { return taken.first == info.iIcon; });
        // The system image list belongs to the shell and is never destroyed here.
        if (known == systemIcons_.end())
            known = systemIcons_.emplace(
                systemIcons_.end(), info.iIcon,
                IconHandle(ImageList_GetIcon(system, info.iIcon, ILD_NORMAL)));
        icon = known->second.get();
    }
    generic_.emplace_back(std::move(kind), icon);
    return icon;
}

MadeIcon IconMaker::Thumbnail(const wchar_t* path) {
    MadeIcon made;
    made.image = thumbnails_.Make(path, size_, background_);
    return made;
}

std::unique_ptr<IconSource> ShellIcons(SIZE size, COLORREF background) {
    return std::make_unique<IconMaker>(size, background);
}
