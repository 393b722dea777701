#pragma once
// The icons of the desk list: image i of the image list is the icon of item
// i, so every item adds exactly one image, in item order.

#include <windows.h>
#include <commctrl.h>
#include <commoncontrols.h>

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
    // True when icon itself went in.
    bool Add(HICON icon);
    // Leaves exactly as many images as were added.
    void Finish();

  private:
    struct Generic {
        int system;      // index in the system image list
        IconHandle icon; // taken from there
        int image;       // the first of our images that holds it; -1 none yet
    };

    IconHandle ShortcutIcon(const wchar_t* path) const;
    // What a shortcut points at, pictured: the icon it names for itself,
    // else its target's as for any item; null when it cannot be read.
    IconHandle TargetIcon(const wchar_t* shortcutPath);
    // The next image: top drawn over base; false when it cannot be made.
    bool AddLayered(HICON base, HICON top);
    // Owned by this object, valid until it ends; null when the shell has none.
    Generic* GenericIcon(const wchar_t* path);
    // The next image as a copy of an image already added.
    bool AddCopyOf(int image);

    HIMAGELIST images_;
    bool small_; // which of the system's image lists matches ours
    bool wine_;  // whose shell draws a shortcut's arrow alone
    // The shell's image list that serves icons larger than its usual ones,
    // when ours are; asked for once per fill.
    ComPtr<IImageList> larger_;
    int added_ = 0;
    IconHandle blank_; // made once, on first need
    // The system image list's icons taken so far: a desk holds few kinds of
    // item, and each is fetched and drawn in once per fill, then copied.
    std::vector<Generic> generic_;
};
