#include <windows.h>

#include "app/appstate.h"
#include "app/application.h"
#include "app/handles.h"
#include "desk/itemrules.h"
#include "lang/texts.h"

namespace {

bool CreateItem(const wchar_t* path, bool file) {
    if (!file) return CreateDirectoryW(path, nullptr) != FALSE;
    FileHandle created(
        CreateFileW(path, 0, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(created);
}

} // namespace

void AppState::CreateNewItem(bool file) {
    // Without a desk folder there is nowhere to make it.
    if (deskpath[0] == L'\0') return;
    const wchar_t* base = MessageText(file ? kMessageNewFile : kMessageNewFolder);
    if (!base) base = L"";
    for (unsigned n = 0; n < kNewItemCandidates; ++n) {
        // A name that does not fit, or that a translated base name would
        // carry out of the desk folder, is passed over like a taken one.
        wchar_t name[kPathUnits];
        wchar_t path[kPathUnits];
        if (!NewItemName(base, n, file, name, kPathUnits) || !IsPlainFileName(name) ||
            !JoinPath(path, deskpath, name))
            continue;
        if (!CreateItem(path, file)) continue;
        namebox.FollowUp(name, true, deskpath, fill.FillsBegun());
        return;
    }
    const wchar_t* message = MessageText(kMessageCreateFailed);
    ShowMessage(message ? message : L"", MB_OK | MB_ICONEXCLAMATION);
}
