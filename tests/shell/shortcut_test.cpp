// Shortcut files through the shell's link object, and the drive-letter
// fix-up of a desk carried on a removable drive.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <thread>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "shell/drivefixup.h"
#include "shell/shortcutfile.h"
#include "support/testsupport.h"

namespace {

// A real shortcut, made the way the shell makes them.
bool MakeLink(const std::wstring& path, const std::wstring& target) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.putVoid())))
        return false;
    if (FAILED(link->SetPath(target.c_str()))) return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
    return SUCCEEDED(file->Save(path.c_str(), TRUE));
}

std::wstring LinkTarget(const std::wstring& path) {
    ShortcutFile shortcut;
    wchar_t target[kPathUnits] = L"(unread)";
    if (SUCCEEDED(shortcut.Open())) shortcut.ReadTarget(path.c_str(), target);
    return target;
}

std::string FileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

class Shortcuts : public ::testing::Test {
  protected:
    OleSession ole_;
    TempFolder folder_;
};

} // namespace

TEST(DriveFixUpDecision, OnlyFromADriveOtherThanCWithTheDeskOnIt) {
    EXPECT_TRUE(DriveFixUpApplies(L"E:\\Tools\\tarvo.exe", L"E:\\Desk"));
    EXPECT_TRUE(DriveFixUpApplies(L"e:\\tarvo.exe", L"E:\\"));
    EXPECT_FALSE(DriveFixUpApplies(L"C:\\Tools\\tarvo.exe", L"C:\\Desk"));
    EXPECT_FALSE(DriveFixUpApplies(L"c:\\Tools\\tarvo.exe", L"c:\\Desk"));
    EXPECT_FALSE(DriveFixUpApplies(L"E:\\Tools\\tarvo.exe", L"F:\\Desk"));
    // Without drive letters there is no letter to carry over.
    EXPECT_FALSE(DriveFixUpApplies(L"\\\\server\\share\\tarvo.exe", L"\\\\server\\share\\Desk"));
    EXPECT_FALSE(DriveFixUpApplies(L"E:\\tarvo.exe", L"\\\\server\\E:"));
    EXPECT_FALSE(DriveFixUpApplies(L"", L""));
}

TEST(DriveFixUpDecision, OnlyDriveLetterTargetsOnAnotherLetterAreMoved) {
    wchar_t out[kPathUnits] = L"untouched";
    EXPECT_TRUE(RetargetedToDrive(L"F:\\Tools\\app.exe", L"E:\\Desk", out));
    EXPECT_STREQ(out, L"E:\\Tools\\app.exe");
    EXPECT_TRUE(RetargetedToDrive(L"e:\\Tools\\app.exe", L"E:\\Desk", out))
        << "the letter is written as the desk folder spells it";
    EXPECT_STREQ(out, L"E:\\Tools\\app.exe");

    wcscpy(out, L"untouched");
    for (const wchar_t* target : {L"E:\\Tools\\app.exe", L"\\\\server\\share\\app.exe",
                                  L"Tools\\app.exe", L"", L"F", L"1:\\x", L"\\\\?\\F:\\x"}) {
        EXPECT_FALSE(RetargetedToDrive(target, L"E:\\Desk", out)) << target;
    }
    EXPECT_STREQ(out, L"untouched");

    // A target that fills the whole buffer may have been cut when it was read.
    std::wstring full = L"F:\\" + std::wstring(kPathUnits - 4, L'x');
    ASSERT_EQ(full.size(), kPathUnits - 1);
    EXPECT_FALSE(RetargetedToDrive(full.c_str(), L"E:\\Desk", out));
    full.pop_back();
    EXPECT_TRUE(RetargetedToDrive(full.c_str(), L"E:\\Desk", out));
}

TEST_F(Shortcuts, ReadsTheStoredTargetAndRetargetsInPlace) {
    std::wstring link = folder_ / L"Tool.lnk";
    ASSERT_TRUE(MakeLink(link, L"C:\\windows\\notepad.exe"));
    ShortcutFile shortcut;
    ASSERT_EQ(shortcut.Open(), S_OK);
    wchar_t target[kPathUnits] = L"Tool.lnk";
    EXPECT_TRUE(shortcut.ReadTarget(link.c_str(), target));
    EXPECT_STREQ(target, L"C:\\windows\\notepad.exe");
    EXPECT_TRUE(shortcut.Retarget(L"C:\\windows\\regedit.exe", link.c_str()));
    shortcut.Close();
    EXPECT_EQ(LinkTarget(link), L"C:\\windows\\regedit.exe");
    shortcut.Close(); // a second close is harmless
}

TEST_F(Shortcuts, AFileThatIsNoShortcutIsNotReadAndNeverWritten) {
    std::wstring broken = folder_ / L"Broken.lnk";
    WriteBytes(broken, "this is not a shell link");
    ShortcutFile shortcut;
    ASSERT_EQ(shortcut.Open(), S_OK);
    wchar_t target[kPathUnits] = L"Broken.lnk";
    EXPECT_FALSE(shortcut.ReadTarget(broken.c_str(), target));
    EXPECT_STREQ(target, L"Broken.lnk") << "the caller's text stays";
    EXPECT_FALSE(shortcut.ReadTarget((folder_ / L"Missing.lnk").c_str(), target));
    shortcut.Close();

    EXPECT_FALSE(FixShortcutDrive(broken.c_str(), L"E:\\Desk"));
    EXPECT_EQ(FileBytes(broken), "this is not a shell link");
    EXPECT_FALSE(FixShortcutDrive((folder_ / L"Missing.lnk").c_str(), L"E:\\Desk"));
    EXPECT_EQ(GetFileAttributesW((folder_ / L"Missing.lnk").c_str()), INVALID_FILE_ATTRIBUTES);

    ShortcutFile unopened;
    EXPECT_FALSE(unopened.ReadTarget(broken.c_str(), target));
    EXPECT_FALSE(unopened.Retarget(L"C:\\x.exe", broken.c_str()));
}

TEST_F(Shortcuts, TheFixUpRewritesOnlyTargetsOnAnotherDriveLetter) {
    std::wstring away = folder_ / L"Away.lnk", home = folder_ / L"Home.LNK", unc = folder_ / L"Share.lnk";
    ASSERT_TRUE(MakeLink(away, L"F:\\Tools\\app.exe"));
    ASSERT_EQ(LinkTarget(away), L"F:\\Tools\\app.exe");
    ASSERT_TRUE(MakeLink(home, L"E:\\Tools\\app.exe"));
    ASSERT_TRUE(MakeLink(unc, L"\\\\server\\share\\app.exe"));
    std::string homeBytes = FileBytes(home), uncBytes = FileBytes(unc);

    EXPECT_TRUE(FixShortcutDrive(away.c_str(), L"E:\\Desk"));
    EXPECT_EQ(LinkTarget(away), L"E:\\Tools\\app.exe");
    EXPECT_FALSE(FixShortcutDrive(home.c_str(), L"E:\\Desk"));
    EXPECT_EQ(FileBytes(home), homeBytes);
    EXPECT_FALSE(FixShortcutDrive(unc.c_str(), L"E:\\Desk"));
    EXPECT_EQ(FileBytes(unc), uncBytes);
}

// The whole fix-up as a start of the program runs it, with the program on
// one Wine drive and the desk folder on the same or another. The program is
// this test program itself, copied onto that drive and started there to run
// the disabled case below.
namespace {

constexpr wchar_t kArmVariable[] = L"TARVO_FIXUP_ARM";
constexpr wchar_t kDeskVariable[] = L"TARVO_FIXUP_DESK";

// Starts the copy of this test program at exe on the fix-up case; returns
// its exit code.
DWORD RunFixUpStart(const std::wstring& exe, const std::wstring& desk, bool armed) {
    SetEnvironmentVariableW(kDeskVariable, desk.c_str());
    SetEnvironmentVariableW(kArmVariable, armed ? L"1" : L"0");
    std::wstring command = L"\"" + exe +
                           L"\" --gtest_also_run_disabled_tests --gtest_filter=DriveFixUpStart.DISABLED_FillsTwice";
    std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    DWORD code = 999;
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 998);
            WaitForSingleObject(process.hProcess, 5000);
        }
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SetEnvironmentVariableW(kDeskVariable, nullptr);
    SetEnvironmentVariableW(kArmVariable, nullptr);
    return code;
}

class DriveFixUp : public ::testing::Test {
  protected:
    // Drive E: is mapped in the prefix by the test command (tools/wine-env.sh);
    // each case works in a folder of its own there, as cases run side by side.
    void SetUp() override {
        ASSERT_NE(GetFileAttributesW(L"E:\\"), INVALID_FILE_ATTRIBUTES)
            << "drive E: is not mapped; run the tests through ./test.sh";
        static int counter = 0;
        e_ = L"E:\\tarvo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        ASSERT_TRUE(CreateDirectoryW(e_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(e_); }
    // The program's copy in a folder of the given drive path.
    std::wstring placeProgram(const std::wstring& folder) {
        CreateDirectoryW(folder.c_str(), nullptr);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring exe = folder + L"\\tarvo_shell_tests.exe";
        EXPECT_TRUE(CopyFileW(self, exe.c_str(), FALSE));
        return exe;
    }
    // A desk of shortcuts, each of which the fix-up must treat its own way.
    void makeDesk(const std::wstring& desk) {
        CreateDirectoryW(desk.c_str(), nullptr);
        ASSERT_TRUE(MakeLink(desk + L"\\Again.lnk", L"F:\\Tools\\app.exe"));
        ASSERT_TRUE(MakeLink(desk + L"\\Capital.LNK", L"F:\\Tools\\app.exe"));
        ASSERT_TRUE(MakeLink(desk + L"\\Share.lnk", L"\\\\server\\share\\app.exe"));
        WriteBytes(desk + L"\\Broken.lnk", "not a link");
        for (const wchar_t* name : {L"Again.lnk", L"Capital.LNK", L"Share.lnk", L"Broken.lnk"})
            before_[name] = FileBytes(desk + L"\\" + name);
    }
    void expectUnchanged(const std::wstring& desk) {
        for (const auto& [name, bytes] : before_) EXPECT_EQ(FileBytes(desk + L"\\" + name), bytes) << name;
    }

    OleSession ole_;
    std::wstring e_;
    TempFolder other_;
    std::map<std::wstring, std::string> before_;
};

} // namespace

// Run only as the copy started by the cases below: one start's first fill,
// then the shortcut set back by hand and a refresh, which must not convert.
TEST(DriveFixUpStart, DISABLED_FillsTwice) {
    wchar_t desk[kPathUnits] = L"", armed[8] = L"";
    ASSERT_TRUE(GetEnvironmentVariableW(kDeskVariable, desk, kPathUnits));
    GetEnvironmentVariableW(kArmVariable, armed, 8);
    MainWindowTest windows;
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    CopyText(state->deskpath, desk);
    // What applying the settings does with convertlinks set.
    state->convertpending = armed[0] == L'1';
    state->RefreshDeskList();
    EXPECT_FALSE(state->convertpending);
    EXPECT_EQ(ListView_GetItemCount(state->desklist), 4);

    std::wstring again = std::wstring(desk) + L"\\Again.lnk";
    ShortcutFile shortcut;
    ASSERT_EQ(shortcut.Open(), S_OK);
    ASSERT_TRUE(shortcut.Retarget(L"F:\\Tools\\app.exe", again.c_str()));
    shortcut.Close();
    state->RefreshDeskList();
}

TEST_F(DriveFixUp, FromAnotherDriveWithTheDeskOnItTargetsAreMovedOnce) {
    std::wstring exe = placeProgram(e_ + L"\\bin");
    std::wstring desk = e_ + L"\\Desk";
    makeDesk(desk);
    ASSERT_EQ(RunFixUpStart(exe, desk, true), 0u);
    EXPECT_EQ(LinkTarget(desk + L"\\Capital.LNK"), L"E:\\Tools\\app.exe") << "a capital .LNK counts";
    EXPECT_EQ(LinkTarget(desk + L"\\Again.lnk"), L"F:\\Tools\\app.exe") << "not again on refresh";
    EXPECT_EQ(FileBytes(desk + L"\\Share.lnk"), before_[L"Share.lnk"]);
    EXPECT_EQ(FileBytes(desk + L"\\Broken.lnk"), before_[L"Broken.lnk"]);
}

TEST_F(DriveFixUp, NothingChangesOnCOnAnotherDriveOrWhenNotAsked) {
    std::wstring onE = placeProgram(e_ + L"\\bin");
    makeDesk(e_ + L"\\Desk");
    EXPECT_EQ(RunFixUpStart(onE, e_ + L"\\Desk", false), 0u) << "convertlinks off";
    expectUnchanged(e_ + L"\\Desk");

    std::wstring desk = other_ / L"Desk";
    makeDesk(desk);
    EXPECT_EQ(RunFixUpStart(onE, desk, true), 0u) << "the desk on C, the program on E";
    expectUnchanged(desk);

    std::wstring onC = placeProgram(other_ / L"bin");
    EXPECT_EQ(RunFixUpStart(onC, desk, true), 0u) << "program and desk on C";
    expectUnchanged(desk);
}

TEST_F(DriveFixUp, TheBuiltProgramWithConvertLinksRewritesTheLinksAtStartUp) {
    std::wstring bin = e_ + L"\\bin";
    CreateDirectoryW(bin.c_str(), nullptr);
    std::wstring desk = e_ + L"\\Desk";
    makeDesk(desk);
    ProgramRun run(bin);
    std::wstring settings = L"\xFEFF[Portable]\r\nconvertlinks=TRUE\r\nfolder=" + desk + L"\r\n";
    WriteBytes(bin + L"\\tarvo.ini", std::string(reinterpret_cast<const char*>(settings.data()),
                                                 settings.size() * sizeof(wchar_t)));
    ASSERT_TRUE(run.start(L""));
    HWND window = run.waitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitFor([&] { return WindowText(window) == desk + L" - Ta'rvo"; }));
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(run.waitForExit(), 0u);
    EXPECT_EQ(LinkTarget(desk + L"\\Again.lnk"), L"E:\\Tools\\app.exe");
    EXPECT_EQ(LinkTarget(desk + L"\\Capital.LNK"), L"E:\\Tools\\app.exe");
    EXPECT_EQ(FileBytes(desk + L"\\Share.lnk"), before_[L"Share.lnk"]);
}

// A thread in the multithreaded apartment keeps its COM after a shortcut is
// opened and closed on it: nothing is uninitialised that was not initialised.
TEST(ShortcutCom, LeavesTheCallersMultithreadedComAsItWas) {
    HRESULT after = E_FAIL;
    std::thread([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        {
            ShortcutFile shortcut;
            shortcut.Open();
        }
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED); // S_FALSE: still initialised
        if (SUCCEEDED(after)) CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(after, S_FALSE);
}
