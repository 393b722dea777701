#pragma once
// The system's colour and file dialogs. Their library is loaded when one
// first opens: it brings several others with it, which every start would
// otherwise wait for. Each answers FALSE, as a cancelled dialog does, when
// the library cannot be had.

#include <windows.h>
#include <commdlg.h>

BOOL ShowColourDialog(CHOOSECOLORW* choose);
BOOL ShowOpenDialog(OPENFILENAMEW* dialog);
BOOL ShowSaveDialog(OPENFILENAMEW* dialog);
// The file name part of path as the file dialogs show it; nonzero on failure.
short FileTitle(const wchar_t* path, wchar_t* title, WORD capacity);
