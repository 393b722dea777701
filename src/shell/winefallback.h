#pragma once
// Wine's shell pastes nothing with its "paste" verb and its folder drop
// targets report success while moving or copying nothing. Where the system
// is Wine, the program carries out those two transfers itself with
// SHFileOperationW; on Windows the shell's own objects do all of it.

#include <windows.h>
#include <ole2.h>

#include "shell/shellobject.h"

// True when ntdll is Wine's (it exports wine_get_version).
bool RunningOnWine();

// The effect of dropping files as the shell chooses it: Ctrl copies, Shift
// moves, Ctrl+Shift or Alt links, no key moves within one volume and copies
// across volumes. An effect the source does not allow gives
// DROPEFFECT_NONE, except that with no key the first allowed of copy, move
// and link is taken.
DWORD ChooseDropEffect(DWORD keys, DWORD allowed, bool sameVolume);

// The paths not directly inside folder (and not folder itself).
PathList OutsideFolder(const PathList& paths, const wchar_t* folder);

// The files of a CF_HDROP in the data object; empty when it holds none or
// when a name does not fit the path buffers.
PathList DroppedFiles(IDataObject* data);

// The name of the number-th copy of name beside it: "a - Copy.txt",
// "a - Copy (2).txt"; a folder's name keeps its dots.
std::wstring CopyName(const std::wstring& name, bool folder, int number);

// Copies or moves the files into folder with the shell's file operation,
// which shows its own progress and errors; with renameOnCollision a name
// already taken there becomes the first free copy name. True when the
// operation reports success.
bool TransferFiles(HWND owner, const PathList& files, const wchar_t* folder, bool move,
                   bool renameOnCollision);

// Pastes the clipboard's CF_HDROP files into folder, moving them when the
// clipboard says they were cut. False when there is nothing to paste or the
// transfer fails.
bool PasteClipboardFiles(HWND owner, const wchar_t* folder);

// Wine's "cut" verb leaves the clipboard looking like a copy: this marks
// its CF_HDROP as cut, unless the clipboard already says which it is.
bool MarkClipboardAsCut(HWND owner);

// What the program does itself with a drop of data onto folder under Wine.
struct WineDrop {
    bool applies = false; // false: the drop is left to the shell's target
    DWORD effect = DROPEFFECT_NONE;
    PathList files; // the files to transfer (those already in folder left out)
};
WineDrop PlanWineDrop(IDataObject* data, DWORD keys, DWORD allowed, const wchar_t* folder);
