// The folder watcher on the real main window: when it refreshes, how often,
// what it leaves alone, and how it stops.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/appstate.h"
#include "app/application.h"
#include "commands/commandids.h"
#include "status/folderwatcher.h"
#include "support/testsupport.h"

namespace {

// Every rebuild of the list starts by emptying it: the times of refreshes.
std::vector<DWORD> Refreshes;
// A step a test runs once, the first time the list gets the message.
struct OnceAtMessage {
    UINT message = 0;
    std::function<void()> step;
} Once;
LRESULT CALLBACK CountRefreshes(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    if (message == LVM_DELETEALLITEMS) Refreshes.push_back(GetTickCount());
    if (message == Once.message && Once.step) std::exchange(Once.step, nullptr)();
    return DefSubclassProc(window, message, wParam, lParam);
}

void Pump(DWORD ms) {
    WaitFor([] { return false; }, ms);
}
bool Refreshed(DWORD ms = 5000) {
    return WaitFor([] { return !Refreshes.empty(); }, ms);
}
// The selected items' indexes, then "f" and the focused one's: "2 3 f3".
std::string Marks(HWND list) {
    std::string marks;
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i != -1;
         i = ListView_GetNextItem(list, i, LVNI_SELECTED))
        marks += std::to_string(i) + " ";
    return marks + "f" + std::to_string(ListView_GetNextItem(list, -1, LVNI_FOCUSED));
}
// Handles only what other threads send to this one, as a shell call that
// lets sent messages in does, until the condition holds.
void TakeSentMessagesUntil(const std::function<bool()>& done, DWORD ms = 3000) {
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms;) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_SENDMESSAGE, 0);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

class FolderWatcherTest : public ::testing::Test {
  protected:
    // One window for the whole suite: each test watches a folder of its own.
    static void SetUpTestSuite() { windows_ = std::make_unique<MainWindowTest>(); }
    static void TearDownTestSuite() { windows_.reset(); }
    void SetUp() override {
        SetWindowSubclass(state_->desklist, CountRefreshes, 1, 0);
        watch(desk_.path(), 0);
    }
    void TearDown() override {
        RemoveWindowSubclass(state_->desklist, CountRefreshes, 1);
        Once.step = nullptr;
        if (state_->namebox.Box()) state_->namebox.Close(false);
        WaitFor([&] { return !state_->fill.Busy(); });
        state_->namebox.DropFollowUp();
        state_->fill.DropWanted();
    }
    void watch(const std::wstring& folder, int latency) {
        ASSERT_TRUE(CopyText(state_->deskpath, folder.c_str()));
        state_->autorefreshlatency = latency;
        state_->StartFolderWatcher();
        ASSERT_NE(state_->stopevent, nullptr);
        Refreshes.clear();
    }

    static std::unique_ptr<MainWindowTest> windows_;
    TempFolder desk_;
    AppState* state_ = TheAppState;
};
std::unique_ptr<MainWindowTest> FolderWatcherTest::windows_;

} // namespace

// One refresh per change or burst, the settling time plus the latency after
// the last name.
TEST_F(FolderWatcherTest, OneRefreshAfterSettlingAndTheLatencyPerChangeOrBurst) {
    int made = 0;
    for (auto [files, latency] : {std::pair{1, 200}, {1, 0}, {100, 0}}) {
        SCOPED_TRACE(testing::Message() << files << " files, latency " << latency);
        watch(desk_.path(), latency);
        DWORD last = 0;
        for (int i = 0; i < files; ++i) {
            desk_.file(L"f" + std::to_wstring(made++));
            last = GetTickCount();
            Pump(i % 10 == 0 ? 60 : 0); // well below the settling time
        }
        ASSERT_TRUE(Refreshed());
        EXPECT_GE(Refreshes.front() - last + 20, kSettlingMs + latency);
        EXPECT_LE(Refreshes.front() - last, kSettlingMs + latency + 400);
        Pump(800);
        EXPECT_EQ(Refreshes.size(), 1u);
    }
    EXPECT_EQ(ListView_GetItemCount(state_->desklist), 102);
}

TEST_F(FolderWatcherTest, OnlyNamesInTheFolderItselfAreWatched) {
    const std::wstring file = desk_ / L"a.txt";
    desk_.file(L"a.txt");
    desk_.folder(L"sub");
    watch(desk_.path(), 0);
    Pump(400);
    Refreshes.clear();
    auto open = [&](DWORD access) {
        return FileHandle(CreateFileW(file.c_str(), access, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    FILETIME old = {0x10000000, 0x01c00000};
    DWORD written = 0;
    // Contents and size, times, attributes, a name inside a sub-folder.
    WriteFile(open(GENERIC_WRITE).get(), "data", 4, &written, nullptr);
    SetFileTime(open(FILE_WRITE_ATTRIBUTES).get(), &old, &old, &old);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
    desk_.file(L"sub\\inner.txt");
    Pump(700);
    EXPECT_TRUE(Refreshes.empty());
    desk_.file(L"b.txt"); // while a new name still is
    EXPECT_TRUE(Refreshed(3000));
}

// A request let in by the shell's icon calls during a fill or an icon reload
// runs once after it, follow-up included, never inside it.
TEST_F(FolderWatcherTest, ARequestDuringAFillOrAnIconReloadRunsOnceAfterIt) {
    HWND list = state_->desklist;
    desk_.file(L"n.txt");
    const struct {
        UINT inside; // a message the list gets while the work runs
        size_t own;  // times the work itself empties the list
        std::function<void()> run;
    } works[] = {
        {LVM_INSERTITEMW, 1, [&] { state_->RefreshDeskList(); }},
        {LVM_GETITEMCOUNT, 0, [&] { state_->ReloadIcons(); }},
    };
    for (int made = 0; made < 2; ++made) {
        state_->RefreshDeskList();
        Pump(500);
        Refreshes.clear();
        std::wstring name = L"a" + std::to_wstring(made) + L".txt"; // before n.txt
        Once = {works[made].inside, [&] {
                    // As a rename leaves it: the item is found once a fill
                    // that began after it lists the folder.
                    desk_.file(name);
                    state_->namebox.FollowUp(name.c_str(), false, state_->deskpath,
                                             state_->fill.FillsBegun());
                    size_t before = Refreshes.size();
                    TakeSentMessagesUntil(
                        [&] { return state_->fill.RefreshWaiting() || Refreshes.size() > before; });
                }};
        works[made].run();
        EXPECT_EQ(Refreshes.size(), works[made].own) << made << ": nothing ran inside";
        ASSERT_TRUE(WaitFor([&] { return !state_->namebox.FollowUpWaiting(); }, 3000));
        Pump(600);
        EXPECT_EQ(Refreshes.size(), works[made].own + 1) << made << ": once after it";
        EXPECT_EQ(ListView_GetItemCount(list), 2 + made);
        EXPECT_EQ(Marks(list), std::to_string(made) + " f" + std::to_string(made)) << made;
    }
}

// Another program's file that sorts before the user's items moves them, not
// the marks; a focused file that goes leaves the focus at its place. A change
// during an edit keeps the typed name, and the refresh follows the edit.
TEST_F(FolderWatcherTest, AnOutsideChangeKeepsTheMarksOnTheirFilesAndWaitsForAnEdit) {
    HWND list = state_->desklist;
    for (const wchar_t* name : {L"b.txt", L"c.txt", L"d.txt", L"e.txt"})
        desk_.file(name);
    state_->RefreshDeskList();
    Pump(500);
    for (int i : {1, 2, 3})
        ListView_SetItemState(list, i, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
    Refreshes.clear();
    desk_.file(L"a.txt");
    ASSERT_TRUE(Refreshed());
    EXPECT_EQ(Marks(list), "2 3 4 f3") << "c.txt, d.txt, e.txt; d.txt focused";
    Refreshes.clear();
    DeleteFileW((desk_ / L"d.txt").c_str());
    ASSERT_TRUE(Refreshed());
    EXPECT_EQ(Marks(list), "2 3 f3");

    SetFocus(list);
    state_->RunCommand(CMD_RENAME); // e.txt, the focused one
    ASSERT_TRUE(state_->namebox.Open());
    SetWindowTextW(state_->namebox.Box(), L"f.txt");
    Refreshes.clear();
    desk_.file(L"0.txt");
    Pump(800);
    ASSERT_TRUE(Refreshes.empty() && state_->namebox.Open()) << "the edit is still open";
    state_->RunCommand(CMD_OPEN); // Enter
    ASSERT_TRUE(Refreshed(1000)) << "the refresh follows the edit at once";
    EXPECT_EQ(Marks(list), "4 f4") << "0 a b c f.txt";
    TempFolder other;
    for (const wchar_t* name : {L"1", L"2", L"3", L"4", L"5"})
        other.file(name);
    CopyText(state_->deskpath, other.path().c_str());
    state_->RefreshDeskList();
    EXPECT_EQ(Marks(list), "f-1") << "a new desk folder: nothing selected, no focus";
}

// A name made while the watcher's refresh fills the list, after the folder
// was read, is listed by a refresh of its own: the change is not dropped.
TEST_F(FolderWatcherTest, ANameMadeDuringTheWatchersRefreshIsListedAfterIt) {
    Once = {LVM_INSERTITEMW, [&] { desk_.file(L"late.txt"); }};
    desk_.file(L"first.txt");
    EXPECT_TRUE(WaitFor([&] { return ListView_GetItemCount(state_->desklist) == 2; }, 5000))
        << Refreshes.size() << " refreshes";
}

// A refresh the watcher asked for that outlasts the stop's bound is handled
// inside the stop, and the watcher then ends: the next folder is watched.
TEST_F(FolderWatcherTest, ARefreshLongerThanTheStopsBoundLosesNoWatcher) {
    Once = {LVM_DELETEALLITEMS, [] { Sleep(5500); }};
    desk_.file(L"x.txt");
    // Without pumping: the watcher's refresh request waits for this thread.
    for (DWORD start = GetTickCount(); !(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) &&
                                       GetTickCount() - start < 5000;)
        Sleep(10);
    EXPECT_TRUE(state_->watcher->Stop(5000)) << "ended within the bound";
    EXPECT_FALSE(Once.step) << "the refresh ran inside the stop";
    watch(desk_.path(), 0);
}

TEST_F(FolderWatcherTest, AStopDuringTheSettlingWaitEndsTheWatcher) {
    desk_.file(L"x.txt");
    Sleep(60); // inside the settling wait
    SetEvent(state_->stopevent);
    EXPECT_EQ(WaitForSingleObject(state_->watcher->thread(), 1000), WAIT_OBJECT_0);
    Pump(600);
    EXPECT_TRUE(Refreshes.empty());
}

TEST_F(FolderWatcherTest, ARemovedFolderCostsNoTimeAfterwards) {
    TempFolder parent;
    parent.folder(L"gone");
    watch(parent / L"gone", 0);
    ASSERT_TRUE(RemoveDirectoryW((parent / L"gone").c_str()));
    Pump(1000);
    auto busyMs = [] {
        FILETIME created, ended, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
        return (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}.QuadPart +
                ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart) /
               10000;
    };
    ULONGLONG before = busyMs();
    Pump(3000);
    EXPECT_LT(busyMs() - before, 300u) << "ms of CPU in 3 s";
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
    HANDLE thread = nullptr; // outlives the watcher
    DuplicateHandle(GetCurrentProcess(), state->watcher->thread(), GetCurrentProcess(), &thread, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    KernelHandle owned(thread);
    desk.file(L"late.txt");
    Sleep(800); // no messages handled: the watcher now waits in its send
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    windows.close();
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
}
