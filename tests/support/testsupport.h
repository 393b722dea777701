#pragma once
// Helpers shared by the tests: temporary folders, the real main window
// created in-process, and the built program started as a user starts it.

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/handles.h"

// The folder that holds the running test program.
std::wstring ModuleFolder();
// The user's Desktop directory as the shell reports it.
std::wstring DesktopFolder();
std::wstring WindowText(HWND window);

// Pumps this thread's messages until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// Handles this thread's messages one at a time until the condition holds,
// so that it is seen between any two of them (a fill's slices, say).
bool StepUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);
class AppState;
// What a test learns of, or does inside, the pictures the list is given from
// now on (the shell's all the same): the files opened for a picture of their
// own or decoded are counted; worker runs inside every call of the worker's,
// window inside every generic icon the window's thread takes.
struct PictureHooks {
    std::atomic<int> made = 0, decoded = 0;
    std::function<void(const wchar_t*path)> worker, window;
};
void HookPictures(AppState* state, PictureHooks& hooks);
// Pumps until the fill under way, if any, is done and every item has its own
// icon; false when that did not happen in time.
bool WaitForIcons(AppState* state, DWORD timeoutMs = 20000);
// Removes every message waiting for this thread (WM_QUIT included).
void DrainMessages();

// A new, empty folder under the temporary folder; removed with its contents.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Creates a file (with optional attributes) or folder inside.
    void file(const std::wstring& name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    void folder(const std::wstring& name, DWORD attributes = 0) const;

  private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);

// The real classes and windows of the program, created in this process.
class MainWindowTest {
  public:
    MainWindowTest();
    ~MainWindowTest();
    MainWindowTest(const MainWindowTest&) = delete;
    MainWindowTest& operator=(const MainWindowTest&) = delete;
    HWND owner() const { return owner_; }
    HWND window() const { return window_; }
    // Destroys the window now (runs the shutdown sequence).
    void close();
    // Where close() has the exit save the settings unless the test chose
    // another file: a file of this object's own, so no test's changes reach the
    // next one. A test that ends the window itself (Exit, log-off) points
    // inipath here first.
    std::wstring settingsPath() const { return settings_ / L"tarvo.ini"; }

  private:
    TempFolder settings_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
};

// The built tarvo.exe, copied into a folder of its own so that its settings
// and language files stay there, started with a command line of arguments.
class ProgramRun {
  public:
    explicit ProgramRun(const std::wstring& folder);
    ~ProgramRun(); // ends the process if it is still running
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    const std::wstring& exePath() const { return exe_; }
    bool start(const std::wstring& arguments);
    // The main window (class "Ta'rvo") of the process, once it exists.
    HWND waitForMainWindow(DWORD timeoutMs = 20000);
    // A top-level dialog box (class "#32770") of the process.
    HWND waitForDialog(DWORD timeoutMs = 20000);
    // Waits for the process to end; returns its exit code, or STILL_ACTIVE.
    DWORD waitForExit(DWORD timeoutMs = 20000);
    DWORD processId() const { return processInfo_.dwProcessId; }

  private:
    HWND findTopLevel(const wchar_t* className) const;
    std::wstring exe_;
    PROCESS_INFORMATION processInfo_ = {};
};

// Writes tarvo.ini beside the program copy with this text, starts it, and
// returns its desk list once the list holds items entries; null otherwise.
HWND StartWithSettings(ProgramRun& run, const std::wstring& settings, int items);
// The same with settings that name only the desk folder and keep the exit
// from writing them.
HWND StartOnDesk(ProgramRun& run, const std::wstring& desk, int items);

// Sends a list-view message whose structure lives in the program's memory.
template <typename T>
LRESULT SendRemote(HWND list, DWORD processId, UINT message, WPARAM wParam, T& data) {
    KernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    void* remote =
        process ? VirtualAllocEx(process.get(), nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE)
                : nullptr;
    if (!remote) return 0;
    WriteProcessMemory(process.get(), remote, &data, sizeof(T), nullptr);
    LRESULT result = SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process.get(), remote, &data, sizeof(T), nullptr);
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return result;
}

// A visible top-level window of the process with this class (and, when one is
// given, this title), or null.
HWND FindTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* title = nullptr);

// The text of the first static control of a dialog that has one.
std::wstring DialogStaticText(HWND dialog);

// The lines the probe tool (tarvo_probe.exe) wrote to its log, each
// "arguments|working folder".
std::vector<std::wstring> ProbeLines(const std::wstring& log);

// Moves the mouse pointer as a user's mouse would; true when it got there.
bool MoveCursorTo(POINT point);

// Real key presses to the focused window: the keys go down in order and come
// up in reverse, so {VK_SHIFT, VK_DELETE} is Shift+Del.
void PressKeys(std::initializer_list<WORD> keys);
// Waits for FindTopLevelWindow to find one; null when none came in time.
HWND WaitForTopLevelWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs = 10000);

// Opens a modal box of this process with open() and, from a second thread,
// hands the box (class "#32770") to answer once it is up; false when none came.
bool AnswerDialog(const std::function<void()>& open, const std::function<void(HWND)>& answer);

bool PathExists(const std::wstring& path);
// A picture all of one colour and opacity, written by container's encoder
// (GUID_ContainerFormatPng and the like).
bool WritePicture(const std::wstring& path, const GUID& container, SIZE size, COLORREF colour,
                  BYTE alpha = 255);
// A 16x16 icon file all of one colour.
bool WriteIconFile(const std::wstring& path, COLORREF colour);
// Entries whose picture is their own, nine: two copies of the built program
// (Tool.exe, Tool copy.EXE), an empty one, two icon files (red.ico, blue.ico),
// shortcuts to Tool.exe (Tool.lnk), to notepad (Mail.lnk) and one naming
// red.ico (Named.lnk), a customised folder (Custom); and seven whose is their
// type's: a plain folder (Plain), a.txt, b.txt, c.pdf, d.zip, e.qqx, f.qqx.
bool MakeEntriesOfEveryKind(const TempFolder& desk);
// What the image list draws of its image index on background, pixel by
// pixel from the top row down.
std::vector<DWORD> DrawImage(HIMAGELIST list, int index, COLORREF background);
struct MadeIcon;
// The same of a list of size on background holding made, else fallback.
std::vector<DWORD> DrawMade(const MadeIcon& made, HICON fallback, SIZE size, COLORREF background);
// What the shell's pictures make of the item at path, as the list shows it:
// its own picture, else its kind's generic icon.
std::vector<DWORD> ShellPicture(const std::wstring& path, SIZE size, COLORREF background);
// Colours alike within tolerance in each of red, green and blue.
bool Near(COLORREF a, COLORREF b, int tolerance = 24);
// Keys pressed one after the other (each down and up), and typed characters,
// sent as a keyboard sends them.
void TapKeys(std::initializer_list<WORD> keys);
void TypeText(const std::wstring& text);
// Moves the pointer to a screen point and clicks the left (or right) button
// count times.
void ClickAt(POINT point, int count = 1, bool right = false);
// Starts a command line without a window; the process handle, or null.
KernelHandle StartHidden(std::wstring command);
