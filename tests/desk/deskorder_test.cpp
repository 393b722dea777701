#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desk/deskorder.h"

namespace {

using Names = std::vector<std::wstring>;

Names Order(std::vector<DeskEntry> entries, int sort, bool dirsfirst, const wchar_t* home = L"",
            const wchar_t* end = L"") {
    Names names;
    for (size_t index : DeskOrderOf(entries, {sort, dirsfirst, home, end}))
        names.push_back(entries.at(index).name);
    return names;
}

DeskEntry File(const wchar_t* name) { return {name, false}; }
DeskEntry Folder(const wchar_t* name) { return {name, true}; }

} // namespace

TEST(DeskSort, ByExtensionComparesExtensionsByCodeUnitAndPutsDotlessNamesFirst) {
    EXPECT_EQ(Order({File(L"b.txt"), File(L"a.TXT"), File(L"c.doc"), File(L"Makefile")}, 1, true),
              (Names{L"Makefile", L"a.TXT", L"c.doc", L"b.txt"}));
    // The extension is the part from the last dot; equal extensions go by
    // the whole name without regard to case.
    EXPECT_TRUE(LessByExtension(L"z.tar.gz", L"a.txt"));
    EXPECT_TRUE(LessByExtension(L"name.", L".profile"));
    EXPECT_TRUE(LessByExtension(L"Alpha.txt", L"beta.txt"));
    EXPECT_FALSE(LessByExtension(L"beta.txt", L"Alpha.txt"));
    EXPECT_FALSE(LessByExtension(L"same.txt", L"SAME.txt"));
    EXPECT_FALSE(LessByExtension(L"SAME.txt", L"same.txt"));
    EXPECT_TRUE(LessByExtension(L"zzz", L".a"));
    EXPECT_FALSE(LessByExtension(L".a", L"zzz"));
}

TEST(DeskSort, ByNameIgnoresCaseAndAnySortOtherThanOneIsByName) {
    std::vector<DeskEntry> entries = {File(L"b.txt"), File(L"C.doc"), File(L"a.TXT"), File(L"Makefile")};
    Names byName = {L"a.TXT", L"b.txt", L"C.doc", L"Makefile"};
    EXPECT_EQ(Order(entries, 0, true), byName);
    EXPECT_EQ(Order(entries, 2, true), byName);
    EXPECT_EQ(Order(entries, -1, false), byName);
}

TEST(DeskSort, FoldersFirstOrMixed) {
    std::vector<DeskEntry> entries = {File(L"zeta"), File(L"a.txt"), Folder(L"Projects"),
                                      Folder(L"old.stuff"), File(L"Beta"), Folder(L"archive")};
    EXPECT_EQ(Order(entries, 1, true),
              (Names{L"archive", L"Projects", L"old.stuff", L"Beta", L"zeta", L"a.txt"}));
    // Mixed, by extension: dot-less folders and files together, by name,
    // before every dotted name.
    EXPECT_EQ(Order(entries, 1, false),
              (Names{L"archive", L"Beta", L"Projects", L"zeta", L"old.stuff", L"a.txt"}));
    EXPECT_EQ(Order(entries, 0, false),
              (Names{L"a.txt", L"archive", L"Beta", L"old.stuff", L"Projects", L"zeta"}));
}

TEST(DeskSort, HomeAndEndAreExactNamesKeptAtTheEnds) {
    std::vector<DeskEntry> entries = {Folder(L"Work"), File(L"Notes.txt"), File(L"a.doc"),
                                      File(L"Mail.lnk"), Folder(L"Games")};
    EXPECT_EQ(Order(entries, 1, true, L"Notes.txt"),
              (Names{L"Notes.txt", L"Games", L"Work", L"a.doc", L"Mail.lnk"}));
    EXPECT_EQ(Order(entries, 1, true, L"notes.txt"),
              (Names{L"Games", L"Work", L"a.doc", L"Mail.lnk", L"Notes.txt"}))
        << "the match is case-sensitive";
    EXPECT_EQ(Order(entries, 1, true, L"Mail.lnk", L"Games"),
              (Names{L"Mail.lnk", L"Work", L"a.doc", L"Notes.txt", L"Games"}));
    EXPECT_EQ(Order(entries, 1, true, L"Work", L"Work"),
              (Names{L"Games", L"a.doc", L"Mail.lnk", L"Notes.txt", L"Work"}))
        << "named by both, it ends last";
    EXPECT_EQ(Order(entries, 1, true, L"Notes", L"Mail"),
              (Names{L"Games", L"Work", L"a.doc", L"Mail.lnk", L"Notes.txt"}))
        << "only whole names match";
    EXPECT_EQ(Order({}, 1, true, L"x", L"y"), Names{});

    // A shortcut is also found by the name its item is addressed by, which is
    // what Set Home and Set End store.
    std::vector<DeskEntry> shortcuts = {File(L"b.txt"), File(L"Mail.LNK"), File(L"a.lnk.lnk")};
    EXPECT_EQ(Order(shortcuts, 0, true, L"Mail.lnk"), (Names{L"Mail.LNK", L"a.lnk.lnk", L"b.txt"}));
    EXPECT_EQ(Order(shortcuts, 0, true, L"Mail.LNK"), (Names{L"Mail.LNK", L"a.lnk.lnk", L"b.txt"}));
    EXPECT_EQ(Order(shortcuts, 0, true, L"mail.lnk"), (Names{L"a.lnk.lnk", L"b.txt", L"Mail.LNK"}));
    EXPECT_EQ(Order(shortcuts, 0, true, L"", L"a.lnk.lnk"), (Names{L"b.txt", L"Mail.LNK", L"a.lnk.lnk"}));
    EXPECT_EQ(Order(shortcuts, 0, true, L"", L"a.lnk"), (Names{L"a.lnk.lnk", L"b.txt", L"Mail.LNK"}));
}

TEST(DeskSort, DotEntriesAndHiddenOnesAreNotListed) {
    EXPECT_FALSE(IsListedEntry(L".", FILE_ATTRIBUTE_DIRECTORY, true));
    EXPECT_FALSE(IsListedEntry(L"..", FILE_ATTRIBUTE_DIRECTORY, true));
    EXPECT_TRUE(IsListedEntry(L"...", FILE_ATTRIBUTE_NORMAL, false));
    EXPECT_TRUE(IsListedEntry(L".profile", FILE_ATTRIBUTE_NORMAL, false));
    EXPECT_FALSE(IsListedEntry(L"secret", FILE_ATTRIBUTE_HIDDEN, false));
    EXPECT_FALSE(IsListedEntry(L"cache", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY, false));
    EXPECT_TRUE(IsListedEntry(L"secret", FILE_ATTRIBUTE_HIDDEN, true));
    EXPECT_TRUE(IsListedEntry(L"boot.ini", FILE_ATTRIBUTE_SYSTEM, false));
}
