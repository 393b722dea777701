#pragma once
// The shell's own objects (context menu, drop target, data object) for a
// list of full paths: the one way the program obtains them for files.

#include <windows.h>

#include <string>
#include <vector>

using PathList = std::vector<std::wstring>;

// The form the shell's file operations take: each path ends with a zero and
// the list with a second one.
std::wstring DoubleZeroPathList(const PathList& paths);

// How the items of a path list are named to the shell: relative to their
// common parent folder, or as full paths from the desktop folder.
struct ShellAddressing {
    bool fromdesktop = true;
    std::wstring parent;             // the common parent, ready to parse
    std::vector<std::wstring> names; // one per path, parsed by the addressing folder
};
ShellAddressing DecideAddressing(const PathList& paths);

// Asks the shell for the UI object iid of the listed items. True, with one
// reference in *object for the caller, only when the shell handed one back.
// What the object shows (a confirmation of a drop, say) belongs to owner.
bool GetShellObject(const PathList& paths, REFIID iid, void** object, HWND owner);
