#include "app/appstate.h"

#include <cstring>

#include "app/application.h"
#include "app/dpi.h"
#include "app/program.h"
#include "desk/iconsize.h"
#include "resources/resource.h"
#include "status/folderwatcher.h"

static_assert(NOTIFYICONDATAW_V2_SIZE == kTrayIconDataSize);
static_assert(sizeof(SHQUERYRBINFO) == kRecycleBinInfoSize);

namespace {

SetLayeredWindowAttributesFn FindSetLayered() {
    // user32 is loaded in every GUI process, so its handle need not be kept.
    HMODULE user32 = GetModuleHandleW(L"user32");
    if (!user32) return nullptr;
    FARPROC proc = GetProcAddress(user32, "SetLayeredWindowAttributes");
    return reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void (*)()>(proc));
}

HWND CreateDeskList(HWND window) {
    InitCommonControls();
    return CreateWindowExW(0, WC_LISTVIEWW, L"Desktop",
                           WS_CHILD | WS_VISIBLE | LVS_EDITLABELS | LVS_AUTOARRANGE, 0, 0, 0, 0,
                           window, nullptr, Application.instance, nullptr);
}

} // namespace

AppState::AppState(HWND window)
    : DropTarget(window), mainwindow(window), desklist(CreateDeskList(window)),
      fill(window, desklist), icons(window, desklist, DeskIconSize(LVS_ICON, WindowDpi(window))),
      closegate(window) {
    dpi = WindowDpi(window);
    stopevent = nullptr;

    for (COLORREF& custom : customcolours)
        custom = RGB(255, 255, 255);

    std::memset(&trayicondata, 0, sizeof trayicondata);
    std::memset(&recyclebininfo, 0, sizeof recyclebininfo);
    for (wchar_t* text : {titletext, clockpart, inipath, langpath, helppath, deskpath})
        text[0] = L'\0';

    convertpending = false;
    recyclerpoll = 2000;
    desktopstandsin = false;
    recyclecount = 0;
    menupinned = false;
    pinnedsubmenu = -1;

    // The main window is owned by the hidden owner window and would otherwise
    // have no taskbar button.
    SetWindowLongPtrW(mainwindow, GWL_EXSTYLE,
                      GetWindowLongPtrW(mainwindow, GWL_EXSTYLE) | WS_EX_APPWINDOW);

    trayicondata.cbSize = kTrayIconDataSize;
    trayicondata.hWnd = mainwindow;
    trayicondata.uID = 0;
    trayicondata.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayicondata.uCallbackMessage = WM_TRAYICON;
    trayicondata.hIcon = LoadIconW(Application.instance, MAKEINTRESOURCEW(IDI_TARVO));
    CopyTruncated(trayicondata.szTip, Application.caption);
    recyclebininfo.cbSize = kRecycleBinInfoSize;

    setlayered = FindSetLayered();

    SendMessageW(desklist, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
    ApplyListFont();
}

// The shutdown ran before: the window's destruction saves first and then
// waits for the threads, and frees the record only once they have ended.
AppState::~AppState() {
    // The list outlives this record by a moment and must not draw with a
    // font that is gone.
    if (IsWindow(desklist)) SendMessageW(desklist, WM_SETFONT, 0, FALSE);
}

void AppState::FinishStartUp() {
    if (ole) return;
    ole.emplace();
    // A window that takes no drops still serves for everything else, so a
    // refusal here does not stop the start.
    RegisterDragDrop(mainwindow, this);
    SetDialogClassIcon(mainwindow);
}

void AppState::Shutdown() {
    // The settings first: what comes after may wait, and a log-off may not.
    // Unticking "Save on Exit" keeps the exit from writing; Save Now still writes.
    if (savesettings) SaveSettings();
    if (trayicon) Shell_NotifyIconW(NIM_DELETE, &trayicondata);
    deskkey.release();
    RevokeDragDrop(mainwindow);
    ole.reset();
    PostQuitMessage(0);
}

void AppState::StopThreads(DWORD boundMs) {
    // Neither thread uses anything of this record: one that does not end in
    // time is left to end by itself.
    StopFolderWatcher(boundMs);
    icons.StopWorker(boundMs);
}
