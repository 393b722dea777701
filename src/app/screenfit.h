#pragma once

#include <windows.h>

// The message tells of a change that may leave the window off the screen: a
// display added, removed or resized, a work area that changed, a resume.
bool IsScreenChange(UINT message, WPARAM wParam);
