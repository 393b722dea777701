// Who may work on the desk list when. A fill, a refill and an icon reload
// each take the list whole and must never run inside one another: the
// shell's icon calls let messages sent from other threads in, and a refresh
// started there would rebuild the list under the running fill. A refresh
// that cannot run now is remembered and runs once the list is free.
#include <windows.h>

#include "app/appstate.h"
#include "resources/resource.h"

bool AppState::EditingLabel() const {
    return editwindow && IsWindow(editwindow);
}

bool AppState::ClaimList(bool rebuildsItems) {
    // Rebuilding the items would delete the one whose name is being typed.
    if (refreshing || (rebuildsItems && EditingLabel())) {
        refreshwanted = true;
        return false;
    }
    refreshing = true;
    return true;
}

void AppState::ReleaseList() {
    refreshing = false;
    ResumeWantedRefresh();
}

void AppState::ResumeWantedRefresh() {
    // Posted rather than run here: the caller may be inside the list's own
    // notification, or deep in a fill that is only now unwinding.
    if (refreshwanted && !refreshing && !EditingLabel())
        PostMessageW(mainwindow, WM_REFRESHWANTED, 0, 0);
}

void AppState::RunWantedRefresh() {
    // Several posts may stand for one wish; the first one fulfils it.
    if (refreshwanted) OnFolderChanged();
}

void AppState::OnFolderChanged() {
    if (refreshing || EditingLabel()) {
        refreshwanted = true;
        return;
    }
    refreshwanted = false;
    // The follow-ups run once the last item is in.
    Refill(true, true);
}
