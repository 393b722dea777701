// The recycle-bin watch reloads the desk's icons only when the count changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/application.h"
#include "app/appstate.h"
#include "support/testsupport.h"

namespace {

SHQUERYRBINFO RecycleBin() {
    SHQUERYRBINFO info = {sizeof info, 0, 0};
    SHQueryRecycleBinW(L"", &info);
    return info;
}

// Under Wine a recycled file lies in the freedesktop trash, which the tests
// keep under the build (XDG_DATA_HOME, set by tools/wine-env.sh).
std::wstring Trash(const std::wstring& part) {
    wchar_t data[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH);
    std::wstring path = L"Z:" + std::wstring(data) + L"/Trash/" + part;
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

struct Recycled {
    explicit Recycled(const std::wstring& name) : name(name) {
        away.file(name);
        std::wstring from = away / name + L'\0';
        FILEOP_FLAGS flags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        SHFILEOPSTRUCTW operation = {nullptr, FO_DELETE, from.c_str(), nullptr, flags, 0, 0, 0};
        done = SHFileOperationW(&operation) == 0;
    }
    ~Recycled() {
        DeleteFileW(Trash(L"files/" + name).c_str());
        DeleteFileW(Trash(L"info/" + name + L".trashinfo").c_str());
    }
    TempFolder away;
    std::wstring name;
    bool done;
};

} // namespace

TEST(RecycleBinWatch, ReloadsTheIconsExactlyWhenTheItemCountChanges) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    TempFolder desk;
    desk.file(L"a.txt");
    desk.file(L"b.txt");
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList();
    state->recycler = true;
    state->UpdateRecycleStatus();

    // A reload rebuilds the image list from the two items, so an extra image
    // added before each update tells whether it reloaded.
    auto reloads = [&] {
        ImageList_ReplaceIcon(state->images, -1, LoadIconW(nullptr, IDI_APPLICATION));
        state->UpdateRecycleStatus();
        return ImageList_GetImageCount(state->images) == 2;
    };
    EXPECT_FALSE(reloads()) << "nothing changed";

    Recycled file(L"gone" + std::to_wstring(GetCurrentProcessId()) + L".txt");
    ASSERT_TRUE(file.done);
    EXPECT_TRUE(reloads()) << "one more item";
    EXPECT_EQ(state->recyclecount, RecycleBin().i64NumItems);

    // More bytes in the bin, the same number of items.
    LONGLONG size = RecycleBin().i64Size;
    HANDLE grown = CreateFileW(Trash(L"files/" + file.name).c_str(), FILE_APPEND_DATA, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(grown, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(grown, "grown", 5, &written, nullptr);
    CloseHandle(grown);
    ASSERT_EQ(RecycleBin().i64Size, size + 5);
    EXPECT_FALSE(reloads()) << "only the size changed";
}
