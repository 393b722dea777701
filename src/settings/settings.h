#pragma once
// Everything the settings file keeps, each with the value a start without a
// file uses. A new setting is one member here and one entry in the file's
// description.

#include <windows.h>

#include <cstdint>

#include "app/text.h"

// The tools a command line is kept for.
enum class ToolKind : std::int32_t {
    FileManager,
    ArchiveManager,
    CommandProcessor,
    TextViewer,
    ImageViewer,
};

struct Settings {
    RECT windowrect = {}; // the window's default rectangle stands in at start-up
    COLORREF colour = GetSysColor(COLOR_BACKGROUND);
    COLORREF textcolour = GetSysColor(COLOR_INFOTEXT);
    wchar_t version[12] = L"";
    wchar_t folder[kPathUnits] = L"";
    wchar_t home[kPathUnits] = L"";
    wchar_t end[kPathUnits] = L"";
    wchar_t filemanager[kPathUnits] = L"explorer.exe";
    wchar_t arcmanager[kPathUnits] = L"";
    wchar_t cmdprocessor[kPathUnits] = L"cmd.exe";
    wchar_t textviewer[kPathUnits] = L"notepad.exe";
    wchar_t imageviewer[kPathUnits] = L"";
    bool convertlinks = false;
    bool transparent = false;
    bool trayicon = false;
    bool ontop = false;
    // The system-wide key that brings the window up or puts it away, such as
    // "Ctrl+Alt+D"; empty for none.
    wchar_t hotkey[kPathUnits] = L"";
    std::int32_t iconstyle = 0;
    std::int32_t sort = 1;
    bool dirsfirst = true;
    bool showhidden = false;
    bool thumbnails = true; // pictures show their content in the large-icon view
    std::int32_t trimmemory = 10000;
    bool time = false;
    bool recycler = true;
    bool savesettings = true;
    bool savefolder = true;
    bool atcursor = true;
    std::int32_t autorefreshlatency = 200;
};
