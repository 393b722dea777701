#include <windows.h>
#include <commdlg.h>

#include <cwchar>

#include "app/appstate.h"
#include "app/application.h"
#include "app/text.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/dialogs.h"

namespace {

// The parameters of the tool dialog that is open; being modal, there is at
// most one.
ToolDialogParams* openTool = nullptr;
// What "..." last offered in the open dialog: the tool itself until a program
// is picked. The tool takes it only with OK, so Esc leaves the tool as it was.
wchar_t picked[kPathUnits];

BOOL InitToolDialog(HWND dialog, ToolDialogParams* params) {
    openTool = params;
    CopyText(picked, params->value);
    if (params->kind >= 0 && params->kind <= 4) SetWindowTextW(dialog, DialogText(params->kind));
    SetDlgItemTextW(dialog, IDOK, DialogText(5));
    SetDlgItemTextW(dialog, IDC_TOOL_EDIT, params->value);
    return TRUE;
}

BOOL OnToolCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK:
        // WM_GETTEXT stops one short of the limit: at most 259 characters.
        SendDlgItemMessageW(dialog, IDC_TOOL_EDIT, WM_GETTEXT, kPathUnits,
                            reinterpret_cast<LPARAM>(openTool->value));
        EndDialog(dialog, 1);
        break;
    case IDCANCEL: EndDialog(dialog, 1); break;
    case IDC_TOOL_BROWSE:
        ChooseExecutable(picked);
        SetDlgItemTextW(dialog, IDC_TOOL_EDIT, picked);
        break;
    default: break;
    }
    return TRUE;
}

wchar_t* ToolValue(AppState& state, int kind) {
    switch (kind) {
    case 0: return state.filemanager;
    case 1: return state.arcmanager;
    case 2: return state.cmdprocessor;
    case 3: return state.textviewer;
    case 4: return state.imageviewer;
    default: return nullptr;
    }
}

} // namespace

INT_PTR CALLBACK ToolDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return InitToolDialog(dialog, reinterpret_cast<ToolDialogParams*>(lParam));
    case WM_COMMAND: return OnToolCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
    default: return FALSE;
    }
}

void CutToolOptions(wchar_t* commandLine) {
    wchar_t* cut = std::wcsstr(commandLine, L" -");
    if (!cut) cut = std::wcsstr(commandLine, L" /");
    if (cut) *cut = L'\0';
}

void ChooseExecutable(wchar_t* value) {
    wchar_t file[kPathUnits];
    CopyText(file, value); // both hold 260 units
    CutToolOptions(file);

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = L"EXE Files (*.exe)\0*.exe\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = kPathUnits;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    dialog.lpstrDefExt = L"exe";
    if (GetOpenFileNameW(&dialog)) CopyText(value, kPathUnits, file);
}

void AppState::ChooseTool(int kind) {
    wchar_t* value = ToolValue(*this, kind);
    if (!value) return;
    ToolDialogParams params = {kind, value};
    DialogBoxParamW(Application.instance, MAKEINTRESOURCEW(IDD_TOOL), mainwindow, ToolDialog,
                    reinterpret_cast<LPARAM>(&params));
    openTool = nullptr;
}
