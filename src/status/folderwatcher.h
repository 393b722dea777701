#pragma once
// The folder watcher: a thread that sleeps until a name in the desk folder
// changes, lets a burst of changes settle, and then asks the window's thread
// to rebuild the desk list. The refresh itself, its follow-ups and every
// field of the state stay on the window's thread.

#include <windows.h>

#include "app/handles.h"
#include "app/text.h"

// How long the window's thread waits for one of its threads to end: long
// enough to leave a refresh request, the latency wait or one icon.
constexpr DWORD kThreadStopBoundMs = 5000;

// A burst of changes has settled after this long without a new report.
constexpr DWORD kSettlingMs = 200;
// Only names are watched: files and folders created, deleted, renamed or
// moved in or out; not contents, sizes, times or attributes.
constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

// One watcher: its stop event, its change notification and its thread.
// Made and destroyed on the window's thread; its thread reads only what is
// fixed before it starts.
class FolderWatcher {
  public:
    FolderWatcher(HWND window, const wchar_t* folder, DWORD latencyMs);
    // Destroy only after Stop returned true: the thread uses the handles.
    ~FolderWatcher() = default;
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    HANDLE stopEvent() const { return stop_.get(); }
    HANDLE changeHandle() const { return change_.get(); }
    HANDLE thread() const { return thread_.get(); }

    // Sets the stop event and waits for the thread to end. A watcher may be
    // inside a synchronous send to this thread, so messages sent here are
    // handled during the wait; only the waiting itself counts against
    // boundMs. False when the bound ran out.
    bool Stop(DWORD boundMs);

  private:
    friend void RunFolderWatcher(const FolderWatcher& watcher);
    HWND window_;
    wchar_t folder_[kPathUnits];
    DWORD latency_;
    KernelHandle stop_;
    ChangeNotification change_;
    KernelHandle thread_;
};

// The watcher thread's body; returns once its stop event is set.
void RunFolderWatcher(const FolderWatcher& watcher);
