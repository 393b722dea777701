// Who may rebuild the desk list when. A fill and the steps of work that
// let messages in (the shell's icon calls, above all) never run inside one
// another: a refresh started inside one would rebuild the list under it.
// A refresh that cannot run now waits, and runs once the list is free.
#include <windows.h>

#include "app/appstate.h"
#include "resources/resource.h"

void AppState::RefreshDeskList(bool reread) {
    // A close that waits wins: nothing new begins.
    if (closegate.Waiting()) return;
    // Rebuilding the items would delete the one whose name is being typed;
    // the end of the edit asks for the refresh.
    if (fill.Busy() || namebox.Open()) {
        fill.Want(reread);
        return;
    }
    Refill(reread);
}

void AppState::OnFolderChanged() {
    RefreshDeskList(false);
}

void AppState::ResumeWantedRefresh() {
    if (!namebox.Open()) fill.Resume();
}

void AppState::RunWantedRefresh() {
    // Several posts may stand for one wish; the first one fulfils it. One
    // that finds the list taken again stays for the next release.
    if (closegate.Waiting()) {
        fill.DropWanted();
        return;
    }
    if (fill.Busy() || namebox.Open()) return;
    if (std::optional<bool> reread = fill.TakeWanted()) Refill(*reread);
}
