#include "app/mainwindow.h"

#include "app/application.h"
#include "app/appstate.h"
#include "app/screenfit.h"
#include "app/windowevents.h"
#include "commands/pins.h"
#include "status/folderwatcher.h"
#include "resources/resource.h"

namespace {

// Explorer announces a new taskbar (after it restarted) with this message.
UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void CreateAppState(HWND window) {
    // Run elevated, the program would otherwise not hear of a new taskbar.
    ChangeWindowMessageFilterEx(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    auto* state = new AppState(window);
    TheAppState = state;
    state->Initialise();
}

// The pointer is cleared first: no message that arrives during or after the
// shutdown may reach the record. The settings are saved before any wait.
void DestroyAppState() {
    AppState* state = TheAppState;
    TheAppState = nullptr;
    state->Shutdown();
    state->StopThreads(kThreadStopBoundMs);
    delete state;
}

// The session is ending, and the process with it: the settings are saved
// and the threads told to end, with no wait for either. The record is left
// allocated: this can arrive inside a modal loop of one of its own commands
// (a dialog, the command menu), which carries on with the record once the
// loop ends.
void EndSession() {
    AppState* state = TheAppState;
    TheAppState = nullptr;
    state->Shutdown();
    state->StopThreads(0);
}

// A close from outside (the task list, say) while a dialog of ours is up
// would free the record under the command that opened the dialog; during a
// menu, a drag or the shell's work it waits until that is over.
void CloseMainWindow(HWND window) {
    if (BringUpDialogForward(window)) return;
    if (TheAppState && TheAppState->DeferClose()) return;
    DestroyWindow(window);
}

// After the system's own handling (WM_MOVE, WM_SIZE): a window the screens
// changed under while it was away is fitted as it shows again.
LRESULT OnPositionChanged(AppState& state, HWND window, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProcW(window, WM_WINDOWPOSCHANGED, wParam, lParam);
    state.FitIfShown();
    return result;
}

void ReopenCommandMenu(AppState& state, WPARAM wParam, LPARAM lParam) {
    POINT point = DecodeMenuPoint(wParam);
    state.ShowCommandMenu(point.x, point.y, static_cast<int>(lParam));
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_CREATE: CreateAppState(window); return 0;
    case WM_CLOSE: CloseMainWindow(window); return 0;
    default: break;
    }

    AppState* state = TheAppState;
    if (!state) return DefWindowProcW(window, message, wParam, lParam);
    if (message == TaskbarCreatedMessage() && message != 0) {
        state->OnTaskbarCreated();
        return 0;
    }

    switch (message) {
    case WM_MOVE: state->OnMove(); return 0;
    case WM_SIZE: state->OnSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SETFOCUS: SetFocus(state->desklist); return 0;
    case WM_ENDSESSION:
        if (wParam) EndSession();
        return 0;
    case WM_DESTROY: DestroyAppState(); return 0;
    case WM_COMMAND: state->RunCommand(LOWORD(wParam)); return 0;
    case WM_NOTIFY: return state->OnListNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER: state->OnTimer(wParam); return 0;
    case WM_TRAYICON: state->OnTrayIcon(static_cast<UINT>(lParam)); return 0;
    case WM_REOPENMENU: ReopenCommandMenu(*state, wParam, lParam); return 0;
    case WM_FOLDERCHANGED: state->OnFolderChanged(); return 0;
    case WM_REFRESHWANTED: state->RunWantedRefresh(); return 0;
    case WM_STARTUPFILL: state->FillDeskList(); return 0;
    case WM_FILLSTEP: state->ContinueFill(); return 0;
    case WM_STARTUPDONE: state->FinishStartUp(); return 0;
    case WM_ICONSREADY: state->TakeIcons(); return 0;
    case WM_ICONSPENDING: return state->fill.Busy() ? -1 : state->icons.Pending();
    case WM_DPICHANGED:
        state->OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_HOTKEY: state->OnHotKey(wParam); return 0;
    case WM_WINDOWPOSCHANGED: return OnPositionChanged(*state, window, wParam, lParam);
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
    case WM_POWERBROADCAST:
        if (IsScreenChange(message, wParam)) state->OnScreenChanged();
        return DefWindowProcW(window, message, wParam, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK OwnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}
