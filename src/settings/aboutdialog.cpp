#include <windows.h>
#include <shellapi.h>

#include "app/appstate.h"
#include "app/application.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/dialogs.h"

namespace {

BOOL InitAboutDialog(HWND dialog, LPARAM target) {
    SetWindowLongPtrW(dialog, DWLP_USER, target);
    SetDlgItemTextW(dialog, IDC_ABOUT_FREEWARE, DialogText(kDialogFreeware));
    SetDlgItemTextW(dialog, IDC_ABOUT_DONATIONS, DialogText(kDialogDonations));
    SetDlgItemTextW(dialog, IDC_ABOUT_LANGUAGE, DialogText(kDialogLanguage));
    SetDlgItemTextW(dialog, IDOK, DialogText(kDialogVisit));
    return TRUE;
}

// The button opens the help file and leaves the dialog open; only Esc and the
// close box end it.
BOOL OnAboutCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: {
        SetFocus(dialog);
        auto* target = reinterpret_cast<const wchar_t*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (target && *target)
            ShellExecuteW(dialog, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    }
    case IDCANCEL: EndDialog(dialog, 1); break;
    default: break;
    }
    return TRUE;
}

} // namespace

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return InitAboutDialog(dialog, lParam);
    case WM_COMMAND: return OnAboutCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
    default: return FALSE;
    }
}

void AppState::ShowAbout() {
    DialogBoxParamW(Application.instance, MAKEINTRESOURCEW(IDD_ABOUT), mainwindow, AboutDialog,
                    reinterpret_cast<LPARAM>(helppath));
}
