#include <windows.h>

#include "app/appstate.h"
#include "app/application.h"
#include "app/placement.h"
#include "lang/texts.h"
#include "settings/inifile.h"
#include "settings/settingsfile.h"
#include "settings/commondialogs.h"

namespace {

constexpr wchar_t kComment[] =
    L"for portability, set convertlinks=TRUE, savefolder=FALSE, and use relative paths eg. "
    L"\\mydesk";

constexpr IniEntry kEnd = {nullptr, 0, nullptr};

} // namespace

void DescribeSettings(Settings& s, SettingsLayout& layout) {
    // Keys added after the first version are written only when they differ
    // from what a start without them uses.
    static const Settings defaults;
    CopyText(layout.comment, kComment);
    IniEntry tarvo[] = {{L"version", IniString, s.version}, kEnd};
    IniEntry portable[] = {{L";", IniString, layout.comment},
                           {L"convertlinks", IniBool, &s.convertlinks},
                           {L"savefolder", IniBool, &s.savefolder},
                           {L"folder", IniString, s.folder},
                           {L"filemanager", IniString, s.filemanager},
                           {L"arcmanager", IniString, s.arcmanager},
                           {L"cmdprocessor", IniString, s.cmdprocessor},
                           {L"textviewer", IniString, s.textviewer},
                           {L"imageviewer", IniString, s.imageviewer},
                           kEnd};
    IniEntry tweak[] = {{L"autorefresh latency (ms)", IniLong, &s.autorefreshlatency},
                        {L"trim memory (ms)", IniLong, &s.trimmemory},
                        kEnd};
    IniEntry look[] = {{L"colour", IniLong, &s.colour},
                       {L"text colour", IniLong, &s.textcolour},
                       {L"transparent", IniBool, &s.transparent},
                       {L"trayicon", IniBool, &s.trayicon},
                       {L"ontop", IniBool, &s.ontop},
                       {L"hotkey", IniString, s.hotkey, defaults.hotkey},
                       kEnd};
    IniEntry position[] = {{L"left", IniLong, &s.windowrect.left},
                           {L"top", IniLong, &s.windowrect.top},
                           {L"right", IniLong, &s.windowrect.right},
                           {L"bottom", IniLong, &s.windowrect.bottom},
                           kEnd};
    IniEntry desk[] = {{L"icon style", IniLong, &s.iconstyle},
                       {L"sort", IniLong, &s.sort},
                       {L"dirsfirst", IniBool, &s.dirsfirst},
                       {L"showhidden", IniBool, &s.showhidden},
                       {L"home", IniString, s.home},
                       {L"end", IniString, s.end},
                       {L"thumbnails", IniBool, &s.thumbnails, &defaults.thumbnails},
                       kEnd};
    IniEntry status[] = {{L"time", IniBool, &s.time}, {L"recycler", IniBool, &s.recycler}, kEnd};
    IniEntry settings[] = {{L"savesettings", IniBool, &s.savesettings}, kEnd};
    IniEntry menu[] = {{L"at cursor", IniBool, &s.atcursor}, kEnd};

    constexpr std::size_t kEntries =
        (sizeof tarvo + sizeof portable + sizeof tweak + sizeof look + sizeof position +
         sizeof desk + sizeof status + sizeof settings + sizeof menu) /
        sizeof(IniEntry);
    static_assert(kEntries <= sizeof layout.entries / sizeof(IniEntry));
    std::size_t used = 0;
    auto place = [&](const auto& from) {
        const IniEntry* first = layout.entries + used;
        for (const IniEntry& entry : from)
            layout.entries[used++] = entry;
        return first;
    };

    // The version is read into its 12-unit buffer; every other string is a path buffer.
    IniSection sections[] = {{L"[Ta'rvo]", place(tarvo), sizeof s.version / sizeof s.version[0]},
                             {L"[Portable]", place(portable), kPathUnits},
                             {L"[Tweak]", place(tweak), kPathUnits},
                             {L"[Tarvo]", place(look), kPathUnits},
                             {L"[Position]", place(position), kPathUnits},
                             {L"[Desk]", place(desk), kPathUnits},
                             {L"[Status]", place(status), kPathUnits},
                             {L"[Settings]", place(settings), kPathUnits},
                             {L"[Menu]", place(menu), kPathUnits}};
    for (std::size_t i = 0; i < sizeof sections / sizeof sections[0]; ++i)
        layout.sections[i] = sections[i];
}

namespace {

static_assert(sizeof(COLORREF) == 4 && sizeof(LONG) == 4 && sizeof(std::int32_t) == 4,
              "the settings read and write these fields as 32-bit Long values");

static_assert(sizeof(WINDOWPLACEMENT) == 44);

} // namespace

void AppState::LoadSettings() {
    // A program that cannot name its own folder runs on its defaults.
    if (inipath[0] == L'\0') return;
    SettingsLayout layout;
    DescribeSettings(*this, layout);
    // An empty string is written as "key=", and reads back empty: a tool the
    // user cleared stays cleared.
    ReadIniSections(inipath, layout.sections, 9, IniEmptyValue::EmptiesString);

    // The desk folder is the full path of what the file says: a relative text
    // against the current directory, "\mydesk" against the current drive's
    // root. An empty folder, or one whose full path would not fit, leaves the
    // desk folder as it was.
    wchar_t full[kPathUnits];
    DWORD length = GetFullPathNameW(folder, kPathUnits, full, nullptr);
    if (length > 0 && length < kPathUnits) CopyText(deskpath, full);
}

void AppState::SaveSettings() {
    if (inipath[0] == L'\0') return;
    CopyText(version, Application.version);
    // Without savefolder the text last read stays, so a relative or
    // hand-written folder survives the save unchanged. So does a folder that
    // was away at start-up (a USB stick, a network drive): the Desktop that
    // stands in for it must not replace it.
    if (savefolder && !desktopstandsin) CopyText(folder, deskpath);
    if (IsIconic(mainwindow) || IsZoomed(mainwindow)) RestoredRectangle(mainwindow, windowrect);

    SettingsLayout layout;
    DescribeSettings(*this, layout);
    // A save that cannot be made is lost without a word; the program goes on.
    SaveIniSections(inipath, layout.sections, 9);
}

bool AppState::ChooseSettingsFile() {
    wchar_t directory[kPathUnits];
    CopyText(directory, inipath);
    wchar_t fileName[kPathUnits] = L"";
    if (FileTitle(directory, fileName, kPathUnits) != 0) fileName[0] = L'\0';
    if (wchar_t* slash = wcsrchr(directory, L'\\')) *slash = L'\0';

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainwindow;
    dialog.lpstrFilter = L"INI File (*.ini)\0*.ini\0";
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kPathUnits;
    dialog.lpstrInitialDir = directory;
    dialog.lpstrTitle = MessageText(kMessageSaveSettings);
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    dialog.lpstrDefExt = L"ini";
    if (!ShowSaveDialog(&dialog)) return false;
    return CopyText(inipath, fileName);
}
