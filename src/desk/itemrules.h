#pragma once
// Decisions behind the item operations that need no window: how a tool
// command line is split, which names a new item may take, which edited
// names a rename accepts, and what opens in the file manager.

#include <windows.h>

#include <cstddef>

#include "app/text.h"

// A parameter buffer holds a tool's options (what follows its program in a
// 260-unit tool line), a blank and a quoted path of up to 259 units whose
// final backslash is doubled, and the terminator.
constexpr std::size_t kParameterUnits = 2 * kPathUnits + 4;

// The path in double quotes, with a final run of backslashes doubled: a
// program that reads its command line by the C runtime's rules takes "D:\\"
// as D:\ where "D:\" would give it D:". False, with out untouched, when the
// result does not fit capacity units.
bool QuotePath(const wchar_t* path, wchar_t* out, std::size_t capacity);

// A tool line split for ShellExecuteW.
struct ToolCall {
    wchar_t program[kPathUnits];
    wchar_t parameters[kParameterUnits];
};

// Splits a tool command line: the program ends at the blank of the first
// " -" (or, when there is none, of the first " /"); the parameters are the
// rest from the hyphen or slash, then, when a path is given, a blank and the
// quoted path. False when the program would be empty or a part does not fit.
bool SplitToolCommand(const wchar_t* tool, const wchar_t* path, ToolCall& call);

// The file name of candidate n (0 to 99) for a new item: the base name, then
// for n > 0 the number in two digits, then ".txt" for a file. False when it
// does not fit.
bool NewItemName(const wchar_t* base, unsigned n, bool file, wchar_t* name, std::size_t capacity);
constexpr unsigned kNewItemCandidates = 100;

// True for a name that stays inside the folder it is joined to and names a
// file there: not empty, not ending in a dot or blank, free of separators,
// drive colons and wildcards, and no device name such as "NUL" or "com1.txt".
bool IsPlainFileName(const wchar_t* name);

// True when the path is opened with the file manager: a folder, or a ".zip"
// file in any letter case. A desk item whose attributes cannot be read goes
// there too, to be reported; a shortcut's target only when it exists.
bool OpensInFileManager(const wchar_t* path, DWORD attributes, bool shortcutTarget);
