// The settings file, loaded into and saved from the real AppState of a main
// window created in this process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <random>
#include <string>
#include <thread>

#include "app/application.h"
#include "app/appstate.h"
#include "settings/filebytes.h"
#include "settings/inifile.h"
#include "settings/settingsfile.h"
#include "support/testsupport.h"

namespace {

// Calls visit(entry, units) for every setting the file's description names,
// units being the buffer size of a string.
template <typename Visit> void ForEachSetting(Settings& s, Visit visit) {
    SettingsLayout layout;
    DescribeSettings(s, layout);
    for (const IniSection& section : layout.sections)
        for (const IniEntry* entry = section.entries; entry->value; ++entry)
            if (entry->value != layout.comment) visit(*entry, section.maxLength);
}

// Every setting and the desk folder as text, to see what a load changed:
// strings up to their terminator, flags by their byte, numbers one by one.
std::wstring Fields(AppState& s) {
    std::wstring out = L"deskpath=" + std::wstring(s.deskpath) + L"\n";
    ForEachSetting(s, [&](const IniEntry& entry, std::size_t) {
        out += entry.name;
        out += L"=";
        if (entry.type == IniString) {
            out += static_cast<const wchar_t*>(entry.value);
        } else if (entry.type == IniBool) {
            out += std::to_wstring(*static_cast<const unsigned char*>(entry.value));
        } else {
            out += std::to_wstring(*static_cast<const std::int32_t*>(entry.value));
        }
        out += L"\n";
    });
    return out;
}

// A file with a value other than the default for every key.
const std::wstring kEveryKey =
    L"[Ta'rvo]\r\nversion=1.00\r\n\r\n"
    L"[Portable]\r\n"
    L";=for portability, set convertlinks=TRUE, savefolder=FALSE, and use relative paths eg. "
    L"\\mydesk\r\n"
    L"convertlinks=TRUE\r\nsavefolder=FALSE\r\nfolder=C:\\Desks\\Mine\r\n"
    L"filemanager=fm.exe /e\r\narcmanager=arc.exe\r\ncmdprocessor=pwsh.exe\r\n"
    L"textviewer=view.exe \"%1\"\r\nimageviewer=img.exe\r\n\r\n"
    L"[Tweak]\r\nautorefresh latency (ms)=350\r\ntrim memory (ms)=0\r\n\r\n"
    L"[Tarvo]\r\ncolour=-16777216\r\ntext colour=65280\r\ntransparent=TRUE\r\ntrayicon=TRUE\r\n"
    L"ontop=TRUE\r\nhotkey=Win+Shift+F12\r\n\r\n"
    L"[Position]\r\nleft=-1200\r\ntop=40\r\nright=-300\r\nbottom=700\r\n\r\n"
    L"[Desk]\r\nicon style=2\r\nsort=0\r\ndirsfirst=FALSE\r\nshowhidden=TRUE\r\nhome=Inbox\r\n"
    L"end=Zzz.txt\r\nthumbnails=FALSE\r\n\r\n"
    L"[Status]\r\ntime=TRUE\r\nrecycler=FALSE\r\n\r\n"
    L"[Settings]\r\nsavesettings=FALSE\r\n\r\n"
    L"[Menu]\r\nat cursor=FALSE\r\n";

// Sets the process's current directory for a while (or only restores it).
struct CurrentDirectory {
    wchar_t saved[MAX_PATH];
    explicit CurrentDirectory(const std::wstring& path = L"") {
        GetCurrentDirectoryW(MAX_PATH, saved);
        if (!path.empty()) SetCurrentDirectoryW(path.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryW(saved); }
};

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
    }
    // Loads the file of this text (UTF-16LE with its mark) or these bytes.
    void load(const std::wstring& text) { loadBytes(Utf16(text)); }
    void loadBytes(const std::string& bytes) {
        ASSERT_TRUE(WriteBytes(file_, bytes));
        ASSERT_TRUE(CopyText(state_->inipath, file_.c_str()));
        state_->LoadSettings();
    }
    std::wstring saved() {
        CopyText(state_->inipath, (folder_ / L"saved.ini").c_str());
        state_->SaveSettings();
        return ReadUtf16(folder_ / L"saved.ini");
    }

    TempFolder folder_;
    std::wstring file_ = folder_ / L"load.ini";
    MainWindowTest windows_;
    AppState* state_ = nullptr;
};

} // namespace

// A file from before the keys written only when they are used.
TEST_F(SettingsFile, AFileWithoutTheLaterKeysKeepsTheirDefaultsAndItsBytes) {
    std::wstring old = kEveryKey;
    for (const wchar_t* key : {L"hotkey=Win+Shift+F12\r\n", L"thumbnails=FALSE\r\n"})
        old.erase(old.find(key), std::wcslen(key));
    load(old);
    EXPECT_STREQ(state_->hotkey, L"");
    EXPECT_TRUE(state_->thumbnails);
    EXPECT_EQ(saved(), old);
}

TEST_F(SettingsFile, EveryKeyReachesItsFieldAndIsWrittenBackAsItWas) {
    load(kEveryKey);
    const AppState& s = *state_;
    EXPECT_STREQ(s.version, L"1.00");
    EXPECT_TRUE(s.convertlinks);
    EXPECT_FALSE(s.savefolder);
    EXPECT_STREQ(s.folder, L"C:\\Desks\\Mine");
    EXPECT_STREQ(s.deskpath, L"C:\\Desks\\Mine");
    EXPECT_STREQ(s.filemanager, L"fm.exe /e");
    EXPECT_STREQ(s.arcmanager, L"arc.exe");
    EXPECT_STREQ(s.cmdprocessor, L"pwsh.exe");
    EXPECT_STREQ(s.textviewer, L"view.exe \"%1\"");
    EXPECT_STREQ(s.imageviewer, L"img.exe");
    EXPECT_EQ(s.autorefreshlatency, 350);
    EXPECT_EQ(s.trimmemory, 0);
    EXPECT_EQ(s.colour, 0xFF000000u);
    EXPECT_EQ(s.textcolour, COLORREF(RGB(0, 255, 0)));
    EXPECT_TRUE(s.transparent && s.trayicon && s.ontop);
    EXPECT_STREQ(s.hotkey, L"Win+Shift+F12");
    EXPECT_FALSE(s.thumbnails);
    EXPECT_EQ(s.windowrect.left, -1200);
    EXPECT_EQ(s.windowrect.top, 40);
    EXPECT_EQ(s.windowrect.right, -300);
    EXPECT_EQ(s.windowrect.bottom, 700);
    EXPECT_EQ(s.iconstyle, 2);
    EXPECT_EQ(s.sort, 0);
    EXPECT_FALSE(s.dirsfirst);
    EXPECT_TRUE(s.showhidden);
    EXPECT_STREQ(s.home, L"Inbox");
    EXPECT_STREQ(s.end, L"Zzz.txt");
    EXPECT_TRUE(s.time);
    EXPECT_FALSE(s.recycler);
    EXPECT_FALSE(s.savesettings);
    EXPECT_FALSE(s.atcursor);

    EXPECT_EQ(saved(), kEveryKey);
}

TEST_F(SettingsFile, VersionAndCommentLinesHaveNoEffect) {
    std::wstring before = Fields(*state_);
    load(L"[Ta'rvo]\r\nversion=123456789012345\r\n\r\n[Portable]\r\n;=sort=0\r\n;home=x\r\n"
         L"; =y\r\n\r\n[Desk]\r\n;sort=0\r\n");
    EXPECT_STREQ(state_->version, L"12345678901");
    state_->version[0] = L'\0';
    EXPECT_EQ(Fields(*state_), before);
    std::wstring text = saved();
    EXPECT_EQ(text.rfind(L"[Ta'rvo]\r\nversion=1.00\r\n\r\n[Portable]\r\n;=for portability, set", 0), 0u)
        << text;
}

TEST_F(SettingsFile, TheDeskFolderIsTheFullPathOfFolder) {
    // Relative texts are resolved against the current directory: this test's folder.
    CurrentDirectory current(folder_.path());
    std::wstring here = folder_.path() + L"\\";

    load(L"[Portable]\r\nfolder=desk\\sub\r\n");
    EXPECT_EQ(std::wstring(state_->deskpath), here + L"desk\\sub");
    EXPECT_STREQ(state_->folder, L"desk\\sub");

    load(L"[Portable]\r\nfolder=\\mydesk\r\n");
    EXPECT_EQ(std::wstring(state_->deskpath), here.substr(0, 2) + L"\\mydesk")
        << "against the current drive's root";

    // The field is not cleared between loads: a file without folder keeps the last one.
    load(L"[Portable]\r\nsavefolder=TRUE\r\n");
    EXPECT_EQ(std::wstring(state_->deskpath), here.substr(0, 2) + L"\\mydesk");

    // Empty, or a full path too long for the buffer: the desk folder stays.
    load(L"[Portable]\r\nfolder=\r\n");
    EXPECT_STREQ(state_->folder, L"") << "an empty string reads back empty";
    EXPECT_EQ(std::wstring(state_->deskpath), here.substr(0, 2) + L"\\mydesk");
    ASSERT_GT(here.size() + 240, kPathUnits - 1);
    load(L"[Portable]\r\nfolder=" + std::wstring(240, L'r') + L"\r\n");
    EXPECT_EQ(std::wstring(state_->folder), std::wstring(240, L'r'));
    EXPECT_EQ(std::wstring(state_->deskpath), here.substr(0, 2) + L"\\mydesk");
}

TEST_F(SettingsFile, SaveFolderDecidesWhetherTheDeskOrTheTextReadIsWritten) {
    load(L"[Portable]\r\nsavefolder=FALSE\r\nfolder=..\\desk\r\n");
    CopyText(state_->deskpath, L"C:\\Chosen\\Later");
    EXPECT_NE(saved().find(L"\r\nfolder=..\\desk\r\n"), std::wstring::npos);
    state_->savefolder = true;
    EXPECT_NE(saved().find(L"\r\nfolder=C:\\Chosen\\Later\r\n"), std::wstring::npos);
    EXPECT_STREQ(state_->folder, L"C:\\Chosen\\Later");
}

TEST_F(SettingsFile, AMinimisedOrMaximisedWindowSavesItsRestoredRectangle) {
    HWND window = windows_.window();
    ShowWindow(window, SW_RESTORE);
    MoveWindow(window, 100, 120, 500, 300, TRUE);
    RECT normal;
    GetWindowRect(window, &normal);
    std::wstring expected = L"[Position]\r\nleft=" + std::to_wstring(normal.left) +
                            L"\r\ntop=" + std::to_wstring(normal.top) + L"\r\nright=" +
                            std::to_wstring(normal.right) + L"\r\nbottom=" +
                            std::to_wstring(normal.bottom) + L"\r\n";
    for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
        ShowWindow(window, show);
        DrainMessages();
        ASSERT_TRUE(show == SW_MINIMIZE ? IsIconic(window) : IsZoomed(window)) << show;
        std::wstring text = saved();
        EXPECT_NE(text.find(expected), std::wstring::npos) << show << "\n" << text;
        EXPECT_EQ(state_->windowrect.left, normal.left) << "kept in memory too";
        EXPECT_EQ(state_->windowrect.bottom, normal.bottom);
        ShowWindow(window, SW_RESTORE);
        DrainMessages();
    }
}

TEST_F(SettingsFile, FilesNotInUtf16OrMissingLeaveEveryValue) {
    std::wstring before = Fields(*state_);
    std::string ascii;
    for (wchar_t c : kEveryKey) ascii += static_cast<char>(c);
    loadBytes("\xEF\xBB\xBF" + ascii); // UTF-8 with its mark
    EXPECT_EQ(Fields(*state_), before);
    loadBytes(ascii); // ANSI, or UTF-8 without a mark
    EXPECT_EQ(Fields(*state_), before);
    loadBytes(std::string(100 * 1024, 'x')); // one line of 100 KB
    EXPECT_EQ(Fields(*state_), before);
    load(std::wstring(100 * 1024, L'='));
    EXPECT_EQ(Fields(*state_), before);
    DeleteFileW(file_.c_str());
    state_->LoadSettings();
    EXPECT_EQ(Fields(*state_), before);
}

TEST_F(SettingsFile, HandEditedValuesGiveExactlyTheRuleResults) {
    std::wstring before = Fields(*state_);
    load(L"[Tweak]\r\nautorefresh latency (ms)=12px\r\ntrim memory (ms)=fast\r\n\r\n"
         L"[Desk]\r\nsort =0\r\nicon style=\r\nhome=\r\ndirsfirst=yes\r\nSHOWHIDDEN=true\r\n"
         L"end=" + std::wstring(300, L'e') + L"\r\n\r\n"
         L"[Desk]\r\nsort=0\r\n\r\n"
         L"[Menu]\r\nat cursor=FALSE\r\n[Menu]\r\nat cursor=TRUE\r\n");
    EXPECT_EQ(state_->autorefreshlatency, 12);
    EXPECT_EQ(state_->trimmemory, 10000) << "a number that does not scan";
    EXPECT_EQ(state_->sort, 1) << "a blank before '=' names another key; the second [Desk] is not read";
    EXPECT_EQ(state_->iconstyle, 0);
    EXPECT_STREQ(state_->home, L"");
    EXPECT_TRUE(state_->dirsfirst);
    EXPECT_TRUE(state_->showhidden);
    // A path keeps its first 259 characters, however long its line.
    EXPECT_EQ(std::wstring(state_->end), std::wstring(259, L'e'));
    EXPECT_FALSE(state_->atcursor);

    // Nothing else moved.
    state_->autorefreshlatency = 200;
    state_->showhidden = false;
    state_->end[0] = L'\0';
    state_->atcursor = true;
    EXPECT_EQ(Fields(*state_), before);
}

TEST_F(SettingsFile, ASaveThatCannotBeWrittenIsLostSilently) {
    folder_.folder(L"folder.ini");
    ASSERT_TRUE(CopyText(state_->inipath, (folder_ / L"folder.ini").c_str()));
    state_->SaveSettings();
    EXPECT_TRUE(GetFileAttributesW((folder_ / L"folder.ini").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FolderNames(folder_.path()), std::vector<std::wstring>{L"folder.ini"});
    EXPECT_TRUE(IsWindow(windows_.window()));
}

TEST_F(SettingsFile, ExitWritesOnlyWithSaveOnExit) {
    std::wstring path = windows_.settingsPath();
    state_->savesettings = false;
    state_->sort = 0;
    windows_.close();
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << "no file written";

    MainWindowTest second;
    ASSERT_NE(TheAppState, nullptr);
    TheAppState->sort = 0;
    std::wstring secondPath = second.settingsPath();
    second.close();
    EXPECT_NE(ReadUtf16(secondPath).find(L"\r\nsort=0\r\n"), std::wstring::npos);
}

TEST_F(SettingsFile, LogOffSavesLikeAnExit) {
    std::wstring path = folder_ / L"logoff.ini";
    CopyText(state_->inipath, path.c_str());
    state_->sort = 0;
    SendMessageW(windows_.window(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(TheAppState, nullptr);
    EXPECT_NE(ReadUtf16(path).find(L"\r\nsort=0\r\n"), std::wstring::npos);
}

namespace {

// Answers the Save As dialog from a second thread while the first one waits in
// it: notes the file name it offers, then cancels or enters a new name.
struct SaveAsAnswer {
    std::wstring offered;
    HWND owner = nullptr;
    bool seen = false;
};

void AnswerSaveAs(SaveAsAnswer& answer, const std::wstring& name) {
    HWND dialog = nullptr;
    for (int i = 0; i < 400 && !dialog; ++i) {
        dialog = FindTopLevelWindow(GetCurrentProcessId(), L"#32770", L"Save Ta'rvo Settings");
        if (!dialog) Sleep(25);
    }
    if (!dialog) return;
    answer.seen = true;
    answer.owner = GetWindow(dialog, GW_OWNER);
    // The file name box: an edit of its own, or the edit inside a combo box.
    HWND box = GetDlgItem(dialog, 0x47C); // cmb13
    if (!box) box = GetDlgItem(dialog, 0x480); // edt1
    answer.offered = box ? WindowText(box) : L"(no file name box)";
    if (name.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
}

} // namespace

TEST_F(SettingsFile, SaveAsOffersTheCurrentFileAndTakesTheChosenOne) {
    std::wstring current = folder_ / L"tarvo.ini";
    ASSERT_TRUE(CopyText(state_->inipath, current.c_str()));
    CurrentDirectory restored; // the dialog moves it to the folder it showed

    SaveAsAnswer cancelled;
    std::thread first(AnswerSaveAs, std::ref(cancelled), std::wstring());
    EXPECT_FALSE(state_->ChooseSettingsFile());
    first.join();
    ASSERT_TRUE(cancelled.seen);
    EXPECT_EQ(cancelled.owner, windows_.window());
    EXPECT_TRUE(cancelled.offered == L"tarvo.ini" || cancelled.offered == L"tarvo")
        << cancelled.offered;
    EXPECT_EQ(std::wstring(state_->inipath), current);

    std::wstring chosen = folder_ / L"chosen.ini";
    SaveAsAnswer confirmed;
    std::thread second(AnswerSaveAs, std::ref(confirmed), chosen);
    EXPECT_TRUE(state_->ChooseSettingsFile());
    second.join();
    ASSERT_TRUE(confirmed.seen);
    EXPECT_EQ(std::wstring(state_->inipath), chosen);
    EXPECT_EQ(FolderNames(folder_.path()), std::vector<std::wstring>{})
        << "choosing writes nothing; the caller saves";
}

namespace {

// A file of settings keys, headers and delimiters in random order and length.
std::wstring RandomTokens(std::mt19937& random) {
    static const wchar_t* tokens[] = {
        L"[Ta'rvo]", L"[Portable]", L"[Tweak]", L"[Tarvo]", L"[Position]", L"[Desk]", L"[Status]",
        L"[Settings]", L"[Menu]", L"version", L"folder", L"home", L"end", L"sort", L"colour",
        L"left", L"savesettings", L"at cursor", L"trim memory (ms)", L"=", L"=", L"\r\n", L"\r\n",
        L"\n", L"\r", L"#", L"[", L";", L" ", L"TRUE", L"false", L"-2147483648", L"99999999999",
        L"0x1F", L"12px", L"\\mydesk", L"..\\", L"C:\\", L"\xFEFF", L"\xD800", L"\xFFFF"};
    std::wstring text;
    int count = static_cast<int>(random() % 400);
    for (int i = 0; i < count; ++i) {
        if (random() % 12 == 0) {
            text.append(random() % 700, static_cast<wchar_t>(L'a' + random() % 26));
        } else if (random() % 40 == 0) {
            text += L'\0';
        } else {
            text += tokens[random() % (sizeof tokens / sizeof tokens[0])];
        }
    }
    return text;
}

std::string Mutated(const std::string& base, std::mt19937& random, int kind) {
    std::string bytes = base;
    auto at = [&](std::size_t size) { return size ? random() % size : 0; };
    switch (kind) {
    case 0: // random bytes
        bytes.resize(random() % 4000);
        for (char& c : bytes) c = static_cast<char>(random());
        break;
    case 1: // bytes overwritten here and there
        for (int n = 1 + random() % 30; n > 0; --n) bytes[at(bytes.size())] = static_cast<char>(random());
        break;
    case 2: bytes.resize(at(bytes.size() + 1)); break; // cut anywhere, odd lengths too
    case 3: { // a random run inserted
        std::string run(1 + random() % 900, '\0');
        for (char& c : run) c = static_cast<char>(random());
        bytes.insert(at(bytes.size()), run);
        break;
    }
    case 4: { // a range removed
        std::size_t from = at(bytes.size());
        bytes.erase(from, random() % 600);
        break;
    }
    case 5: bytes = Utf16(RandomTokens(random), random() % 4 != 0); break;
    case 6: // the text repeated, as when sections are duplicated by hand
        for (int n = random() % 5; n > 0; --n) bytes += base.substr(2 + 2 * at(base.size() / 2 - 1));
        break;
    default: { // the text with every line end changed
        std::string changed = bytes.substr(0, 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            if (bytes[i] == '\r' && bytes[i + 1] == 0) {
                if (random() % 2) changed += std::string("\n\0", 2);
                continue;
            }
            changed += bytes.substr(i, 2);
        }
        bytes = changed;
        break;
    }
    }
    return bytes;
}

// A buffer between two guards, to see any write past either end.
template <std::size_t N> struct Guarded {
    wchar_t before[8];
    wchar_t text[N];
    wchar_t after[8];
    Guarded() {
        std::wmemset(before, L'G', 8);
        std::wmemset(after, L'G', 8);
        text[0] = L'\0';
    }
    bool intact() const {
        for (int i = 0; i < 8; ++i)
            if (before[i] != L'G' || after[i] != L'G') return false;
        return std::wmemchr(text, L'\0', N) != nullptr;
    }
};

template <std::size_t N> bool Terminated(const wchar_t (&text)[N]) {
    return std::wmemchr(text, L'\0', N) != nullptr;
}

} // namespace

TEST_F(SettingsFile, HundredsOfRandomAndMutatedFilesLoadWithoutHarm) {
    CopyText(state_->folder, L"C:\\Desk");
    CopyText(state_->inipath, (folder_ / L"base.ini").c_str());
    state_->SaveSettings();
    const std::string base = ReadBytes(folder_ / L"base.ini");
    ASSERT_GT(base.size(), 1000u);

    std::mt19937 random(20240611);
    for (int i = 0; i < 320; ++i) {
        SCOPED_TRACE(i);
        std::string bytes = Mutated(base, random, i % 8);
        ASSERT_TRUE(WriteBytes(file_, bytes));

        // The reader itself, with every type and guarded strings of both lengths.
        Guarded<12> shortText;
        Guarded<260> longText;
        unsigned char flag = 0;
        std::uint32_t number = 0;
        double real = 0;
        IniEntry first[] = {{L"version", IniString, shortText.text}, {nullptr, 0, nullptr}};
        IniEntry others[] = {{L"folder", IniString, longText.text}, {L"home", IniString, longText.text},
                             {L"savefolder", IniBool, &flag},       {L"sort", IniWord, &number},
                             {L"left", IniShort, &number},          {L"colour", IniLong, &number},
                             {L"top", IniShortOctal, &number},      {L"right", IniLongOctal, &number},
                             {L"bottom", IniShortHex, &number},     {L"end", IniLongHex, &number},
                             {L"time", IniFloat, &number},          {L"trim memory (ms)", IniDouble, &real},
                             {nullptr, 0, nullptr}};
        {
            IniFile ini;
            ini.open(file_.c_str(), 0);
            ini.readSection(first, L"[Ta'rvo]", 12);
            for (const wchar_t* header : {L"[Portable]", L"[Desk]", L"[Position]", L"[Tweak]"})
                ini.readSection(others, header, 260);
            ini.readSection(others, nullptr, 260);
        }
        ASSERT_TRUE(shortText.intact() && longText.intact());
        ASSERT_LE(flag, 1);

        // The settings themselves.
        CopyText(state_->inipath, file_.c_str());
        state_->LoadSettings();
        ASSERT_TRUE(Terminated(state_->deskpath));
        ForEachSetting(*state_, [](const IniEntry& entry, std::size_t units) {
            const void* value = entry.value;
            if (entry.type == IniString) {
                EXPECT_NE(std::wmemchr(static_cast<const wchar_t*>(value), L'\0', units), nullptr)
                    << entry.name;
            } else if (entry.type == IniBool) {
                EXPECT_LE(*static_cast<const unsigned char*>(value), 1) << entry.name;
            }
        });
        if (HasFailure()) return;
    }
    // Whatever was loaded saves again as a whole file.
    state_->savefolder = true;
    std::wstring text = saved();
    EXPECT_EQ(text.rfind(L"[Ta'rvo]\r\nversion=1.00\r\n", 0), 0u);
    std::wstring last = L"\r\n\r\n[Menu]\r\nat cursor=" +
                        std::wstring(state_->atcursor ? L"TRUE" : L"FALSE") + L"\r\n";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
}
