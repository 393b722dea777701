// The recycle-bin watch reloads the desk's icons only when the count changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/application.h"
#include "app/appstate.h"
#include "support/testsupport.h"

TEST(RecycleBinWatch, ReloadsTheIconsExactlyWhenTheItemCountChanges) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    TempFolder desk, away;
    desk.file(L"a.txt");
    desk.file(L"b.txt");
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList();
    state->recycler = true;
    state->UpdateRecycleStatus();
    // A reload has both items wait for their icons again.
    auto reloads = [&] {
        EXPECT_TRUE(WaitForIcons(state));
        state->UpdateRecycleStatus();
        return state->icons.Pending() == 2;
    };
    EXPECT_FALSE(reloads()) << "nothing changed";

    // Under Wine a recycled file lies in the trash under XDG_DATA_HOME, which
    // tools/wine-env.sh keeps in the build.
    const std::wstring name = L"gone" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    wchar_t data[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH);
    std::wstring trash = L"Z:" + std::wstring(data) + L"/Trash/", from = away / name + L'\0';
    for (wchar_t& c : trash)
        if (c == L'/') c = L'\\';
    away.file(name);
    SHFILEOPSTRUCTW recycle = {nullptr,
                               FO_DELETE,
                               from.c_str(),
                               nullptr,
                               FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI,
                               0,
                               0,
                               0};
    ASSERT_EQ(SHFileOperationW(&recycle), 0);
    EXPECT_TRUE(reloads()) << "one more item";

    // More bytes in the bin, the same number of items.
    {
        FileHandle grown(CreateFileW((trash + L"files\\" + name).c_str(), FILE_APPEND_DATA, 0,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(grown.get(), "grown", 5, &written, nullptr));
    }
    EXPECT_FALSE(reloads()) << "only the size changed";
    DeleteFileW((trash + L"files\\" + name).c_str());
    DeleteFileW((trash + L"info\\" + name + L".trashinfo").c_str());
}
