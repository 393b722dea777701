// Measures the desk listing: FillDeskList into the real list view of the
// visible main window, in each view mode, against the floor of the same work
// without a list view (enumeration, icon extraction, image list). Prints one
// line per measurement for scripts to compare.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "app/program.h"
#include "app/text.h"

namespace {

const wchar_t* const kExtensions[] = {L".txt", L".doc", L".pdf", L".png", L".jpg", L".zip",
                                      L".exe", L".ini", L".csv", L".html", L".mp3", L".log"};

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

void MakeShortcut(const std::wstring& path, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.putVoid())))
        return;
    link->SetPath(target.c_str());
    ComPtr<IPersistFile> file;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.putVoid())))
        file->Save(path.c_str(), TRUE);
}

// One entry in 20 a folder, one in 20 a shortcut, the rest files of a dozen
// extensions, named so that the sort has work to do.
std::wstring MakeDesk(const std::wstring& root, int count) {
    std::wstring desk = root + L"\\desk" + std::to_wstring(count);
    RemoveTree(desk);
    CreateDirectoryW(desk.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        unsigned scrambled = (static_cast<unsigned>(i) * 2654435761u) % 1000003u;
        std::wstring stem = desk + L"\\item " + std::to_wstring(scrambled);
        if (i % 20 == 0) {
            CreateDirectoryW(stem.c_str(), nullptr);
        } else if (i % 20 == 1) {
            MakeShortcut(stem + L".lnk", L"C:\\windows\\notepad.exe");
        } else {
            std::wstring name = stem + kExtensions[i % 12];
            HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
    }
    return desk;
}

int IconWidth(int style) { return GetSystemMetrics(style == 0 ? SM_CXICON : SM_CXSMICON); }
int IconHeight(int style) { return GetSystemMetrics(style == 0 ? SM_CYICON : SM_CYSMICON); }

IconHandle BlankIcon(int style) {
    int cx = IconWidth(style), cy = IconHeight(style);
    std::vector<BYTE> andMask(((cx + 15) / 16) * 2 * cy, 0xFF), xorMask(andMask.size(), 0);
    return IconHandle(CreateIcon(Application.instance, cx, cy, 1, 1, andMask.data(), xorMask.data()));
}

// The same enumeration and icon work as a fill, with no list view at all:
// one image per entry, the shell's icon or a blank one made once.
double Floor(const std::wstring& desk, int style, int* images) {
    double start = Now();
    ImageListHandle list(ImageList_Create(IconWidth(style), IconHeight(style), ILC_COLOR24, 0, 1));
    IconHandle blank = BlankIcon(style);
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((desk + L"\\*").c_str(), &data));
    if (find) {
        do {
            if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
            wchar_t path[MAX_PATH];
            if (!JoinPath(path, desk.c_str(), data.cFileName)) continue;
            WORD index = 0;
            IconHandle icon(ExtractAssociatedIconW(Application.instance, path, &index));
            // Where the shell has no icon, the list still gets one image.
            ImageList_ReplaceIcon(list.get(), -1, icon ? icon.get() : blank.get());
        } while (FindNextFileW(find.get(), &data));
    }
    *images = ImageList_GetImageCount(list.get());
    return Now() - start;
}

double Ours(AppState* state, const std::wstring& desk, int style) {
    state->iconstyle = style;
    state->ApplyIconStyle();
    SendMessageW(state->desklist, LVM_DELETEALLITEMS, 0, 0);
    ImageList_Remove(state->images, -1);
    wcscpy(state->deskpath, desk.c_str());
    Pump();
    double start = Now();
    state->FillDeskList();
    double took = Now() - start;
    Pump();
    return took;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Counts come as switches (-n1000): the main window's start-up reads the
    // same command line and takes any other argument for a desk folder.
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (wcsncmp(argv[i], L"-n", 2) == 0 && _wtoi(argv[i] + 2) > 0) sizes.push_back(_wtoi(argv[i] + 2));
    }
    if (sizes.empty()) sizes = {100, 1000, 5000};
    OleSession ole;
    Application.instance = GetModuleHandleW(nullptr);
    RegisterWindowClasses(Application.instance);
    HWND owner = CreateOwnerWindow();
    HWND window = CreateMainWindow(owner);
    Application.mainwindow = window;
    AppState* state = TheAppState;
    if (!window || !state) {
        std::fprintf(stderr, "the main window could not be created\n");
        return 1;
    }
    SetForegroundWindow(window);
    Pump();

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = std::wstring(temp) + L"tarvo-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);

    const char* const views[] = {"large", "small", "list"};
    int status = 0;
    for (int count : sizes) {
        std::wstring desk = MakeDesk(root, count);
        int warm = 0;
        Floor(desk, 0, &warm); // the file system's caches, as for every later run
        for (int style = 0; style < 3; ++style) {
            int images = 0;
            double floor = Floor(desk, style, &images);
            double ours = Ours(state, desk, style);
            int items = static_cast<int>(SendMessageW(state->desklist, LVM_GETITEMCOUNT, 0, 0));
            if (items != count || images != count) {
                std::fprintf(stderr, "n=%d: %d items, %d floor images\n", count, items, images);
                status = 1;
            }
            std::printf("fill view=%s n=%d ours=%.3f floor=%.3f ratio=%.2f\n", views[style], count,
                        ours, floor, floor > 0 ? ours / floor : 0.0);
            std::fflush(stdout);
        }
    }

    // The settings file beside the build's program is not the benchmark's to write.
    state->savesettings = false;
    DestroyWindow(window);
    DestroyWindow(owner);
    Pump();
    RemoveTree(root);
    return status;
}
