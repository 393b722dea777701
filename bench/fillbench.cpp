// Measures the desk listing: FillDeskList into the real list view of the
// visible main window, in each view mode, against the floor of the same work
// without a list view (enumeration, icon extraction, image list). Prints one
// line per measurement for scripts to compare.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "app/program.h"
#include "benchsupport.h"
#include "app/text.h"
#include "desk/deskicons.h"

namespace {

const wchar_t* const kExtensions[] = {L".txt", L".doc", L".pdf", L".png",  L".jpg", L".zip",
                                      L".exe", L".ini", L".csv", L".html", L".mp3", L".log"};

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

int IconWidth(int style) {
    return GetSystemMetrics(style == 0 ? SM_CXICON : SM_CXSMICON);
}
int IconHeight(int style) {
    return GetSystemMetrics(style == 0 ? SM_CYICON : SM_CYSMICON);
}

// The same enumeration, icon sources and image-list appends as a fill, with
// no list view and on one thread: the names are gathered, the image list is
// sized for them once, and each entry's icon goes into its slot, its kind's
// generic icon where it has none of its own.
double Floor(const std::wstring& desk, int style, int* images) {
    double start = Now();
    ImageListHandle list(ImageList_Create(IconWidth(style), IconHeight(style), ILC_COLOR24, 0, 1));
    std::vector<WIN32_FIND_DATAW> found;
    WIN32_FIND_DATAW data;
    FindHandle find(FindFirstFileW((desk + L"\\*").c_str(), &data));
    if (find) {
        do {
            if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
                found.push_back(data);
        } while (FindNextFileW(find.get(), &data));
    }
    ImageList_SetImageCount(list.get(), static_cast<UINT>(found.size()));
    IconMaker maker({IconWidth(style), IconHeight(style)}, ImageList_GetBkColor(list.get()));
    std::map<std::wstring, int> generic; // kind -> its first slot
    wchar_t path[MAX_PATH];
    for (int i = 0; i < static_cast<int>(found.size()); ++i) {
        if (!JoinPath(path, desk.c_str(), found[i].cFileName)) continue;
        if (PutIcon(list.get(), i, maker.Make(path))) continue;
        // A kind's generic icon is converted once, then copied.
        bool folder = found[i].dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        auto [kind, fresh] = generic.try_emplace(GenericKind(path, folder), i);
        if (fresh)
            ImageList_ReplaceIcon(list.get(), i, maker.Generic(path, folder));
        else
            ImageList_Copy(list.get(), i, list.get(), kind->second, ILCF_MOVE);
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

struct ProcessWindow {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM lparam) {
    auto* wanted = reinterpret_cast<ProcessWindow*>(lparam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (processId != wanted->processId || wcscmp(className, wanted->className) != 0) return TRUE;
    wanted->found = window;
    return FALSE;
}

// Starts exe on the desk as a user would and times it until the list view of
// its window holds every entry; -1 when that never happens.
double TimeStart(const std::wstring& exe, const std::wstring& desk, const wchar_t* className,
                 int entries) {
    std::wstring commandLine = L"\"" + exe + L"\" \"" + desk + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    // Not WaitForInputIdle: the program takes input long before its icons are in.
    double took = -1;
    ProcessWindow wanted = {process.dwProcessId, className, nullptr};
    for (double deadline = start + 30; Now() < deadline && took < 0; Sleep(1)) {
        if (!wanted.found) EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&wanted));
        HWND list =
            wanted.found ? FindWindowExW(wanted.found, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
        DWORD_PTR count = 0;
        // Answered once the program's thread takes messages again.
        if (list && SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count) &&
            static_cast<int>(count) == entries)
            took = Now() - start;
    }
    if (wanted.found) PostMessageW(wanted.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    return took;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // Counts come as switches (-n1000): the main window's start-up reads the
    // same command line and takes any other argument for a desk folder.
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (wcsncmp(argv[i], L"-n", 2) == 0 && _wtoi(argv[i] + 2) > 0)
            sizes.push_back(_wtoi(argv[i] + 2));
    }
    if (sizes.empty()) sizes = {100, 1000, 5000};
    OleSession ole;
    AppState* state = OpenBenchWindow();
    if (!state) return 1;
    HWND window = state->mainwindow;
    HWND owner = GetWindow(window, GW_OWNER);
    Pump();

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root =
        std::wstring(temp) + L"tarvo-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);

    const char* const views[] = {"large", "small", "list"};
    std::vector<std::pair<int, double>> floors;
    int status = 0;
    for (int count : sizes) {
        std::wstring desk = MakeDesk(root, count);
        int warm = 0;
        Floor(desk, 0, &warm); // the file system's caches, as for every later run
        for (int style = 0; style < 3; ++style) {
            // Taken in turns, so that a slow spell of the machine falls on both.
            std::vector<double> floorTimes, oursTimes;
            for (int run = 0; run < 3; ++run) {
                int images = 0;
                floorTimes.push_back(Floor(desk, style, &images));
                oursTimes.push_back(Ours(state, desk, style));
                int items =
                    static_cast<int>(SendMessageW(state->desklist, LVM_GETITEMCOUNT, 0, 0));
                if (items != count || images != count) {
                    std::fprintf(stderr, "n=%d: %d items, %d floor images\n", count, items,
                                 images);
                    status = 1;
                }
            }
            double floor = Median(floorTimes), ours = Median(oursTimes);
            if (style == 0) floors.emplace_back(count, floor);
            std::printf("fill view=%s n=%d ours=%.3f floor=%.3f ratio=%.2f\n", views[style], count,
                        ours, floor, floor > 0 ? ours / floor : 0.0);
            std::fflush(stdout);
        }
    }

    // The floor's own cost per entry must not grow with the desk.
    for (const auto& [count, floor] : floors)
        std::printf("floor n=%d per-entry-ms=%.3f\n", count, 1000.0 * floor / count);

    // Start-up: the built program against a bare one, each copied into a
    // folder of its own (the program writes its settings beside itself).
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring built(self);
    built.resize(built.rfind(L'\\') + 1);
    std::wstring programs = root + L"\\programs";
    CreateDirectoryW(programs.c_str(), nullptr);
    std::wstring ours = programs + L"\\tarvo.exe", bare = programs + L"\\tarvo_bare.exe";
    CopyFileW((built + L"tarvo.exe").c_str(), ours.c_str(), FALSE);
    CopyFileW((built + L"tarvo_bare.exe").c_str(), bare.c_str(), FALSE);
    for (int count : {100, 1000}) {
        std::wstring desk = MakeDesk(root, count);
        TimeStart(ours, desk, L"Ta'rvo", count); // a first start writes the settings file
        std::vector<double> oursTimes, bareTimes;
        for (int run = 0; run < 5; ++run) {
            oursTimes.push_back(TimeStart(ours, desk, L"Ta'rvo", count));
            bareTimes.push_back(TimeStart(bare, desk, L"TarvoBare", 0));
        }
        double o = Median(oursTimes), b = Median(bareTimes);
        if (o < 0 || b < 0) status = 1;
        std::printf("start desk=%d ours=%.3f bare=%.3f ratio=%.2f\n", count, o, b,
                    b > 0 ? o / b : 0.0);
        std::fflush(stdout);
    }

    // The settings file beside the build's program is not the benchmark's to write.
    state->savesettings = false;
    DestroyWindow(window);
    DestroyWindow(owner);
    Pump();
    RemoveTree(root);
    return status;
}
