#pragma once
// The icons of the desk's items, made one file at a time. An IconMaker may
// live on any thread that has COM; what it makes is handed over as handles
// and put into the list's image list by the window's thread alone.

#include <windows.h>
#include <commctrl.h>
#include <commoncontrols.h>

#include <functional>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/handles.h"
#include "desk/thumbnails.h"
#include "shell/shortcutfile.h"

// One file's picture: its own icon, or an image drawn for it at the list's
// size on the list's background. Neither when its kind's generic icon is
// all there is.
struct MadeIcon {
    IconHandle icon;
    GdiObject image;
    bool any() const { return icon || image; }
};

// Where the desk's pictures come from: the shell, through IconMaker, or a
// stand-in a test gives. Made on the thread that uses it.
class IconSource {
  public:
    virtual ~IconSource() = default;
    // The picture of the file at path (260 units); empty when its kind's
    // generic icon is all there is.
    virtual MadeIcon Make(const wchar_t* path) = 0;
    // The generic icon for the kind of item path names, without touching the
    // disk; owned by the source, null when there is none.
    virtual HICON Generic(const wchar_t* path, bool folder) = 0;
    // What a file of path's type, or a plain folder, shows when it has no
    // picture of its own, by its name alone: the picture Make gives such a
    // file, else its generic icon, as the list shows it. Empty only when the
    // shell has neither.
    virtual MadeIcon TypePicture(const wchar_t* path, bool folder) = 0;
    // A picture file's content at the icon size on the background; empty
    // when it cannot be decoded.
    virtual MadeIcon Thumbnail(const wchar_t* path) = 0;
    // Whether TypePicture is always the generic icon at this size, so that
    // a type's generic picture, once drawn, is its final one.
    virtual bool TypesAreGeneric() const { return false; }
};

// Makes a source for icons of this size drawn on this background.
using IconSourceFactory = std::function<std::unique_ptr<IconSource>(SIZE, COLORREF)>;

class IconMaker : public IconSource {
  public:
    // size: the image list's icon size; background: the colour its images
    // are drawn on.
    IconMaker(SIZE size, COLORREF background);
    IconMaker(const IconMaker&) = delete;
    IconMaker& operator=(const IconMaker&) = delete;

    // The icon associated with the file at path (260 units); for a shortcut
    // what it points at, with its arrow.
    MadeIcon Make(const wchar_t* path) override;
    // The shell's generic icon for the kind of item path names (by its name
    // and whether it is a folder, without touching the disk); owned here,
    // null when the shell has none.
    HICON Generic(const wchar_t* path, bool folder) override;
    MadeIcon TypePicture(const wchar_t* path, bool folder) override;
    MadeIcon Thumbnail(const wchar_t* path) override;
    // Wine's shell gives a file its type's icon only as the generic one.
    bool TypesAreGeneric() const override { return wine_ && !larger_; }

  private:
    IconHandle ShortcutIcon(const wchar_t* path) const;
    // What a shortcut points at, pictured: the icon it names for itself,
    // else its target's as for any item; null when it cannot be read.
    IconHandle TargetIcon(const wchar_t* shortcutPath);
    // What a shortcut's picture depends on: its target and the icon it
    // names; empty when it cannot be read.
    std::wstring ShortcutKey(const wchar_t* shortcutPath);
    // top drawn over base; null when it cannot be made.
    GdiObject Layered(HICON base, HICON top) const;

    SIZE size_;
    COLORREF background_;
    bool small_; // which of the system's image lists matches ours
    bool wine_;  // whose shell draws a shortcut's arrow alone
    // The shell's image list that serves icons larger than its usual ones,
    // when ours are.
    ComPtr<IImageList> larger_;
    // The generic icons taken so far, by kind: a desk holds few kinds, and
    // most of them show one of the shell's few images.
    std::vector<std::pair<std::wstring, HICON>> generic_;
    std::vector<std::pair<int, IconHandle>> systemIcons_; // by system image
    // Wine pictures every shortcut to the same target with the same icon
    // alike: the picture is made once per pair and copied for the others.
    std::vector<std::pair<std::wstring, GdiObject>> shortcuts_;
    ShortcutFile links_;
    // Whether a shortcut the link object read had no associated icon.
    bool linksWithoutIcon_ = false;
    ThumbnailMaker thumbnails_;
};

// The kind of item a name stands for as the shell's generic icons tell them
// apart: folders, and files by their extension in any letter case.
std::wstring GenericKind(const wchar_t* name, bool folder);

// A fully transparent icon of this size: an item without any icon shows as
// empty space rather than as some other file's picture.
IconHandle BlankIcon(SIZE size);

// Puts made into slot of list (-1 appends); false when it holds nothing
// or the list would not take it.
bool PutIcon(HIMAGELIST list, int slot, const MadeIcon& made);

// What made looks like once put in a list of one size and background: two
// pictures with the same key are put in alike. Taken from their pixels and,
// for an icon, the resource the list may take a better-fitting image from.
// Zero when there is nothing to tell by.
uint64_t PictureKey(const MadeIcon& made);

// The shell's own pictures.
std::unique_ptr<IconSource> ShellIcons(SIZE size, COLORREF background);
