#include "support/testsupport.h"

#include "settings/filebytes.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wincodec.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "desk/deskicons.h"
#include "app/program.h"
#include "shell/shortcutfile.h"

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
    return path;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

void DrainMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) DispatchMessageW(&message);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(temp) + L"tarvo-test-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void TempFolder::file(const std::wstring& name, DWORD attributes) const {
    HANDLE file = CreateFileW((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              attributes, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void TempFolder::folder(const std::wstring& name, DWORD attributes) const {
    std::wstring full = *this / name;
    CreateDirectoryW(full.c_str(), nullptr);
    if (attributes) SetFileAttributesW(full.c_str(), attributes);
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

bool StepUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); !condition();) {
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        else if (GetTickCount() - start > timeoutMs)
            return false;
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

bool WaitForIcons(AppState* state, DWORD timeoutMs) {
    return WaitFor([&] { return !state->fill.Busy() && state->icons.Pending() == 0; }, timeoutMs);
}

MainWindowTest::MainWindowTest() {
    Application.instance = GetModuleHandleW(nullptr);
    RegisterWindowClasses(Application.instance);
    owner_ = CreateOwnerWindow();
    window_ = CreateMainWindow(owner_);
    Application.mainwindow = window_;
}

void MainWindowTest::close() {
    // The exit saves the settings; the file beside the test program would
    // carry one test's changes into the next, so that save goes elsewhere.
    if (TheAppState && std::wstring(TheAppState->inipath) == ModuleFolder() + L"\\tarvo.ini")
        CopyText(TheAppState->inipath, settingsPath().c_str());
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
    Application.mainwindow = nullptr;
    DrainMessages();
}

MainWindowTest::~MainWindowTest() {
    close();
    if (owner_) DestroyWindow(owner_);
    DrainMessages();
}

ProgramRun::ProgramRun(const std::wstring& folder) {
    exe_ = folder + L"\\tarvo.exe";
    std::wstring built = ModuleFolder() + L"\\..\\tarvo.exe";
    CopyFileW(built.c_str(), exe_.c_str(), FALSE);
}

ProgramRun::~ProgramRun() {
    if (processInfo_.hProcess) {
        if (WaitForSingleObject(processInfo_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(processInfo_.hProcess, 99);
            WaitForSingleObject(processInfo_.hProcess, 5000);
        }
        CloseHandle(processInfo_.hProcess);
        CloseHandle(processInfo_.hThread);
    }
}

bool ProgramRun::start(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe_ + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring folder = exe_.substr(0, exe_.find_last_of(L'\\'));
    return CreateProcessW(exe_.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &processInfo_) != FALSE;
}

HWND FindTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    struct Search {
        DWORD pid;
        const wchar_t* className;
        const wchar_t* title;
        HWND found;
    } search = {processId, className, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            wchar_t name[64] = L"";
            GetClassNameW(window, name, 64);
            if (pid == s->pid && wcscmp(name, s->className) == 0 && IsWindowVisible(window) &&
                (!s->title || WindowText(window) == s->title)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramRun::findTopLevel(const wchar_t* className) const {
    return FindTopLevelWindow(processInfo_.dwProcessId, className);
}

HWND ProgramRun::waitForMainWindow(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = findTopLevel(L"Ta'rvo")) != nullptr; }, timeoutMs);
    return found;
}

HWND ProgramRun::waitForDialog(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = findTopLevel(L"#32770")) != nullptr; }, timeoutMs);
    return found;
}

DWORD ProgramRun::waitForExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (!processInfo_.hProcess) return code;
    if (WaitForSingleObject(processInfo_.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(processInfo_.hProcess, &code);
    return code;
}

std::wstring DialogStaticText(HWND dialog) {
    std::wstring found;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM param) -> BOOL {
            wchar_t name[64] = L"";
            GetClassNameW(child, name, 64);
            std::wstring text = WindowText(child);
            if (_wcsicmp(name, L"Static") == 0 && !text.empty()) {
                *reinterpret_cast<std::wstring*>(param) = text;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<std::wstring> ProbeLines(const std::wstring& log) {
    std::vector<std::wstring> lines;
    HANDLE file = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos;
         start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool MoveCursorTo(POINT point) {
    // Under Wine a SetCursorPos from a process other than the one whose
    // window holds the pointer can be ignored; a mouse movement always counts.
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof move);
    SetCursorPos(point.x, point.y);
    return WaitFor(
        [&] {
            POINT at = {};
            GetCursorPos(&at);
            return at.x == point.x && at.y == point.y;
        },
        2000);
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs(2 * keys.size());
    size_t i = 0;
    for (WORD key : keys) {
        INPUT& down = inputs[i];
        INPUT& up = inputs[inputs.size() - 1 - i++];
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wVk = up.ki.wVk = key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND WaitForTopLevelWindow(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopLevelWindow(processId, className)) != nullptr; },
            timeoutMs);
    return found;
}

bool AnswerDialog(const std::function<void()>& open, const std::function<void(HWND)>& answer) {
    HWND box = nullptr;
    std::thread user([&] {
        for (int i = 0; i < 500 && !box; ++i, Sleep(20))
            box = FindTopLevelWindow(GetCurrentProcessId(), L"#32770");
        if (box) answer(box);
    });
    open();
    user.join();
    return box != nullptr;
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

void SendKeys(const std::vector<INPUT>& downs) {
    std::vector<INPUT> input;
    for (INPUT down : downs) {
        input.push_back(down);
        down.ki.dwFlags |= KEYEVENTF_KEYUP;
        input.push_back(down);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

INPUT Input(DWORD type) {
    INPUT input = {};
    input.type = type;
    return input;
}

} // namespace

void TapKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> downs(keys.size(), Input(INPUT_KEYBOARD));
    for (size_t i = 0; i < keys.size(); ++i)
        downs[i].ki.wVk = keys.begin()[i];
    SendKeys(downs);
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> downs(text.size(), Input(INPUT_KEYBOARD));
    for (size_t i = 0; i < text.size(); ++i) {
        downs[i].ki.wScan = text[i];
        downs[i].ki.dwFlags = KEYEVENTF_UNICODE;
    }
    SendKeys(downs);
}

void ClickAt(POINT point, int count, bool right) {
    MoveCursorTo(point);
    std::vector<INPUT> clicks(2 * count, Input(INPUT_MOUSE));
    for (size_t i = 0; i < clicks.size(); ++i)
        clicks[i].mi.dwFlags = right ? (i % 2 ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN)
                                     : (i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN);
    SendInput(static_cast<UINT>(clicks.size()), clicks.data(), sizeof(INPUT));
}

KernelHandle StartHidden(std::wstring command) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return KernelHandle();
    CloseHandle(process.hThread);
    return KernelHandle(process.hProcess);
}

HWND StartOnDesk(ProgramRun& run, const std::wstring& desk, int items) {
    return StartWithSettings(
        run, L"[Portable]\r\nfolder=" + desk + L"\r\n[Settings]\r\nsavesettings=FALSE\r\n", items);
}

HWND StartWithSettings(ProgramRun& run, const std::wstring& settings, int items) {
    std::wstring ini = run.exePath().substr(0, run.exePath().rfind(L'\\')) + L"\\tarvo.ini";
    // Each way this can fail says which, for the caller's check to show.
    auto fail = [](const char* why) {
        ADD_FAILURE() << why << " (error " << GetLastError() << ")";
        return static_cast<HWND>(nullptr);
    };
    if (!WriteUtf16(ini, settings)) return fail("settings file not written");
    if (!run.start(L"")) return fail("program not started");
    HWND window = run.waitForMainWindow();
    // The window exists while it is still being created: its list comes later.
    HWND list = nullptr;
    if (!window || !WaitFor([&] {
            return (list = FindWindowExW(window, nullptr, L"SysListView32", nullptr)) != nullptr;
        }))
        return fail(window ? "no desk list in the window" : "no window");
    if (!WaitFor([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == items; }))
        return fail("the list never held every item");
    // Input goes by what the user sees: the list is painted once its fill
    // has ended, a message or two after its last item went in.
    for (int i = 0; i < 10; ++i) {
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Sleep(30);
    }
    return list;
}

// A picture all of one colour and opacity, written by container's encoder.
bool WritePicture(const std::wstring& path, const GUID& container, SIZE size, COLORREF colour,
                  BYTE alpha) {
    const BYTE pixel[4] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), alpha};
    std::vector<BYTE> pixels(static_cast<size_t>(size.cx) * size.cy * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = pixel[i % 4];
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, factory.putVoid())) &&
           SUCCEEDED(factory->CreateBitmapFromMemory(size.cx, size.cy, format, size.cx * 4,
                                                     static_cast<UINT>(pixels.size()),
                                                     pixels.data(), bitmap.put())) &&
           SUCCEEDED(factory->CreateStream(stream.put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.put())) &&
           SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.put(), options.put())) &&
           SUCCEEDED(frame->Initialize(options.get())) &&
           SUCCEEDED(frame->SetSize(size.cx, size.cy)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

bool WriteIconFile(const std::wstring& path, COLORREF colour) {
    // The directory of one 16x16 32-bit image of 1128 bytes at offset 22,
    // then its header (twice as tall: pixels and mask), pixels and mask.
    std::string bytes("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\x68\x04\0\0\x16\0\0\0", 22);
    BITMAPINFOHEADER header = {sizeof header, 16, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    for (int i = 0; i < 16 * 16; ++i)
        bytes +=
            {char(GetBValue(colour)), char(GetGValue(colour)), char(GetRValue(colour)), '\xFF'};
    return WriteBytes(path, bytes + std::string(16 * 4, '\0')); // the mask: every pixel shown
}

std::vector<DWORD> DrawImage(HIMAGELIST list, int index, COLORREF background) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    GdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    GdiObject brush(CreateSolidBrush(background));
    RECT all = {0, 0, cx, cy};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
    ImageList_Draw(list, index, dc.get(), 0, 0, ILD_NORMAL);
    GdiFlush();
    SelectObject(dc.get(), old);
    auto first = static_cast<const DWORD*>(bits);
    return std::vector<DWORD>(first, first + cx * cy);
}

bool MakeEntriesOfEveryKind(const TempFolder& desk) {
    std::wstring program = ModuleFolder() + L"\\..\\tarvo.exe";
    for (const wchar_t* copy : {L"Tool.exe", L"Tool copy.EXE"})
        if (!CopyFileW(program.c_str(), (desk / copy).c_str(), FALSE)) return false;
    desk.file(L"empty.exe");
    // Some systems keep no read-only mark on a folder; the system mark says the same.
    desk.folder(L"Custom", FILE_ATTRIBUTE_SYSTEM);
    desk.file(L"Custom\\desktop.ini");
    desk.folder(L"Plain");
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.pdf", L"d.zip", L"e.qqx", L"f.qqx"})
        desk.file(name);
    ShortcutFile shortcut;
    ComPtr<IShellLinkW> named;
    ComPtr<IPersistFile> namedFile;
    // Named.lnk, read before Tool.lnk, names an icon of its own: it must not
    // carry over to the next shortcut read.
    return WriteIconFile(desk / L"red.ico", RGB(255, 0, 0)) &&
           WriteIconFile(desk / L"blue.ico", RGB(0, 0, 255)) && SUCCEEDED(shortcut.Open()) &&
           shortcut.Retarget((desk / L"Tool.exe").c_str(), (desk / L"Tool.lnk").c_str()) &&
           shortcut.Retarget(L"C:\\windows\\notepad.exe", (desk / L"Mail.lnk").c_str()) &&
           SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, named.putVoid())) &&
           SUCCEEDED(named->SetPath((desk / L"Tool.exe").c_str())) &&
           SUCCEEDED(named->SetIconLocation((desk / L"red.ico").c_str(), 0)) &&
           SUCCEEDED(named->QueryInterface(IID_IPersistFile, namedFile.putVoid())) &&
           SUCCEEDED(namedFile->Save((desk / L"Named.lnk").c_str(), TRUE));
}

std::vector<DWORD> DrawMade(const MadeIcon& made, HICON fallback, SIZE size, COLORREF background) {
    ImageListHandle list(ImageList_Create(size.cx, size.cy, ILC_COLOR24, 0, 1));
    ImageList_SetBkColor(list.get(), background);
    if (!PutIcon(list.get(), -1, made)) ImageList_ReplaceIcon(list.get(), -1, fallback);
    return DrawImage(list.get(), 0, background);
}

std::vector<DWORD> ShellPicture(const std::wstring& path, SIZE size, COLORREF background) {
    IconMaker maker(size, background);
    bool folder = GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY;
    return DrawMade(maker.Make(path.c_str()), maker.Generic(path.c_str(), folder), size,
                    background);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

namespace {

class HookedSource : public IconSource {
  public:
    HookedSource(SIZE size, COLORREF background, PictureHooks& hooks)
        : shell_(ShellIcons(size, background)), hooks_(hooks) {}
    MadeIcon Make(const wchar_t* path) override {
        return ++hooks_.made, worker(path), shell_->Make(path);
    }
    HICON Generic(const wchar_t* path, bool folder) override {
        if (hooks_.window) hooks_.window(path);
        return shell_->Generic(path, folder);
    }
    MadeIcon TypePicture(const wchar_t* path, bool folder) override {
        return worker(path), shell_->TypePicture(path, folder);
    }
    MadeIcon Thumbnail(const wchar_t* path) override {
        return ++hooks_.decoded, worker(path), shell_->Thumbnail(path);
    }

  private:
    void worker(const wchar_t* path) const {
        if (hooks_.worker) hooks_.worker(path);
    }
    std::unique_ptr<IconSource> shell_;
    PictureHooks& hooks_;
};

} // namespace

void HookPictures(AppState* state, PictureHooks& hooks) {
    state->icons.UseSource([&hooks](SIZE size, COLORREF background) {
        return std::make_unique<HookedSource>(size, background, hooks);
    });
}
