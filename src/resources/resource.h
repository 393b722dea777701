#pragma once
// Resource ids, shared by the resource script and the code.

#include "../commands/commandids.h"

#define IDI_TARVO 1000
#define IDR_COMMAND_MENU 1000
#define IDR_ACCELERATORS 1000
#define IDD_EMPTY 1000
#define IDD_ABOUT 101
#define IDD_TOOL 102

#define IDC_ABOUT_TITLE 201
#define IDC_TOOL_EDIT 202
#define IDC_TOOL_BROWSE 203
#define IDC_ABOUT_FREEWARE 204
#define IDC_ABOUT_DONATIONS 205
#define IDC_ABOUT_LANGUAGE 206

// Messages of the program's own.
#define WM_TRAYICON (WM_USER + 1)
#define WM_REOPENMENU (WM_USER + 3)
// Sent by the folder watcher's thread once a burst of changes has settled.
#define WM_FOLDERCHANGED (WM_APP + 1)
// Posted when the list is free again and a refresh had to wait for it.
#define WM_REFRESHWANTED (WM_APP + 2)
// The start-up fill of the desk list, once the window is up.
#define WM_STARTUPFILL (WM_APP + 3)
// The icon worker has finished icons to hand over.
#define WM_ICONSREADY (WM_APP + 4)
// The next slice of the fill under way, or its end.
#define WM_FILLSTEP (WM_APP + 5)
// What the start-up leaves for after the first fill: OLE, drops, the dialogs' icon.
#define WM_STARTUPDONE (WM_APP + 6)
// Asked from outside (a test, the benchmark): how many items wait for their
// picture, or -1 while a fill is under way.
#define WM_ICONSPENDING (WM_APP + 7)

// The main window's one system-wide key (WM_HOTKEY's id).
#define HOTKEY_DESK 1

// Timers of the main window.
#define TIMER_TRIM 1026
#define TIMER_CLOCK 1028
#define TIMER_RECYCLER 1029
