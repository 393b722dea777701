#include <windows.h>
#include <commctrl.h>

#include "app/appstate.h"

namespace {

int NextItem(HWND list, int from, UINT flags) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(from), flags));
}

} // namespace

std::vector<int> AppState::SelectedItems() {
    std::vector<int> items;
    for (int i = NextItem(desklist, -1, LVNI_SELECTED); i != -1;
         i = NextItem(desklist, i, LVNI_SELECTED)) {
        // A list view that reports an index at or before the last one would
        // otherwise keep this loop going for ever.
        if (!items.empty() && i <= items.back()) break;
        items.push_back(i);
    }
    return items;
}

std::vector<int> AppState::TargetItems() {
    std::vector<int> items = SelectedItems();
    if (items.empty()) {
        int focused = NextItem(desklist, -1, LVNI_FOCUSED);
        if (focused != -1) items.push_back(focused);
    }
    return items;
}

std::vector<std::pair<std::wstring, bool>> AppState::TargetFiles() {
    // Taken whole before anything acts on them: an item that shows a message
    // box lets a refresh renumber the list while the box is up.
    std::vector<std::pair<std::wstring, bool>> files;
    for (int index : TargetItems()) {
        wchar_t path[kPathUnits];
        bool shortcut = ItemPath(index, path);
        if (path[0]) files.emplace_back(path, shortcut);
    }
    return files;
}

int AppState::FirstSelectedItem() {
    return NextItem(desklist, -1, LVNI_SELECTED);
}
