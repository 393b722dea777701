#pragma once
// How a desk list item maps to its file: the label is the file name without
// a final ".lnk", and the item data says whether it was a shortcut.

// True when the name's part from its last '.' is ".lnk" in any letter case.
bool HasShortcutExtension(const wchar_t* name);

// The label for a file name: cut at the final ".lnk" of a shortcut. Returns
// whether the name is a shortcut.
bool ShortcutLabel(const wchar_t* fileName, wchar_t* label, unsigned capacity);

// The file name for a label: the label, and ".lnk" for a shortcut, always, so
// that "a.lnk.lnk" (labelled "a.lnk") is addressed as itself. False, with
// name emptied, when it does not fit.
bool ItemFileNameFromLabel(const wchar_t* label, bool shortcut, wchar_t* name, unsigned capacity);
