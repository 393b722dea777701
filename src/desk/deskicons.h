#pragma once
// The icons of the desk list: image i of the image list is the icon of item
// i, so every item adds exactly one image, in item order.

#include <windows.h>
#include <commctrl.h>

// Appends the shell's icon for the file at path (260 units; the shell may
// overwrite it), or a blank placeholder when no icon can be had.
void AppendItemIcon(HIMAGELIST images, wchar_t* path);

// Appends icon, or the placeholder when icon is null or cannot be added.
// The image count grows by exactly one.
void AppendIcon(HIMAGELIST images, HICON icon);
