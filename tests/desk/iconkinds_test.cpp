// Which entries need a picture of their own, and the picture of a type.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/handles.h"
#include "desk/deskicons.h"
#include "desk/iconkinds.h"
#include "shell/winefallback.h"
#include "support/testsupport.h"

namespace {

// Default values written under root's classes, removed again with the object.
class WrittenClasses {
  public:
    WrittenClasses(HKEY root, const std::vector<std::pair<std::wstring, std::wstring>>& values)
        : root_(root) {
        for (const auto& [key, value] : values) {
            // Of SystemFileAssociations only the extension's own key goes.
            size_t top = key.find(L'\\', key.rfind(L"SystemFileAssociations\\", 0) == 0 ? 23 : 0);
            written_.insert(L"Software\\Classes\\" + key.substr(0, top));
            auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
            RegSetKeyValueW(root, (L"Software\\Classes\\" + key).c_str(), nullptr, REG_SZ,
                            value.c_str(), bytes);
        }
    }
    ~WrittenClasses() {
        for (const std::wstring& key : written_)
            RegDeleteTreeW(root_, key.c_str());
    }
    WrittenClasses(const WrittenClasses&) = delete;
    WrittenClasses& operator=(const WrittenClasses&) = delete;

  private:
    HKEY root_;
    std::set<std::wstring> written_;
};

} // namespace

TEST(IconKinds, OwnPictureByKindAttributesAndTheRegistry) {
    const std::wstring id = std::to_wstring(GetCurrentProcessId()), type = L"TarvoTest." + id;
    const std::wstring percent = L".tvp" + id, handler = L".tvh" + id, sfa = L".tvs" + id,
                       neither = L".tvn" + id, bare = L".tvb" + id, none = L".tvz" + id;
    const std::wstring handlerId = L"{00000000-1111-2222-3333-000000000003}";
    const std::vector<std::pair<std::wstring, std::wstring>> values = {
        {percent, type + L"P"},
        {type + L"P\\DefaultIcon", L" \"%1\" "},
        {handler, type + L"H"},
        {type + L"H\\DefaultIcon", L"C:\\x.dll,2"},
        {type + L"H\\ShellEx\\IconHandler", handlerId},
        {sfa, type + L"N"},
        {L"SystemFileAssociations\\" + sfa + L"\\ShellEx\\IconHandler", handlerId},
        {neither, type + L"N"},
        {type + L"N\\DefaultIcon", L"C:\\x.dll,%1"},
        {bare + L"\\DefaultIcon", L"%1"}}; // a type without a name
    std::optional<WrittenClasses> classes(std::in_place, HKEY_CURRENT_USER, values);
    auto shown = [&] {
        return RegGetValueW(HKEY_CLASSES_ROOT, percent.c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
    };
    // Wine's classes root shows the machine's classes only: the same keys go there.
    if (!shown() && RunningOnWine()) classes.emplace(HKEY_LOCAL_MACHINE, values);
    if (!shown()) GTEST_SKIP() << "the classes root shows none of the keys written";

    std::wstring upper = L"A" + percent;
    for (wchar_t& unit : upper)
        unit = static_cast<wchar_t>(towupper(unit));
    const DWORD file = FILE_ATTRIBUTE_ARCHIVE, dir = FILE_ATTRIBUTE_DIRECTORY;
    // Entries, and whether their picture is their own; the registry has a say
    // in the second table only.
    struct Row {
        std::wstring name;
        DWORD attributes;
        bool own;
    };
    std::vector<Row> fixed, byRegistry;
    for (const wchar_t* name : {L"a.exe", L"a.dll", L"a.ico", L"a.cur", L"a.ani", L"a.cpl",
                                L"a.scr", L"a.lnk", L"C:\\d\\SETUP.EXE", L"Mail.Lnk", L".ico"})
        fixed.push_back({name, file, true});
    for (const wchar_t* name : {L"exe", L"a.exe.", L"a.exe\\readme"})
        fixed.push_back({name, file, false});
    for (DWORD marks : {DWORD(0), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE)})
        fixed.push_back({L"Folder.exe", dir | marks, false});
    for (DWORD marks : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_SYSTEM})
        fixed.push_back({L"Folder", dir | marks, true});
    for (const std::wstring& name :
         {L"a" + percent, upper, L"b" + handler, L"c" + sfa, L"e" + bare})
        byRegistry.push_back({name, file, true});
    for (const std::wstring& name : {L"d" + neither, L"f" + none, std::wstring(L"a.txt")})
        byRegistry.push_back({name, file, false});
    TypeIconReader reader;
    for (const std::vector<Row>* table : {&fixed, &byRegistry}) {
        for (const Row& row : *table) {
            SCOPED_TRACE(testing::Message() << std::string(row.name.begin(), row.name.end()));
            EXPECT_EQ(reader.OwnPicture(row.name.c_str(), row.attributes), row.own);
            if (table == &byRegistry) continue;
            // The fixed rules hold whatever the registry says, or lacks.
            EXPECT_EQ(HasOwnPicture(row.name.c_str(), row.attributes, {}), row.own);
            EXPECT_EQ(HasOwnPicture(row.name.c_str(), row.attributes, {true, true}), row.own);
        }
    }
    // Each extension is read once per reader: a changed type shows to the next.
    classes.reset();
    EXPECT_TRUE(reader.OwnPicture((L"g" + percent).c_str(), file));
    EXPECT_FALSE(TypeIconReader().OwnPicture((L"g" + percent).c_str(), file));
}

// A file without a picture of its own looks, by its type's picture made from
// its name alone, exactly as its own path makes it look today (the file's
// own icon, else its generic one), at the small, large and a larger size.
TEST(IconKinds, TypePictureIsWhatTheFileShowsToday) {
    TempFolder desk;
    const std::wstring names[] = {L"a.txt",  L"b.pdf", L"c.qqx", L"d.zip",
                                  L"e.html", L"f",     L"Plain"};
    for (const std::wstring& name : names)
        name == L"Plain" ? desk.folder(name) : desk.file(name);
    const COLORREF background = RGB(40, 90, 160);
    const int large = GetSystemMetrics(SM_CXICON);
    for (int side : {GetSystemMetrics(SM_CXSMICON), large, large * 3 / 2}) {
        IconMaker today({side, side}, background), typed({side, side}, background);
        // What the list draws of the picture, in pixels.
        auto drawn = [&](const MadeIcon& made, HICON fallback) {
            ImageListHandle list(ImageList_Create(side, side, ILC_COLOR24, 0, 1));
            ImageList_SetBkColor(list.get(), background);
            if (!PutIcon(list.get(), -1, made)) ImageList_ReplaceIcon(list.get(), -1, fallback);
            BITMAPINFO info = {};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            void* bits = nullptr;
            MemoryDc dc(CreateCompatibleDC(nullptr));
            GdiObject bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
            HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
            ImageList_Draw(list.get(), 0, dc.get(), 0, 0, ILD_NORMAL);
            GdiFlush();
            SelectObject(dc.get(), old);
            auto first = static_cast<const DWORD*>(bits);
            return std::vector<DWORD>(first, first + side * side);
        };
        std::set<std::vector<DWORD>> kinds;
        for (const std::wstring& name : names) {
            SCOPED_TRACE(testing::Message()
                         << side << " " << std::string(name.begin(), name.end()));
            std::wstring path = desk / name;
            bool folder = name == L"Plain";
            auto shown = drawn(today.Make(path.c_str()), today.Generic(path.c_str(), folder));
            // Nowhere near the file: the name is all it goes by.
            auto pictured =
                drawn(typed.TypePicture((L"C:\\none\\" + name).c_str(), folder), nullptr);
            EXPECT_TRUE(pictured == shown);
            EXPECT_GT(std::set<DWORD>(pictured.begin(), pictured.end()).size(), 1u);
            kinds.insert(pictured);
        }
        EXPECT_GE(kinds.size(), 2u) << "a folder and a document look alike";
    }
}
