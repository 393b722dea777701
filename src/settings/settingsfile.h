#pragma once
// The settings file's description: every key with its type and the field of
// a Settings record it is read into and written from.

#include "app/text.h"
#include "settings/inifile.h"
#include "settings/settings.h"

// The nine sections of the settings file, built afresh from the fields for
// every load and save, so both use exactly the same keys, types and order.
struct SettingsLayout {
    wchar_t comment[kPathUnits]; // the ";" line: written from the constant, read and dropped
    // Every section's keys one after another, each run closed by an end entry.
    IniEntry entries[64];
    IniSection sections[9];
};

// Fills the layout with the keys of s, each pointing at its field.
void DescribeSettings(Settings& s, SettingsLayout& layout);
