#include "app/program.h"

#include <commctrl.h>

#include <clocale>
#include <new>

#include "app/application.h"
#include "app/mainwindow.h"
#include "resources/resource.h"

namespace {

void OutOfMemory() {
    ShowMessage(L"Out Of Memory", MB_OK | MB_ICONEXCLAMATION);
    ExitProcess(1);
}

bool RegisterWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TARVO));
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

} // namespace

// Every later dialog shows the program's icon: it is set once on the system
// dialog class, reached through an empty dialog.
void SetDialogClassIcon(HWND mainWindow) {
    HWND dialog = CreateDialogParamW(Application.instance, MAKEINTRESOURCEW(IDD_EMPTY),
                                     mainWindow, nullptr, 0);
    if (!dialog) return;
    SetClassLongPtrW(dialog, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(
                         LoadIconW(Application.instance, MAKEINTRESOURCEW(IDI_TARVO))));
    DestroyWindow(dialog);
}

bool RegisterWindowClasses(HINSTANCE instance) {
    bool owner = RegisterWindowClass(L"Bramlet", OwnerWindowProc, instance);
    return RegisterWindowClass(L"Ta'rvo", MainWindowProc, instance) && owner;
}

HWND CreateOwnerWindow() {
    return CreateWindowExW(0, L"Bramlet", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                           Application.instance, nullptr);
}

HWND CreateMainWindow(HWND owner) {
    return CreateWindowExW(0, L"Ta'rvo", L"Ta'rvo", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                           nullptr, Application.instance, nullptr);
}

bool KeyMayBeCommand(const MSG& message, bool inLabelEdit) {
    if (!inLabelEdit) return true;
    return message.message == WM_KEYDOWN &&
           (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
}

bool IsLabelEditBox(HWND mainWindow, HWND window) {
    // The desk list is the main window's only child.
    HWND list = window ? GetParent(window) : nullptr;
    return list && GetParent(list) == mainWindow &&
           reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0)) == window;
}

// Accelerators come first, so Enter and Esc reach the commands even while a
// label is being edited; IsDialogMessageW translates and dispatches the keys
// of the main window and its controls itself.
int RunMessageLoop(HWND mainWindow, HACCEL accelerators) {
    MSG message = {};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
        bool inLabelEdit = key && IsLabelEditBox(mainWindow, message.hwnd);
        if (KeyMayBeCommand(message, inLabelEdit) &&
            TranslateAcceleratorW(mainWindow, accelerators, &message))
            continue;
        if (IsDialogMessageW(mainWindow, &message)) continue;
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunProgram(HINSTANCE instance) {
    std::set_new_handler(OutOfMemory);
    std::setlocale(LC_ALL, "");
    Application.instance = instance;

    // Without its windows the program could only wait for ever, unseen.
    if (!RegisterWindowClasses(instance)) return kStartFailed;
    HWND owner = CreateOwnerWindow();
    HWND mainWindow = owner ? CreateMainWindow(owner) : nullptr;
    if (!mainWindow) return kStartFailed;
    Application.mainwindow = mainWindow;

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    return RunMessageLoop(mainWindow, accelerators);
}
