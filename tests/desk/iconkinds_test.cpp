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

using Values = std::vector<std::pair<std::wstring, std::wstring>>;

// Default values written under root's classes; each one's top key (of
// SystemFileAssociations, the extension's own) goes again with the object.
struct WrittenClasses {
    WrittenClasses(HKEY root, const Values& values) : root(root), values(values) {
        for (const auto& [key, value] : values)
            RegSetKeyValueW(root, (L"Software\\Classes\\" + key).c_str(), nullptr, REG_SZ,
                            value.c_str(), static_cast<DWORD>((value.size() + 1) * 2));
    }
    ~WrittenClasses() {
        for (const auto& [key, value] : values)
            RegDeleteTreeW(root, (L"Software\\Classes\\" +
                                  key.substr(0, key.find(L'\\', key[0] == L'S' ? 23 : 0)))
                                     .c_str());
    }
    HKEY root;
    Values values;
};

} // namespace

TEST(IconKinds, OwnPictureByKindAttributesAndTheRegistry) {
    const std::wstring id = std::to_wstring(GetCurrentProcessId()), type = L"TarvoTest." + id;
    const std::wstring percent = L".tvp" + id, handler = L".tvh" + id, sfa = L".tvs" + id,
                       neither = L".tvn" + id, bare = L".tvb" + id, none = L".tvz" + id;
    const std::wstring handlerId = L"{00000000-1111-2222-3333-000000000003}";
    const Values values = {
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

    // Entries, whether their picture is their own, and whether that is fixed
    // whatever the registry says or lacks.
    const DWORD file = FILE_ATTRIBUTE_ARCHIVE, dir = FILE_ATTRIBUTE_DIRECTORY;
    struct Row {
        std::wstring name;
        DWORD attributes;
        bool own, fixed;
    };
    std::vector<Row> rows = {
        {L"Folder.exe", dir, false, true},
        {L"Folder.exe", dir | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, false, true},
        {L"Folder", dir | FILE_ATTRIBUTE_READONLY, true, true},
        {L"Folder", dir | FILE_ATTRIBUTE_SYSTEM, true, true}};
    auto files = [&](bool own, bool fixed, std::initializer_list<std::wstring> names) {
        for (const std::wstring& name : names)
            rows.push_back({name, file, own, fixed});
    };
    files(true, true,
          {L"a.exe", L"a.dll", L"a.ico", L"a.cur", L"a.ani", L"a.cpl", L"a.scr", L"a.lnk",
           L"C:\\d\\SETUP.EXE", L"Mail.Lnk", L".ico"});
    files(false, true, {L"exe", L"a.exe.", L"a.exe\\readme"});
    files(true, false, {L"a" + percent, L"A.TVP" + id, L"b" + handler, L"c" + sfa, L"e" + bare});
    files(false, false, {L"d" + neither, L"f" + none, L"a.txt"});
    TypeIconReader reader;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << std::string(row.name.begin(), row.name.end()));
        EXPECT_EQ(reader.OwnPicture(row.name.c_str(), row.attributes), row.own);
        if (!row.fixed) continue;
        EXPECT_EQ(HasOwnPicture(row.name.c_str(), row.attributes, {}), row.own);
        EXPECT_EQ(HasOwnPicture(row.name.c_str(), row.attributes, {true, true}), row.own);
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
        IconMaker typed({side, side}, background);
        std::set<std::vector<DWORD>> kinds;
        for (const std::wstring& name : names) {
            SCOPED_TRACE(testing::Message()
                         << side << " " << std::string(name.begin(), name.end()));
            auto shown = ShellPicture(desk / name, {side, side}, background);
            // Nowhere near the file: the name is all it goes by.
            MadeIcon made = typed.TypePicture((L"C:\\none\\" + name).c_str(), name == L"Plain");
            EXPECT_TRUE(DrawMade(made, nullptr, {side, side}, background) == shown);
            kinds.insert(shown);
        }
        // Blank pictures would all be alike.
        EXPECT_GE(kinds.size(), 2u) << "a folder and a document look alike";
    }
}
