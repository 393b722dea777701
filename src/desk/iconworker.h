#pragma once
// The icon worker: one thread that makes the desk items' icons while the
// window's thread goes on. It is given what it needs by value, touches
// nothing of the program's state, and hands each finished icon back through
// its own queue, announced to the window with one posted message per batch.

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/handles.h"
#include "desk/deskicons.h"

struct IconTask {
    // The item the picture is for; below zero, the type -1 - index, whose
    // picture is made from the path's name alone.
    int index;
    std::wstring path;
    bool folder = false;
    bool picture = false; // shows what the picture file holds
};

// One fill's icons, in the order they are wanted. A newer job replaces it.
struct IconJob {
    unsigned generation = 0;
    SIZE size = {};
    COLORREF background = CLR_NONE;
    IconSourceFactory source; // made on the worker's thread
    std::vector<IconTask> tasks;
};

struct IconDone {
    unsigned generation;
    int index;
    MadeIcon made; // empty: the item keeps its kind's generic icon
    uint64_t key = 0; // what it looks like, as PictureKey tells
};

class IconWorker {
  public:
    // Posts `message` to window whenever finished icons wait to be taken.
    IconWorker(HWND window, UINT message);
    // Destroy only after Stop returned true: the thread uses the object.
    ~IconWorker();
    IconWorker(const IconWorker&) = delete;
    IconWorker& operator=(const IconWorker&) = delete;

    // Drops the job that runs, if any (the icon being made is finished and
    // handed back under its old generation), and starts this one.
    void Start(IconJob job);
    // At most `most` finished icons, oldest first; more says whether some wait still.
    std::vector<IconDone> TakeDone(size_t most, bool& more);
    HANDLE thread() const { return thread_.get(); }
    // Whether the shell has set up its icons, which the worker does first:
    // until then, a call for a shell icon on another thread waits for it.
    // The window hears of it through `message` once.
    bool Ready() const { return ready_ || !thread_; }
    // Ends the thread; false when it did not end within boundMs (0: asks it
    // to end and does not wait).
    bool Stop(DWORD boundMs);

  private:
    static unsigned __stdcall Run(void* self);
    void Work();
    // The next task of the newest job; false when there is none.
    bool NextTask(IconJob& current, size_t& next);

    HWND window_;
    UINT message_;
    CRITICAL_SECTION lock_;
    // Guarded by lock_.
    IconJob waiting_;
    bool hasWaiting_ = false;
    std::vector<IconDone> done_;
    KernelHandle wake_; // auto-reset: a job waits
    KernelHandle stop_; // manual-reset
    KernelHandle thread_;
    std::atomic<bool> ready_{false};
};
