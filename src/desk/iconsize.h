#pragma once
// The one place that says how large the desk list's icons are.

#include <windows.h>

// The icon size for a list view mode (LVS_ICON, LVS_SMALLICON, LVS_LIST) at
// a display scale: the system's large icon in the icon view, its small icon
// in the other two.
SIZE DeskIconSize(LONG view, UINT dpi);
