#include <windows.h>

#include <cwchar>

#include "app/appstate.h"
#include "app/application.h"
#include "app/text.h"
#include "lang/texts.h"
#include "resources/resource.h"
#include "settings/dialogs.h"
#include "settings/commondialogs.h"

namespace {

// The parameters of the tool dialog that is open; being modal, there is at
// most one.
ToolDialogParams* openTool = nullptr;
// What "..." last offered in the open dialog: the tool itself until a program
// is picked. The tool takes it only with OK, so Esc leaves the tool as it was.
wchar_t picked[kPathUnits];

// Each tool with its dialog caption and the setting that holds its command line.
struct ToolRow {
    ToolKind kind;
    DialogTextId caption;
    wchar_t (Settings::*value)[kPathUnits];
};
constexpr ToolRow kTools[] = {
    {ToolKind::FileManager, kDialogFileManager, &Settings::filemanager},
    {ToolKind::ArchiveManager, kDialogArchiveManager, &Settings::arcmanager},
    {ToolKind::CommandProcessor, kDialogCommandProcessor, &Settings::cmdprocessor},
    {ToolKind::TextViewer, kDialogTextViewer, &Settings::textviewer},
    {ToolKind::ImageViewer, kDialogImageViewer, &Settings::imageviewer},
};

const ToolRow* FindTool(ToolKind kind) {
    for (const ToolRow& row : kTools)
        if (row.kind == kind) return &row;
    return nullptr;
}

BOOL InitToolDialog(HWND dialog, ToolDialogParams* params) {
    openTool = params;
    CopyText(picked, params->value);
    if (const ToolRow* tool = FindTool(params->kind))
        SetWindowTextW(dialog, DialogText(tool->caption));
    SetDlgItemTextW(dialog, IDOK, DialogText(kDialogOk));
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
    if (ShowOpenDialog(&dialog)) CopyText(value, kPathUnits, file);
}

void AppState::ChooseTool(ToolKind kind) {
    const ToolRow* tool = FindTool(kind);
    if (!tool) return;
    wchar_t* value = this->*tool->value;
    ToolDialogParams params = {kind, value};
    DialogBoxParamW(Application.instance, MAKEINTRESOURCEW(IDD_TOOL), mainwindow, ToolDialog,
                    reinterpret_cast<LPARAM>(&params));
    openTool = nullptr;
}
