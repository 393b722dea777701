#pragma once
// The icons of the desk list: image i of the image list is the icon of item
// i, so every item adds exactly one image, in item order.

#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

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

    // The next image: the icon associated with the file at path (260 units),
    // else the shell's generic icon for its kind of item, else a blank
    // placeholder.
    void AddFor(const wchar_t* path);
    // icon, or the placeholder when icon is null or cannot be drawn in.
    void Add(HICON icon);
    // Leaves exactly as many images as were added.
    void Finish();

  private:
    IconHandle ShortcutIcon(const wchar_t* path) const;
    // Owned by this object, valid until it ends.
    HICON GenericIcon(const wchar_t* path);

    HIMAGELIST images_;
    bool small_; // which of the system's image lists matches ours
    int added_ = 0;
    IconHandle blank_; // made once, on first need
    // The system image list's icons taken so far, by their index there: a
    // desk holds few kinds of item, and each is fetched once per fill.
    std::vector<std::pair<int, IconHandle>> generic_;
};
