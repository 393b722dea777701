// The recycle-bin watch reloads the desk's icons only when the count changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "support/testsupport.h"

namespace {

SHQUERYRBINFO RecycleBin() {
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    SHQueryRecycleBinW(L"", &info);
    return info;
}
LONGLONG RecycledItems() {
    return RecycleBin().i64NumItems;
}

// Under Wine a recycled file lies in the freedesktop trash; the tests run
// with XDG_DATA_HOME pointing into the build (tools/wine-env.sh).
std::wstring Trash(const std::wstring& part) {
    wchar_t data[MAX_PATH] = L"";
    if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH)) return L"";
    std::wstring path = L"Z:" + std::wstring(data) + L"/Trash/" + part;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

// Takes the test's own files out of the trash again.
struct TrashedFiles {
    std::vector<std::wstring> names;
    ~TrashedFiles() {
        for (const std::wstring& name : names) {
            DeleteFileW(Trash(L"files/" + name).c_str());
            DeleteFileW(Trash(L"info/" + name + L".trashinfo").c_str());
        }
    }
};

bool Recycle(const std::wstring& path) {
    std::vector<wchar_t> from(path.begin(), path.end());
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0;
}

} // namespace

TEST(RecycleBinWatch, ReloadsTheIconsExactlyWhenTheItemCountChanges) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    TempFolder desk;
    desk.file(L"a.txt");
    desk.file(L"b.txt");
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList();
    ASSERT_EQ(ListView_GetItemCount(state->desklist), 2);

    // A reload rebuilds the image list from the items, so an extra image
    // left in it tells whether a reload happened.
    auto markImages = [&] {
        HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
        ImageList_ReplaceIcon(state->images, -1, icon);
        return ImageList_GetImageCount(state->images);
    };
    auto reloaded = [&] { return ImageList_GetImageCount(state->images) == 2; };

    state->recycler = true;
    state->UpdateRecycleStatus();
    EXPECT_EQ(state->recyclecount, RecycledItems());
    markImages();
    state->UpdateRecycleStatus();
    EXPECT_FALSE(reloaded()) << "nothing changed";

    TempFolder away;
    TrashedFiles trashed;
    std::wstring tag = std::to_wstring(GetCurrentProcessId());
    trashed.names = {L"gone" + tag + L".txt", L"gone" + tag + L"b.txt"};
    away.file(trashed.names[0]);
    ASSERT_TRUE(Recycle(away / trashed.names[0]));
    LONGLONG count = RecycledItems();
    ASSERT_EQ(count, state->recyclecount + 1);
    markImages();
    state->UpdateRecycleStatus();
    EXPECT_TRUE(reloaded());
    EXPECT_EQ(state->recyclecount, count);

    // More bytes in the bin, the same number of items: no reload.
    SHQUERYRBINFO before = RecycleBin();
    HANDLE file = CreateFileW(Trash(L"files/" + trashed.names[0]).c_str(), FILE_APPEND_DATA, 0,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "the recycled file under XDG_DATA_HOME";
    DWORD written = 0;
    WriteFile(file, "grown", 5, &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(RecycleBin().i64Size, before.i64Size + 5);
    ASSERT_EQ(RecycledItems(), count);
    markImages();
    state->UpdateRecycleStatus();
    EXPECT_FALSE(reloaded()) << "only the size changed";

    markImages();
    state->recycler = false;
    state->UpdateRecycleStatus();
    away.file(trashed.names[1]);
    ASSERT_TRUE(Recycle(away / trashed.names[1]));
    state->UpdateRecycleStatus();
    EXPECT_FALSE(reloaded()) << "the watch is off";
}
