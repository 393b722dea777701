#include "status/folderwatcher.h"

#include <process.h>

#include <algorithm>

#include "app/appstate.h"
#include "resources/resource.h"

namespace {

unsigned __stdcall WatcherThread(void* watcher) {
    RunFolderWatcher(*static_cast<const FolderWatcher*>(watcher));
    return 0;
}

bool FolderExists(const wchar_t* folder) {
    DWORD attributes = GetFileAttributesW(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

FolderWatcher::FolderWatcher(HWND window, const wchar_t* folder, DWORD latencyMs)
    : window_(window), latency_(latencyMs), stop_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    // A folder that does not fit is not watched; the thread then only waits
    // for its stop event.
    if (CopyText(folder_, folder))
        change_.reset(FindFirstChangeNotificationW(folder_, FALSE, kWatchedChanges));
    else
        folder_[0] = L'\0';
    if (!stop_) return;
    // A handle to wait on at the stop, which _beginthread would not give.
    thread_.reset(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WatcherThread, this, 0, nullptr)));
}

bool FolderWatcher::Stop(DWORD boundMs) {
    if (!thread_) return true;
    SetEvent(stop_.get());
    // Only the waiting counts against the bound: a long refresh the thread
    // asked for, handled here, is no sign that it is stuck.
    DWORD waited = 0;
    for (;;) {
        HANDLE thread = thread_.get();
        DWORD before = GetTickCount();
        // Also for a sent message some earlier queue check has already seen.
        DWORD result = MsgWaitForMultipleObjectsEx(1, &thread, boundMs - waited, QS_SENDMESSAGE,
                                                   MWMO_INPUTAVAILABLE);
        waited += GetTickCount() - before;
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1 || waited >= boundMs) return false;
        // Peeking delivers the messages sent to this thread and takes nothing
        // from the queue.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void RunFolderWatcher(const FolderWatcher& watcher) {
    HANDLE stop = watcher.stop_.get();
    HANDLE change = watcher.change_.get();
    const HANDLE pair[2] = {stop, change};
    constexpr DWORD kStopped = WAIT_OBJECT_0;
    constexpr DWORD kChanged = WAIT_OBJECT_0 + 1;

    // Without a notification, or once the folder is gone, the waits would
    // return at once for ever; the watcher then only waits to be stopped.
    bool watching = change != INVALID_HANDLE_VALUE;
    while (watching) {
        DWORD result = WaitForMultipleObjects(2, pair, FALSE, INFINITE);
        if (result == kStopped) return;
        if (result != kChanged) break;

        // Settle: the burst ends with the first quiet 200 ms. The stop event
        // is part of every wait, so a stop is never swallowed here.
        do {
            watching = FindNextChangeNotification(change) && FolderExists(watcher.folder_);
            if (!watching) break;
            result = WaitForMultipleObjects(2, pair, FALSE, kSettlingMs);
        } while (result == kChanged);
        if (result == kStopped) return;
        if (watching && result != WAIT_TIMEOUT) break;

        if (WaitForSingleObject(stop, watcher.latency_) == WAIT_OBJECT_0) return;
        // The window's thread decides whether the refresh runs now or once
        // the list is free.
        SendMessageW(watcher.window_, WM_FOLDERCHANGED, 0, 0);
        // Not re-armed here: the settling left it armed, and a name made
        // while the list was being filled has signalled it since. Arming it
        // again would drop that change, and the list would miss the name
        // until the next one. At worst a change the refresh already saw
        // costs one more refresh.
    }
    WaitForSingleObject(stop, INFINITE);
}

void AppState::StartFolderWatcher() {
    StopFolderWatcher(kThreadStopBoundMs);
    watcher = std::make_unique<FolderWatcher>(mainwindow, deskpath,
                                              static_cast<DWORD>(std::max(autorefreshlatency, 0)));
    stopevent = watcher->stopEvent();
}

bool AppState::StopFolderWatcher(DWORD boundMs) {
    stopevent = nullptr;
    if (!watcher) return true;
    bool ended = watcher->Stop(boundMs);
    // One that did not end keeps its own handles, and nothing else: it is
    // left to end by itself, and the folder still gets a watcher of its own.
    if (ended)
        watcher.reset();
    else
        static_cast<void>(watcher.release());
    return ended;
}
