#include "desk/listmarks.h"

#include <windows.h>
#include <commctrl.h>

#include <unordered_set>

#include "app/appstate.h"

namespace {

// Upper case by the system's own table, the one file names are compared by.
std::wstring Folded(const std::wstring& name) {
    std::wstring folded = name;
    if (!folded.empty()) CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

void SetMark(HWND list, int index, UINT state, UINT mask) {
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

} // namespace

MarkedItems FindMarks(const ListMarks& marks, const std::vector<std::wstring>& names) {
    MarkedItems found;
    std::unordered_set<std::wstring> selected;
    for (const std::wstring& name : marks.selected)
        selected.insert(Folded(name));
    const std::wstring focused = Folded(marks.focused);
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::wstring name = Folded(names[i]);
        if (selected.count(name)) found.selected.push_back(i);
        if (found.focused == -1 && !focused.empty() && name == focused) found.focused = i;
    }
    if (found.focused == -1 && marks.focusedposition >= 0 &&
        marks.focusedposition < static_cast<int>(names.size()))
        found.focused = marks.focusedposition;
    return found;
}

bool AppState::ListsDeskFolder() const {
    return fill.Lists(deskpath);
}

ListMarks AppState::SaveListMarks() {
    ListMarks marks;
    // The marks of another folder's items mean nothing in a new one, not
    // even where the focus was: it starts with none.
    if (!ListsDeskFolder()) return marks;
    marks.focusedposition = static_cast<int>(SendMessageW(
        desklist, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    wchar_t name[kPathUnits];
    for (int index : SelectedItems()) {
        ItemFileName(index, name);
        marks.selected.push_back(name);
    }
    if (marks.focusedposition != -1) {
        ItemFileName(marks.focusedposition, name);
        marks.focused = name;
    }
    return marks;
}

void AppState::RestoreListMarks(const ListMarks& marks) {
    std::vector<std::wstring> names;
    // Only names are matched: with none to find, the list is not read.
    int count = static_cast<int>(SendMessageW(desklist, LVM_GETITEMCOUNT, 0, 0));
    if (!marks.selected.empty() || !marks.focused.empty()) {
        names.reserve(count);
        wchar_t name[kPathUnits];
        for (int i = 0; i < count; ++i) {
            ItemFileName(i, name);
            names.push_back(name);
        }
    } else {
        names.resize(count);
    }
    MarkedItems found = FindMarks(marks, names);
    for (int index : found.selected)
        SetMark(desklist, index, LVIS_SELECTED, LVIS_SELECTED);
    if (found.focused == -1) return;
    SetMark(desklist, found.focused, LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(desklist, LVM_SETSELECTIONMARK, 0, found.focused);
    SendMessageW(desklist, LVM_ENSUREVISIBLE, static_cast<WPARAM>(found.focused), FALSE);
}

void AppState::MarkOnly(int index) {
    SetMark(desklist, -1, 0, LVIS_SELECTED);
    SetMark(desklist, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(desklist, LVM_SETSELECTIONMARK, 0, index);
    SendMessageW(desklist, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}
