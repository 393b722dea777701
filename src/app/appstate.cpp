#include "app/appstate.h"

#include <cstring>

#include "app/application.h"
#include "app/dpi.h"
#include "app/program.h"
#include "desk/deskfill.h"
#include "desk/deskicons.h"
#include "desk/iconsize.h"
#include "desk/iconworker.h"
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

} // namespace

AppState::AppState(HWND window) : DropTarget(window) {
    mainwindow = window;
    desklist = nullptr;
    editwindow = nullptr;
    images = nullptr;
    dpi = WindowDpi(window);
    watchhandle = nullptr;
    stopevent = nullptr;

    for (COLORREF& custom : customcolours) custom = RGB(255, 255, 255);

    std::memset(&trayicondata, 0, sizeof trayicondata);
    std::memset(&recyclebininfo, 0, sizeof recyclebininfo);
    for (wchar_t* text : {titletext, clockpart, inipath, langpath, helppath, deskpath, findname,
                          editpath, listedpath})
        text[0] = L'\0';

    convertpending = false;
    recyclerpoll = 2000;
    desktopstandsin = false;
    commitedit = false;
    editafterrefresh = false;
    selectafterrefresh = false;
    refreshing = false;
    refreshwanted = false;
    recyclecount = 0;
    menupinned = false;
    pinnedsubmenu = -1;

    // Started now, so that the shell readies its icons alongside the
    // window's own start.
    iconworker = std::make_unique<IconWorker>(mainwindow, WM_ICONSREADY);

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

    InitCommonControls();
    desklist = CreateWindowExW(0, WC_LISTVIEWW, L"Desktop",
                               WS_CHILD | WS_VISIBLE | LVS_EDITLABELS | LVS_AUTOARRANGE, 0, 0,
                               0, 0, mainwindow, nullptr, Application.instance, nullptr);
    SendMessageW(desklist, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
    ApplyListFont();
    SIZE icon = DeskIconSize(LVS_ICON, dpi);
    images = ImageList_Create(icon.cx, icon.cy, ILC_COLOR24, 0, 1);
    // Handed over without LVS_SHAREIMAGELISTS: the list destroys it.
    SendMessageW(desklist, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

AppState::~AppState() {
    StopFolderWatcher();
    Shutdown();
    // The list outlives this record by a moment and must not draw with a
    // font that is gone.
    if (IsWindow(desklist)) SendMessageW(desklist, WM_SETFONT, 0, FALSE);
}

void AppState::FinishStartUp() {
    if (startupfinished) return;
    startupfinished = true;
    ole.emplace();
    // A window that takes no drops still serves for everything else, so a
    // refusal here does not stop the start.
    RegisterDragDrop(mainwindow, this);
    SetDialogClassIcon(mainwindow);
}

void AppState::Shutdown() {
    StopIconWorker();
    // Unticking "Save on Exit" keeps the exit from writing; Save Now still writes.
    if (savesettings) SaveSettings();
    if (trayicon) Shell_NotifyIconW(NIM_DELETE, &trayicondata);
    deskkey.release();
    RevokeDragDrop(mainwindow);
    ole.reset();
    PostQuitMessage(0);
}
