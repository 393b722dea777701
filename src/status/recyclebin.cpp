#include <windows.h>
#include <shellapi.h>

#include "app/appstate.h"
#include "resources/resource.h"

void AppState::UpdateRecycleStatus() {
    if (!recycler) {
        KillTimer(mainwindow, TIMER_RECYCLER);
        return;
    }
    SetTimer(mainwindow, TIMER_RECYCLER, static_cast<UINT>(recyclerpoll), nullptr);
    // A failed query leaves the last counts in place, so nothing changes.
    SHQueryRecycleBinW(L"", &recyclebininfo);
    if (recyclebininfo.i64NumItems == recyclecount) return;
    // Only a change in the number of items can switch a recycle bin's icon
    // between empty and full; reloading the icons is the costly part.
    recyclecount = recyclebininfo.i64NumItems;
    ReloadIcons();
    InvalidateRect(mainwindow, nullptr, TRUE);
}
