// Measures the folder watcher in the visible main window: how long an outside
// file creation takes to reach the list, against the settling wait, the
// latency setting and one fill of the same desk measured in the same run;
// and how many refreshes a burst of creations costs. One line per figure;
// exits with 1 when a figure misses its target (each reported on stderr).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "app/program.h"
#include "benchsupport.h"
#include "status/folderwatcher.h"

namespace {

std::wstring MakeDesk(const std::wstring& root, const std::wstring& name, int count) {
    std::wstring desk = root + L"\\" + name;
    CreateDirectoryW(desk.c_str(), nullptr);
    for (int i = 0; i < count; ++i)
        Touch(desk + L"\\item " + std::to_wstring(i) + L".txt");
    return desk;
}

// A file made by another program, as the user's other programs make them.
// Returns the time the maker ended.
double CreateOutside(const std::wstring& path) {
    std::wstring command = L"cmd.exe /c type nul > \"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return Now();
    WaitForSingleObject(process.hProcess, INFINITE);
    double ended = Now();
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended;
}

void Watch(AppState* state, const std::wstring& desk, int latency) {
    wcscpy(state->deskpath, desk.c_str());
    state->autorefreshlatency = latency;
    state->StartFolderWatcher();
    state->RefreshDeskList();
    PumpUntilComplete(state);
    PumpFor(0.3);
}

// One rebuild of the list as the watcher has it done, until the list holds
// every item; the icons that follow are not part of it.
double OneFill(AppState* state) {
    double start = Now();
    state->RefreshDeskList();
    PumpUntil([state] { return !state->fill.Busy(); }, 60);
    return Now() - start;
}

int Refreshes = 0;
LRESULT CALLBACK CountRefreshes(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if (message == LVM_DELETEALLITEMS) ++Refreshes;
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

int wmain() {
    OleSession ole;
    AppState* state = OpenBenchWindow();
    if (!state) return 1;
    HWND window = state->mainwindow;
    HWND owner = GetWindow(window, GW_OWNER);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring root =
        std::wstring(temp) + L"tarvo-watchbench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);

    for (int count : {100, 1000}) {
        std::wstring desk = MakeDesk(root, L"desk" + std::to_wstring(count), count);
        for (int setting : {200, 0}) {
            Watch(state, desk, setting);
            // Medians of three, for both sides, taken in turns: one fill of
            // a large list drifts by half its time over a minute on a shared
            // machine, and a slow spell should fall on both.
            std::vector<double> fills, latencies;
            for (int trial = 0; trial < 3; ++trial) {
                fills.push_back(OneFill(state));
                PumpUntilComplete(state);
                PumpFor(0.3);
                std::wstring added = desk + L"\\new " + std::to_wstring(setting) + L" " +
                                     std::to_wstring(trial) + L".txt";
                double made = CreateOutside(added);
                int expectedItems = ListView_GetItemCount(state->desklist) + 1;
                PumpUntil([&] { return ListView_GetItemCount(state->desklist) == expectedItems; },
                          30);
                latencies.push_back(Now() - made);
                int items = ListView_GetItemCount(state->desklist);
                if (items != expectedItems)
                    Fail("desk=%d setting=%d: the list holds %d items, not %d", count, setting,
                         items, expectedItems);
                DeleteFileW(added.c_str());
                PumpFor(2.5); // the deletion's own refresh
                PumpUntilComplete(state);
            }
            double ours = Median(latencies);
            double expected = kSettlingMs / 1000.0 + setting / 1000.0 + Median(fills);
            std::printf("latency desk=%d setting=%d ours=%.3f expected=%.3f\n", count, setting,
                        ours, expected);
            std::fflush(stdout);
            CheckAtMost(std::fabs(ours - expected), 0.050,
                        "latency desk=%d setting=%d |ours-expected|", count, setting);
        }
    }

    std::wstring burst = MakeDesk(root, L"burst", 0);
    Watch(state, burst, 200);
    SetWindowSubclass(state->desklist, CountRefreshes, 1, 0);
    Refreshes = 0;
    for (int i = 0; i < 1000; ++i)
        Touch(burst + L"\\burst " + std::to_wstring(i) + L".txt");
    PumpUntil([state] { return ListView_GetItemCount(state->desklist) == 1000; }, 60);
    PumpFor(1.5); // and nothing more after it
    RemoveWindowSubclass(state->desklist, CountRefreshes, 1);
    std::printf("burst files=1000 refreshes=%d\n", Refreshes);
    std::fflush(stdout);
    if (Refreshes != 1) Fail("burst files=1000 refreshes=%d, target exactly 1", Refreshes);

    // The settings file beside the build's program is not the benchmark's to write.
    state->savesettings = false;
    DestroyWindow(window);
    DestroyWindow(owner);
    PumpFor(0.2);
    for (const wchar_t* name : {L"desk100", L"desk1000", L"burst"})
        RemoveTree(root + L"\\" + name);
    RemoveDirectoryW(root.c_str());
    return FailedChecks > 0 ? 1 : 0;
}
