#pragma once

#include <windows.h>

// The main window may not be dragged narrower than one icon cell.
void OnGetMinMaxInfo(MINMAXINFO* info);
