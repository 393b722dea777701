#include "settings/commondialogs.h"

#include "app/handles.h"

namespace {

template <typename Function> Function DialogFunction(const char* name) {
    // Loaded once, from the system folder only, and kept: dialogs open again.
    static Library library(LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!library) return nullptr;
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(library.get(), name)));
}

} // namespace

BOOL ShowColourDialog(CHOOSECOLORW* choose) {
    auto show = DialogFunction<decltype(&ChooseColorW)>("ChooseColorW");
    return show && show(choose);
}

BOOL ShowOpenDialog(OPENFILENAMEW* dialog) {
    auto show = DialogFunction<decltype(&GetOpenFileNameW)>("GetOpenFileNameW");
    return show && show(dialog);
}

BOOL ShowSaveDialog(OPENFILENAMEW* dialog) {
    auto show = DialogFunction<decltype(&GetSaveFileNameW)>("GetSaveFileNameW");
    return show && show(dialog);
}

short FileTitle(const wchar_t* path, wchar_t* title, WORD capacity) {
    auto take = DialogFunction<decltype(&GetFileTitleW)>("GetFileTitleW");
    return take ? take(path, title, capacity) : -1;
}
