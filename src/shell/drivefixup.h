#pragma once
// The drive-letter fix-up of shortcuts on a desk carried on a removable
// drive: once per start, targets on another drive letter that are gone are
// moved to the letter the desk folder has now, where they are found.

// Whether this start converts: the program runs from a drive other than C
// and the desk folder is on that same drive. Both paths must begin with a
// drive letter and a colon; a UNC or other path never arms it.
bool DriveFixUpApplies(const wchar_t* programPath, const wchar_t* deskPath);

// The target with its drive letter replaced by the desk folder's, into out
// (260 units), when the shortcut has lost its way: the target is missing and
// the same path on the desk folder's drive exists. False when the target is
// to be left alone: it is on the desk folder's drive in either letter case,
// it does not begin with a drive letter and a colon (UNC, relative or
// empty), it fills the whole buffer and so may have been cut when it was
// read, it still exists, it has no twin on the desk folder's drive, or its
// drive may not answer at once.
bool RetargetedToDrive(const wchar_t* target, const wchar_t* deskPath, wchar_t* out);

// Reads one shortcut and writes it back with the new letter where
// RetargetedToDrive says so. A shortcut that cannot be loaded is never
// written. Returns whether the file was rewritten.
bool FixShortcutDrive(const wchar_t* shortcutPath, const wchar_t* deskPath);
