#pragma once
// The icons: the list's image list, the worker that makes the pictures, and
// which item shows which image. Most entries show their type's picture,
// one image for every file of the type; an entry with a picture of its own
// gets an image of its own once that picture is made, and shows its type's
// meanwhile. Only the window's thread touches the image list.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "desk/deskicons.h"
#include "desk/listicons.h"

class IconWorker;

class ItemIcons {
  public:
    // window hears of finished icons; list shows images.
    ItemIcons(HWND window, HWND list, SIZE size);
    ~ItemIcons();
    ItemIcons(const ItemIcons&) = delete;
    ItemIcons& operator=(const ItemIcons&) = delete;

    HIMAGELIST Images() const { return images; }
    // Items not showing their final picture yet.
    int Pending() const;
    // How many items have a picture of their own (made or to be made).
    int OwnPictures() const;
    // Where pictures come from from now on (the shell's, unless a test's).
    void UseSource(IconSourceFactory source);

    // A fill lists these entries. With keep, an unchanged entry keeps the
    // picture made for it, and each type its picture; thumbnails: picture
    // files show what they hold.
    void Begin(std::vector<ListedIcon> listed, bool keep, bool thumbnails);
    // The image the listed item shows now.
    int ImageOf(size_t index) const;
    // Draws the generic pictures the types wait with. The shell's calls
    // may let messages in.
    void DrawGenerics();
    // Hands what is still to make to the worker, the types whose generic
    // picture is drawn and the items in view first; folder: where the items
    // are listed from. Called as soon as a fill begins, the items' own
    // pictures are made while the list fills.
    void StartJob(const wchar_t* folder);
    // Puts finished pictures in place; a batch at a time.
    void Take();
    // Every picture made anew for the items as they are (another background,
    // say); the caller starts the job. names: the items' file names, or null
    // when they are the ones listed; thumbnails: picture files show what they
    // hold. The shell's calls may let messages in.
    void Reload(const std::vector<std::wstring>* names, bool thumbnails);
    size_t Listed() const { return listed_.size(); }
    // Nothing made is kept: every picture is made again by the next job.
    void Forget();
    // Sizes the images for the list's view; the images are gone.
    void Resize(SIZE size);
    // False when the worker did not end within boundMs; it is then left to
    // end by itself, with nothing of the program's.
    bool StopWorker(DWORD boundMs);
    // Whether the shell's icons can be asked for without waiting for the
    // worker to set them up.
    bool ShellReady() const;
    // The worker's thread, for a test to wait on.
    HANDLE WorkerThread() const;

  private:
    // One type's picture: its image, and whether it is drawn and made.
    struct TypeImage {
        std::wstring kind;
        std::wstring name; // an entry of the type, to ask the shell by
        bool folder = false;
        int image = -1;
        bool drawn = false; // holds the generic picture at least
        bool made = false;  // holds the type's own picture
    };
    // The type entry for an item, made as needed.
    int TypeOf(const ListedIcon& listed, std::vector<TypeImage>& types,
               std::unordered_map<std::wstring, int>& kinds);
    // An image of its own for one holder (an item or a type).
    int NewImage();
    // One holder less; an image none holds is free for the next.
    void FreeImage(int image);
    // The image no longer holds the picture its key told.
    void Unkey(int image);
    // The image list was emptied.
    void ForgetImages();
    void SetItemImage(int index, int image);
    SIZE IconSize() const;
    // Sorts out which items have pictures of their own and of which type
    // each is, keeping what old held for the same entries.
    void Plan(std::vector<ListedIcon>& listed, bool keep, bool thumbnails);

    HWND window_;
    HWND list_;
    HIMAGELIST images;
    std::unique_ptr<IconWorker> worker_;
    // Results of a job for an earlier listing carry an older number.
    unsigned generation_ = 0;
    std::vector<ListedIcon> listed_;
    // The types the listed items are of; no more than the desk holds.
    std::vector<TypeImage> types_;
    // Images no picture uses now, for the next to take.
    std::vector<int> free_;
    // Per image: how many items and types show it, and the key of the own
    // picture it holds (0: none to share).
    std::vector<int> holders_;
    std::vector<uint64_t> keys_;
    // Own pictures by what they look like: items alike (copies of one
    // program, shortcuts to one target) show one image.
    std::unordered_map<uint64_t, int> alike_;
    int used_ = 0; // images handed out so far, free ones included
    bool thumbnails_ = false;
    IconSourceFactory source_;
    // The generic icons at the list's size, taken on this thread.
    std::unique_ptr<IconSource> generics_;
};
