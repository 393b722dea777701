#pragma once
// The icons of the desk list: image i of the image list is the icon of item
// i, so every item adds exactly one image, in item order.

#include <windows.h>
#include <commctrl.h>

#include "app/handles.h"

// Fills an image list in item order for one fill or reload. The list is
// sized for the expected count first: grown one image at a time, it would
// copy all its images again at every step.
class ItemIcons {
  public:
    ItemIcons(HIMAGELIST images, int expected);
    ~ItemIcons();
    ItemIcons(const ItemIcons&) = delete;
    ItemIcons& operator=(const ItemIcons&) = delete;

    // The next image: the shell's icon for the file at path (260 units; the
    // shell may overwrite it), or a blank placeholder when it has none.
    void AddFor(wchar_t* path);
    // icon, or the placeholder when icon is null or cannot be drawn in.
    void Add(HICON icon);
    // Leaves exactly as many images as were added.
    void Finish();

  private:
    HIMAGELIST images_;
    int added_ = 0;
    IconHandle blank_; // made once, on first need
};
