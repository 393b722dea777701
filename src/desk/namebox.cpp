#include "desk/namebox.h"

#include <utility>

bool NameBox::Source(const wchar_t* source) {
    commitedit = false;
    editwindow = nullptr;
    return CopyText(editpath, source) && editpath[0] != L'\0';
}

void NameBox::Close(bool commit) {
    commitedit = commit;
    if (editwindow) SendMessageW(editwindow, WM_CLOSE, 0, 0);
}

bool NameBox::Ended() {
    editwindow = nullptr;
    return std::exchange(commitedit, false);
}

void NameBox::FollowUp(const wchar_t* name, bool edit, const wchar_t* folder, unsigned fillsBegun) {
    if (!CopyText(findname, name) || !CopyText(followfolder, folder)) {
        editafterrefresh = selectafterrefresh = false;
        return;
    }
    editafterrefresh = edit;
    selectafterrefresh = !edit;
    followafter = fillsBegun;
}

NameBox::Due NameBox::TakeFollowUp(const wchar_t* folder, unsigned fillsBegun) {
    if (!FollowUpWaiting()) return {};
    // A fill begun before the follow-up was made may not hold the item yet.
    if (static_cast<int>(fillsBegun - followafter) <= 0) return {};
    Due due;
    if (CompareStringOrdinal(folder, -1, followfolder, -1, TRUE) == CSTR_EQUAL)
        due = {findname, editafterrefresh};
    editafterrefresh = selectafterrefresh = false;
    return due;
}
