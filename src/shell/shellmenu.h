#pragma once
// The shell's context menu and named shell verbs for a list of full paths.

#include <windows.h>

#include "shell/shellobject.h"

// Shows the shell's context menu of the items at a screen point, owned by
// window, and carries out the chosen entry. Returns the chosen command id
// (1-30000), or 0 when nothing was chosen or no menu could be shown.
UINT ShowShellContextMenu(const PathList& paths, POINT point, HWND window);

// Carries out one canonical verb ("cut", "copy", "paste", "properties") on
// the items without a menu; what the shell shows for it belongs to owner.
// The shell's result, or E_FAIL when it offered no menu object for the items.
HRESULT InvokeShellVerb(const PathList& paths, const char* verb, HWND owner);
