#pragma once

#include <windows.h>

// The main window may not be dragged narrower than one icon cell at its scale.
void OnGetMinMaxInfo(HWND window, MINMAXINFO* info);

// A dialog of ours disables the window while the command that opened it
// waits in the dialog's loop; nothing may run under that command. True, with
// the dialog brought forward, while one is up.
bool BringUpDialogForward(HWND window);
