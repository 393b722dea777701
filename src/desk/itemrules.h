#pragma once
// Decisions behind the item operations that need no window: how a tool
// command line is split, which names a new item may take, which edited
// names a rename accepts, and what opens in the file manager.

#include <windows.h>

#include <cstddef>

// Splits a tool command line for ShellExecuteW: the program ends at the blank
// of the first " -" (or, when there is none, of the first " /"); the
// parameters are the rest from the hyphen or slash, a blank and the quoted
// item path. False when the tool is empty or a part does not fit.
bool SplitToolCommand(const wchar_t* tool, const wchar_t* itemPath, wchar_t* program,
                      wchar_t* parameters, std::size_t capacity);

// The file name of candidate n (0 to 99) for a new item: the base name, then
// for n > 0 the number in two digits, then ".txt" for a file. False when it
// does not fit.
bool NewItemName(const wchar_t* base, unsigned n, bool file, wchar_t* name, std::size_t capacity);
constexpr unsigned kNewItemCandidates = 100;

// True for a name that stays inside the folder it is joined to and names a
// file there: not empty, not ending in a dot or blank, free of separators,
// drive colons and wildcards, and no device name such as "NUL" or "com1.txt".
bool IsPlainFileName(const wchar_t* name);

// True when the path is opened with the file manager: an existing folder, or
// a ".zip" file in any letter case.
bool OpensInFileManager(const wchar_t* path, DWORD attributes);
