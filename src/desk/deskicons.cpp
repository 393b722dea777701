#include "desk/deskicons.h"

#include <shellapi.h>

#include <vector>

#include "app/application.h"

namespace {

// A fully transparent icon of the list's size: an item without an icon of
// its own shows as empty space rather than as some other file's picture.
IconHandle BlankIcon(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(images, &cx, &cy) || cx <= 0 || cy <= 0) return IconHandle();
    int stride = ((cx + 15) / 16) * 2; // monochrome rows are word-aligned
    std::vector<BYTE> andMask(static_cast<size_t>(stride) * cy, 0xFF);
    std::vector<BYTE> xorMask(static_cast<size_t>(stride) * cy, 0x00);
    return IconHandle(CreateIcon(Application.instance, cx, cy, 1, 1, andMask.data(), xorMask.data()));
}

} // namespace

ItemIcons::ItemIcons(HIMAGELIST images, int expected) : images_(images) {
    ImageList_SetImageCount(images_, expected > 0 ? static_cast<UINT>(expected) : 0);
}

ItemIcons::~ItemIcons() { Finish(); }

void ItemIcons::Add(HICON icon) {
    int index = added_++;
    // Past the expected count the list grows; below it the slot exists.
    int slot = index < ImageList_GetImageCount(images_) ? index : -1;
    if (icon && ImageList_ReplaceIcon(images_, slot, icon) >= 0) return;
    if (!blank_) blank_ = BlankIcon(images_);
    if (blank_ && ImageList_ReplaceIcon(images_, slot, blank_.get()) >= 0) return;
    // Out of GDI resources: a slot of whatever the list holds still keeps
    // the later images in step with their items.
    if (slot < 0) ImageList_SetImageCount(images_, static_cast<UINT>(index + 1));
}

void ItemIcons::AddFor(wchar_t* path) {
    // Where no association gives an icon, the shell falls back on icon
    // resources of this module that the program does not have, and so
    // yields none: the placeholder stands in.
    WORD index = 0;
    IconHandle icon(ExtractAssociatedIconW(Application.instance, path, &index));
    Add(icon.get());
}

void ItemIcons::Finish() {
    if (ImageList_GetImageCount(images_) != added_)
        ImageList_SetImageCount(images_, static_cast<UINT>(added_));
}
