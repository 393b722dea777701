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
bool MakeLink(const std::wstring& path, const std::wstring& target,
              const std::wstring& arguments = L"", const std::wstring& startIn = L"") {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.putVoid())))
        return false;
    if (FAILED(link->SetPath(target.c_str())) ||
        (!arguments.empty() && FAILED(link->SetArguments(arguments.c_str()))) ||
        (!startIn.empty() && FAILED(link->SetWorkingDirectory(startIn.c_str()))))
        return false;
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
    // each case works in a folder of its own there and under the same name on
    // C:, as cases run side by side. Drive F: does not exist. Both folders
    // hold Tools\app.exe, the twins of a target on F: that has gone.
    void SetUp() override {
        ASSERT_NE(GetFileAttributesW(L"E:\\"), INVALID_FILE_ATTRIBUTES)
            << "drive E: is not mapped; run the tests through ./test.sh";
        ASSERT_EQ(GetFileAttributesW(L"F:\\"), INVALID_FILE_ATTRIBUTES);
        static int counter = 0;
        rest_ = L":\\tarvo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        e_ = on(L'E');
        for (wchar_t drive : {L'E', L'C'}) {
            ASSERT_TRUE(CreateDirectoryW(on(drive).c_str(), nullptr));
            ASSERT_TRUE(CreateDirectoryW(on(drive, L"Tools").c_str(), nullptr));
            WriteBytes(on(drive, L"Tools\\app.exe"), "");
        }
    }
    void TearDown() override {
        RemoveTree(on(L'E'));
        RemoveTree(on(L'C'));
    }
    // This case's folder on a drive, or a name in it.
    std::wstring on(wchar_t drive, const std::wstring& name = L"") const {
        return std::wstring(1, drive) + rest_ + (name.empty() ? L"" : L"\\" + name);
    }
    // The program's copy in a folder of the given drive path.
    std::wstring placeProgram(const std::wstring& folder) {
        CreateDirectoryW(folder.c_str(), nullptr);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring exe = folder + L"\\tarvo_shell_tests.exe";
        EXPECT_TRUE(CopyFileW(self, exe.c_str(), FALSE));
        return exe;
    }
    // A desk of shortcuts, each of which the fix-up must treat its own way:
    // Again and Capital have lost their target, which has a twin on the
    // desk's drive; Lone's has none; Local's target is there on C:.
    void makeDesk(const std::wstring& desk) {
        CreateDirectoryW(desk.c_str(), nullptr);
        ASSERT_TRUE(MakeLink(desk + L"\\Again.lnk", on(L'F', L"Tools\\app.exe")));
        ASSERT_TRUE(MakeLink(desk + L"\\Capital.LNK", on(L'F', L"Tools\\app.exe")));
        ASSERT_TRUE(MakeLink(desk + L"\\Lone.lnk", on(L'F', L"Tools\\gone.exe")));
        ASSERT_TRUE(MakeLink(desk + L"\\Local.lnk", on(L'C', L"Tools\\app.exe")));
        ASSERT_TRUE(MakeLink(desk + L"\\Share.lnk", L"\\\\server\\share\\app.exe"));
        WriteBytes(desk + L"\\Broken.lnk", "not a link");
        for (const wchar_t* name :
             {L"Again.lnk", L"Capital.LNK", L"Lone.lnk", L"Local.lnk", L"Share.lnk", L"Broken.lnk"})
            before_[name] = FileBytes(desk + L"\\" + name);
    }
    void expectUnchanged(const std::wstring& desk, std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names)
            EXPECT_EQ(FileBytes(desk + L"\\" + name), before_[name]) << name;
    }
    void expectUnchanged(const std::wstring& desk) {
        for (const auto& [name, bytes] : before_) EXPECT_EQ(FileBytes(desk + L"\\" + name), bytes) << name;
    }

    OleSession ole_;
    std::wstring rest_, e_;
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
    std::wstring again = std::wstring(desk) + L"\\Again.lnk", target = LinkTarget(again);
    MainWindowTest windows;
    AppState* state = TheAppState;
    ASSERT_NE(state, nullptr);
    CopyText(state->deskpath, desk);
    // What applying the settings does with convertlinks set.
    state->convertpending = armed[0] == L'1';
    state->RefreshDeskList();
    EXPECT_FALSE(state->convertpending);
    EXPECT_EQ(ListView_GetItemCount(state->desklist), 6);

    ShortcutFile shortcut;
    ASSERT_EQ(shortcut.Open(), S_OK);
    ASSERT_TRUE(shortcut.Retarget(target.c_str(), again.c_str()));
    shortcut.Close();
    state->RefreshDeskList();
}

TEST_F(DriveFixUp, FromAnotherDriveWithTheDeskOnItLostTargetsAreMovedOnce) {
    std::wstring exe = placeProgram(e_ + L"\\bin");
    std::wstring desk = e_ + L"\\Desk";
    makeDesk(desk);
    ASSERT_EQ(RunFixUpStart(exe, desk, true), 0u);
    EXPECT_EQ(LinkTarget(desk + L"\\Capital.LNK"), on(L'E', L"Tools\\app.exe"))
        << "a capital .LNK counts";
    EXPECT_EQ(LinkTarget(desk + L"\\Again.lnk"), on(L'F', L"Tools\\app.exe"))
        << "not again on refresh";
    expectUnchanged(desk, {L"Lone.lnk", L"Local.lnk", L"Share.lnk", L"Broken.lnk"});
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

// Where the fix-up moves a target, decided on real drives: only a target
// that is gone, to a twin that exists on the desk folder's drive.
TEST_F(DriveFixUp, OnlyAMissingTargetWithATwinOnTheDesksDriveIsMoved) {
    // A twin whose path takes all 259 units.
    std::wstring fill(kPathUnits - 2 - on(L'E').size(), L'n');
    WriteBytes(on(L'E', fill), "");
    const std::wstring moved = on(L'E', L"Tools\\app.exe");
    struct Case {
        std::wstring target;
        const wchar_t* moved; // null: left alone
    } cases[] = {
        {on(L'F', L"Tools\\app.exe"), moved.c_str()},
        {on(L'F', L"Tools\\gone.exe"), nullptr}, // no twin
        {on(L'C', L"Tools\\app.exe"), nullptr},  // still there
        {on(L'e', L"Tools\\app.exe"), nullptr},  // the desk's drive in small letters
        {on(L'F', fill), nullptr},               // fills the buffer: may have been cut
        {L"\\\\server\\share\\app.exe", nullptr},
        {L"Tools\\app.exe", nullptr},
        {L"", nullptr},
        {L"1:\\x", nullptr},
        {L"\\\\?\\F:\\x", nullptr},
    };
    ASSERT_EQ(on(L'F', fill).size(), kPathUnits - 1);
    for (const Case& c : cases) {
        wchar_t out[kPathUnits] = L"untouched";
        EXPECT_EQ(RetargetedToDrive(c.target.c_str(), L"E:\\Desk", out), c.moved != nullptr)
            << c.target;
        EXPECT_STREQ(out, c.moved ? c.moved : L"untouched") << c.target;
    }
}

// One start of the built program from drive E: with its desk there: the
// fix-up at start-up, shortcuts opened through the shell, and tool lines
// with options, with the probe standing in for every program started.
TEST_F(DriveFixUp, TheBuiltProgramFixesOnlyLostLinksAndStartsThemAsTheyAreSetUp) {
    std::wstring bin = e_ + L"\\bin", desk = e_ + L"\\Desk", start = e_ + L"\\Start";
    CreateDirectoryW(bin.c_str(), nullptr);
    CreateDirectoryW(start.c_str(), nullptr);
    std::wstring probe = bin + L"\\probe.exe", log = bin + L"\\probe.log";
    ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\tarvo_probe.exe").c_str(), probe.c_str(), FALSE));
    makeDesk(desk);
    ASSERT_TRUE(MakeLink(desk + L"\\Probe.lnk", probe, L"--profile \"Second One\"", start));
    ASSERT_TRUE(MakeLink(desk + L"\\Gone.lnk", e_ + L"\\gone.exe"));
    ProgramRun run(bin);
    HWND list = StartWithSettings(run,
                                  L"[Portable]\r\nconvertlinks=TRUE\r\nfolder=" + desk +
                                      L"\r\nfilemanager=" + probe + L" /e,\r\ncmdprocessor=" +
                                      probe + L" /k dir\r\n[Settings]\r\nsavesettings=FALSE\r\n",
                                  8);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(LinkTarget(desk + L"\\Again.lnk"), on(L'E', L"Tools\\app.exe"));
    EXPECT_EQ(LinkTarget(desk + L"\\Capital.LNK"), on(L'E', L"Tools\\app.exe"));
    expectUnchanged(desk, {L"Lone.lnk", L"Local.lnk", L"Share.lnk"});

    HWND window = GetParent(list);
    SetWindowPos(window, HWND_TOPMOST, 560, 360, 420, 320, SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    auto lastLine = [&](const std::wstring& line) {
        return WaitFor([&] { return !ProbeLines(log).empty() && ProbeLines(log).back() == line; });
    };
    // The list finds an item by the first letters typed.
    TypeText(L"Probe");
    TapKeys({VK_RETURN});
    EXPECT_TRUE(lastLine(L"--profile \"Second One\"|" + start))
        << "the shortcut's own arguments and folder";
    Sleep(1000); // the list's search starts afresh after a pause
    TypeText(L"Gone");
    TapKeys({VK_RETURN});
    PressKeys({VK_F9});
    EXPECT_TRUE(lastLine(L"/e, \"" + desk + L"\"|" + desk));
    PressKeys({VK_F10});
    EXPECT_TRUE(lastLine(L"/k dir|" + desk));
    EXPECT_EQ(ProbeLines(log).size(), 3u) << "the broken shortcut started no file manager";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.waitForExit(), 0u);
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
