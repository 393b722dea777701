#pragma once
// The icons: the list's image list, the worker that makes the items' own
// icons, and which item shows what. Each item shows its kind's generic icon
// until its own is made; only the window's thread touches the image list.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>
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
    // Items whose own icon is not in the image list yet.
    int Pending() const;
    // Where pictures come from from now on (the shell's, unless a test's).
    void UseSource(IconSourceFactory source);

    // A fill lists these entries. With keep, an unchanged entry keeps the
    // icon made for it; every other item waits with its kind's generic
    // image. Returns the image each item starts with.
    std::vector<int> Begin(std::vector<ListedIcon> listed, bool keep);
    // Draws the generic images the items wait with. The shell's calls may
    // let messages in.
    void DrawGenerics();
    // Hands the items still without their own icon to the worker, those in
    // view first; folder: where the items are listed from.
    void StartJob(const wchar_t* folder);
    // Puts finished icons in place; a batch at a time.
    void Take();
    // Every icon made anew for the items as they are (another size or
    // background); the caller starts the job. names: the items' file names,
    // or null when they are no longer the ones listed (an item was taken out). The
    // shell's calls for the generic images may let messages in.
    void Reload(const std::vector<std::wstring>* names);
    size_t Listed() const { return listed_.size(); }
    // The images are gone (another size): nothing made is kept.
    void Forget();
    // Sizes the images for the list's view; the caller reloads.
    void Resize(SIZE size);
    // False when the worker did not end within boundMs; it is then left to
    // end by itself, with nothing of the program's.
    bool StopWorker(DWORD boundMs);
    // The worker's thread, for a test to wait on.
    HANDLE WorkerThread() const;

  private:
    int GenericImage(int item);
    void SetItemImage(int index, int image);
    SIZE IconSize() const;

    HWND window_;
    HWND list_;
    HIMAGELIST images;
    std::unique_ptr<IconWorker> worker_;
    // Results of a job for an earlier listing carry an older number.
    unsigned generation_ = 0;
    // Item i's entry, and whether image i holds its own icon yet.
    std::vector<ListedIcon> listed_;
    // Where each kind's generic icon stands while items wait for theirs,
    // after the items' own images, and which item named the kind; dropped
    // once every icon is in.
    std::vector<std::pair<std::wstring, int>> generic_;
    size_t genericsdrawn_ = 0;
    IconSourceFactory source_;
    // The generic icons at the list's size, taken on this thread.
    std::unique_ptr<IconSource> generics_;
};
