// The folder watcher on the real main window: when it refreshes, how often,
// what it leaves alone, and how it stops.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/application.h"
#include "status/folderwatcher.h"
#include "support/testsupport.h"

namespace {

// Every rebuild of the list starts by emptying it; counting those messages
// counts refreshes, with the time of each.
std::vector<DWORD> Refreshes;
LRESULT CALLBACK CountRefreshes(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if (message == LVM_DELETEALLITEMS) Refreshes.push_back(GetTickCount());
    return DefSubclassProc(window, message, wParam, lParam);
}

class RefreshCounter {
  public:
    explicit RefreshCounter(HWND list) : list_(list) {
        SetWindowSubclass(list_, CountRefreshes, 1, 0);
    }
    ~RefreshCounter() { RemoveWindowSubclass(list_, CountRefreshes, 1); }
    RefreshCounter(const RefreshCounter&) = delete;
    RefreshCounter& operator=(const RefreshCounter&) = delete;

  private:
    HWND list_;
};

void Pump(DWORD ms) {
    WaitFor([] { return false; }, ms);
}

// Creates a file the way another program would: from another process.
void CreateFromOtherProcess(const std::wstring& path) {
    std::wstring command = L"cmd.exe /c type nul > \"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

class FolderWatcherTest : public ::testing::Test {
  protected:
    // One window for the whole suite: each test watches a folder of its own.
    static void SetUpTestSuite() { windows_ = std::make_unique<MainWindowTest>(); }
    static void TearDownTestSuite() { windows_.reset(); }

    void SetUp() override {
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
        watch(desk_.path(), 0);
        Refreshes.clear();
    }
    void TearDown() override {
        if (state_->editwindow) SendMessageW(state_->editwindow, WM_CLOSE, 0, 0);
        state_->refreshing = false;
        state_->editafterrefresh = state_->selectafterrefresh = false;
    }
    void watch(const std::wstring& folder, int latency) {
        ASSERT_TRUE(CopyText(state_->deskpath, folder.c_str()));
        state_->autorefreshlatency = latency;
        state_->StartFolderWatcher();
        ASSERT_NE(state_->stopevent, nullptr);
    }
    int count() const { return ListView_GetItemCount(state_->desklist); }

    static std::unique_ptr<MainWindowTest> windows_;
    TempFolder desk_;
    AppState* state_ = nullptr;
    RefreshCounter counter_{TheAppState->desklist};
};
std::unique_ptr<MainWindowTest> FolderWatcherTest::windows_;

TEST_F(FolderWatcherTest, OneNewFileRefreshesOnceAfterSettlingAndTheLatency) {
    for (int latency : {200, 0}) {
        SCOPED_TRACE(latency);
        watch(desk_.path(), latency);
        Refreshes.clear();
        CreateFromOtherProcess(desk_ / (L"new" + std::to_wstring(latency) + L".txt"));
        DWORD created = GetTickCount();
        ASSERT_TRUE(WaitFor([] { return !Refreshes.empty(); }, 5000));
        DWORD after = Refreshes.front() - created;
        EXPECT_GE(after + 50, kSettlingMs + latency); // the file was made before the process ended
        EXPECT_LE(after, kSettlingMs + latency + 400);
        Pump(800);
        EXPECT_EQ(Refreshes.size(), 1u);
    }
    EXPECT_EQ(count(), 2);
}

TEST_F(FolderWatcherTest, AHundredFilesInABurstGiveOneRefreshAfterTheLast) {
    DWORD last = 0;
    for (int i = 0; i < 100; ++i) {
        desk_.file(L"f" + std::to_wstring(i) + L".txt");
        last = GetTickCount();
        Pump(i % 10 == 0 ? 60 : 0); // well below the settling time
    }
    ASSERT_TRUE(WaitFor([] { return !Refreshes.empty(); }, 5000));
    EXPECT_GE(Refreshes.front() - last + 20, kSettlingMs);
    Pump(800);
    EXPECT_EQ(Refreshes.size(), 1u);
    EXPECT_EQ(count(), 100);
}

TEST_F(FolderWatcherTest, OnlyNamesInTheFolderItselfAreWatched) {
    std::wstring file = desk_ / L"a.txt";
    desk_.file(L"a.txt");
    desk_.folder(L"sub");
    watch(desk_.path(), 0); // after the set-up above
    Pump(400);
    Refreshes.clear();
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"contents and size",
         [&] {
             HANDLE h =
                 CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             DWORD written = 0;
             WriteFile(h, "data", 4, &written, nullptr);
             CloseHandle(h);
         }},
        {"time",
         [&] {
             HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr);
             FILETIME old = {0x10000000, 0x01c00000};
             SetFileTime(h, &old, &old, &old);
             CloseHandle(h);
         }},
        {"attributes", [&] { SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY); }},
        {"a name inside a sub-folder", [&] { desk_.file(L"sub\\inner.txt"); }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        change();
        Pump(700);
        EXPECT_TRUE(Refreshes.empty());
    }
    desk_.file(L"b.txt"); // and a name change still is
    EXPECT_TRUE(WaitFor([] { return !Refreshes.empty(); }, 3000));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderWatcherTest, AChangeDuringARefreshLeavesTheFollowUpsPending) {
    CopyText(state_->findname, L"made.txt");
    state_->editafterrefresh = true;
    state_->refreshing = true; // as if a command's refresh were under way
    desk_.file(L"made.txt");
    Pump(800);
    EXPECT_TRUE(Refreshes.empty());
    EXPECT_TRUE(state_->editafterrefresh);
    EXPECT_EQ(count(), 0);

    state_->refreshing = false;
    desk_.file(L"other.txt");
    ASSERT_TRUE(WaitFor([&] { return state_->editwindow != nullptr; }, 5000));
    EXPECT_FALSE(state_->editafterrefresh);
    EXPECT_EQ(std::wstring(state_->editpath), desk_ / L"made.txt");
    EXPECT_EQ(Refreshes.size(), 1u);
}

TEST_F(FolderWatcherTest, AStopDuringTheSettlingWaitEndsTheWatcher) {
    HANDLE thread = state_->watcher->thread();
    desk_.file(L"x.txt");
    Sleep(60); // inside the 200 ms settling wait
    SetEvent(state_->stopevent);
    EXPECT_EQ(WaitForSingleObject(thread, 1000), WAIT_OBJECT_0);
    Pump(600);
    EXPECT_TRUE(Refreshes.empty());
}

TEST_F(FolderWatcherTest, ARemovedFolderCostsNoTimeAfterwards) {
    TempFolder parent;
    parent.folder(L"gone");
    watch(parent / L"gone", 0);
    ASSERT_TRUE(RemoveDirectoryW((parent / L"gone").c_str()));
    Pump(1000);
    FILETIME created, ended, kernel[2], user[2];
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel[0], &user[0]);
    Pump(3000);
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel[1], &user[1]);
    auto ms = [](FILETIME t) {
        return (ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart) / 10000;
    };
    EXPECT_LT(ms(kernel[1]) - ms(kernel[0]) + ms(user[1]) - ms(user[0]), 300u);
    EXPECT_LE(Refreshes.size(), 1u);
}

// A watcher blocked in its refresh request when the window goes: the
// shutdown lets it finish and waits for it before the state is freed.
TEST(FolderWatcherShutdown, WaitsForAWatcherInsideItsRefreshRequest) {
    TempFolder desk;
    MainWindowTest windows;
    AppState* state = TheAppState;
    ASSERT_TRUE(CopyText(state->deskpath, desk.path().c_str()));
    state->autorefreshlatency = 0;
    state->StartFolderWatcher();
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), state->watcher->thread(), GetCurrentProcess(), &thread, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    desk.file(L"late.txt");
    Sleep(800); // no messages handled: the watcher now waits in its send
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    windows.close();
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    CloseHandle(thread);
}

} // namespace
