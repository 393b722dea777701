#include <windows.h>
#include <shellapi.h>

#include "app/appstate.h"
#include "app/application.h"
#include "app/handles.h"
#include "app/programfiles.h"
#include "lang/texts.h"
#include "resources/resource.h"

void AppState::Initialise() {
    // The window's default rectangle stands in for a settings file without one.
    GetWindowRect(mainwindow, &windowrect);

    ReadConfiguration();

    if (deskpath[0] == L'\0') {
        UseDesktopFolder();
    } else if (IsFolderUnavailable(GetFileAttributesW(deskpath))) {
        ConcatTruncated(titletext, {deskpath, L" ", MessageText(kMessageUnavailable)});
        ShowMessage(titletext, MB_OK | MB_ICONEXCLAMATION);
        UseDesktopFolder();
        desktopstandsin = true;
    }

    // Title, clock or tray tip, and the watcher: as for any new desk folder.
    DeskFolderChanged();
    // The fill follows once the window is up: a large desk is inserted in
    // slices between the window's messages, which the window must take from
    // its first moment.
    PostMessageW(mainwindow, WM_STARTUPFILL, 0, 0);
}

void AppState::ReadConfiguration() {
    DWORD length = GetModuleFileNameW(nullptr, titletext, kPathUnits);
    if (length == 0 || length >= kPathUnits) titletext[0] = L'\0'; // cut short: not a path
    ProgramFiles files;
    LocateProgramFiles(titletext, files);
    CopyText(inipath, files.ini);
    CopyText(langpath, files.lang);
    CopyText(helppath, files.help);

    folder[0] = L'\0';
    LoadSettings();

    int count = 0;
    LocalMemory arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    wchar_t** argv = static_cast<wchar_t**>(arguments.get());
    for (int i = 1; argv && i < count; ++i) {
        switch (ClassifyArgument(argv[i])) {
        case ArgumentKind::Translate: WriteLanguageTemplate(langpath);
        case ArgumentKind::Switch: break;
        case ArgumentKind::Value: TakeArgument(argv[i]); break;
        }
    }

    ApplySettings();

    MenuHandle menu(LoadMenuW(Application.instance, MAKEINTRESOURCEW(IDR_COMMAND_MENU)));
    if (menu) CollectMenuTexts(GetSubMenu(menu.get(), 0));
    LoadLanguage(langpath);
}

void AppState::TakeArgument(wchar_t* text) {
    TrimTrailingBlanks(text);
    wchar_t full[kPathUnits];
    // An argument with no full path, or one too long for the buffers, is
    // ignored rather than used half-written.
    DWORD length = GetFullPathNameW(text, kPathUnits, full, nullptr);
    if (length == 0 || length >= kPathUnits) return;
    if (IsSettingsFilePath(full)) {
        CopyText(inipath, full);
        LoadSettings();
    } else {
        CopyText(deskpath, full);
    }
}
