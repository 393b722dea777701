#pragma once
// Where the main window goes: the arithmetic as plain functions of the
// rectangles involved, so it can be checked without a window.

#include <windows.h>

// A saved window rectangle pulled onto the given monitor rectangle. A
// rectangle smaller than the minimum tracking size becomes 100 pixels in
// that direction; one sticking out more than 10 pixels past an edge rests
// on that edge instead. The bottom and right edges are tried first, so a
// rectangle larger than the monitor ends at its top-left corner.
RECT FitRectToMonitor(RECT saved, const RECT& monitor, SIZE minTrack);

// The rectangle pulled onto the monitor it lies on (or the nearest one that
// remains) by the rule above, with the system's minimum tracking size.
RECT FitToItsMonitor(const RECT& rect);

// The top-left corner of a window centred horizontally (CMD_CENTER_HORIZ)
// or vertically (CMD_CENTER_VERT) on its monitor. Only the work area's right
// and bottom edges count, measured from the monitor's origin; any other
// command leaves the window where it is.
POINT CentredPosition(const RECT& window, const RECT& workArea, const RECT& monitor, int command);

// The restored rectangle of a minimised or maximised window, in screen
// coordinates.
bool RestoredRectangle(HWND window, RECT& rect);
