#include "desk/deskicons.h"

#include <shellapi.h>

#include <vector>

#include "app/application.h"
#include "app/handles.h"

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

void AppendIcon(HIMAGELIST images, HICON icon) {
    int before = ImageList_GetImageCount(images);
    if (icon && ImageList_ReplaceIcon(images, -1, icon) >= 0) return;
    IconHandle blank = BlankIcon(images);
    if (blank && ImageList_ReplaceIcon(images, -1, blank.get()) >= 0) return;
    // Out of GDI resources: a slot of whatever the list holds still keeps
    // the later images in step with their items.
    ImageList_SetImageCount(images, before + 1);
}

void AppendItemIcon(HIMAGELIST images, wchar_t* path) {
    WORD index = 0;
    IconHandle icon(ExtractAssociatedIconW(Application.instance, path, &index));
    AppendIcon(images, icon.get());
}
