// The start-up benchmark's measure of what is possible: the least a program
// must do before its list holds every entry of a desk, done the cheapest way
// and with the program's own means. It readies the shell's icon cache on a
// second thread once its first window is up (the generic pictures need it),
// reads the folder in blocks, leaves hidden entries out, sorts by name, and
// inserts every entry into a large-icon list that keeps rows and holds its
// drawing meanwhile, with the same common controls as the program; the list
// is laid out with the next message. It takes no settings and makes no
// pictures.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "yardstick.h"

namespace {

std::vector<std::wstring> Names;
// Posted once every entry is in: the list goes back to its view and draws.
constexpr UINT kLayOut = WM_APP;
LONG ListStyle = 0;

LRESULT CALLBACK LeastWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
        return 0;
    case WM_NOTIFY: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lparam);
        if (info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT))
            lstrcpynW(info->item.pszText, Names[info->item.iItem].c_str(), info->item.cchTextMax);
        return 0;
    }
    case kLayOut: {
        HWND list = GetWindow(window, GW_CHILD);
        SetWindowLongW(list, GWL_STYLE, ListStyle);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

DWORD WINAPI ReadyShellIcons(void*) {
    CoInitialize(nullptr);
    SHFILEINFOW info = {};
    SHGetFileInfoW(L"a.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    CoUninitialize();
    return 0;
}

void ReadFolder(const wchar_t* folder) {
    HANDLE handle = CreateFileW(folder, FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;
    std::vector<ULONGLONG> block(8192);
    const DWORD bytes = static_cast<DWORD>(block.size() * sizeof(ULONGLONG));
    while (GetFileInformationByHandleEx(handle, FileFullDirectoryInfo, block.data(), bytes)) {
        auto* at = reinterpret_cast<const BYTE*>(block.data());
        for (const FILE_FULL_DIR_INFO* info;; at += info->NextEntryOffset) {
            info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
            std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
            if (name != L"." && name != L".." && !(info->FileAttributes & FILE_ATTRIBUTE_HIDDEN))
                Names.push_back(std::move(name));
            if (info->NextEntryOffset == 0) break;
        }
    }
    CloseHandle(handle);
    std::sort(Names.begin(), Names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                    static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
    });
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    HWND window = CreateYardstickWindow(instance, L"TarvoLeast", L"Least", LeastWindowProc);
    CloseHandle(CreateThread(nullptr, 0, ReadyShellIcons, nullptr, 0, nullptr));
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_ICON | LVS_EDITLABELS | LVS_AUTOARRANGE,
                                0, 0, 0, 0, window, nullptr, instance, nullptr);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_DOUBLEBUFFER);
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                         ILC_COLOR24, 1, 64);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    ShowWindow(window, show);
    UpdateWindow(window);

    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments && count > 1) ReadFolder(arguments[1]);
    LocalFree(arguments);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListStyle = GetWindowLongW(list, GWL_STYLE);
    SetWindowLongW(list, GWL_STYLE, (ListStyle & ~LVS_TYPEMASK) | LVS_LIST);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.pszText = LPSTR_TEXTCALLBACKW;
    for (size_t i = 0; i < Names.size(); ++i) {
        item.iItem = static_cast<int>(i);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    PostMessageW(window, kLayOut, 0, 0);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
