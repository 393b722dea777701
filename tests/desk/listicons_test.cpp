// Which icons a refresh keeps, and which are asked for first.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/handles.h"
#include "desk/listicons.h"
#include "support/testsupport.h"

TEST(ListIcons, AnIconIsKeptOnlyForTheSameNameWithTheSameStamp) {
    const EntryStamp stamp{FILE_ATTRIBUTE_ARCHIVE, 10, 500};
    const std::vector<ListedIcon> old = {{L"a.txt", stamp, true},  {L"b.txt", stamp, true},
                                         {L"c.txt", stamp, false}, {L"d.txt", stamp, true},
                                         {L"e.txt", stamp, true},  {L"f.txt", stamp, true},
                                         {L"g.txt", stamp, true}};
    const std::vector<ListedIcon> fresh = {
        {L"new.txt", stamp},                            // not listed before
        {L"g.txt", stamp},                              // moved up: kept
        {L"b.txt", {FILE_ATTRIBUTE_ARCHIVE, 11, 500}},  // grew
        {L"c.txt", stamp},                              // its icon was never made
        {L"d.txt", {FILE_ATTRIBUTE_ARCHIVE, 10, 501}},  // written
        {L"e.txt", {FILE_ATTRIBUTE_READONLY, 10, 500}}, // other attributes
        {L"F.TXT", stamp},                              // renamed in other letters
        {L"a.txt", stamp}};                             // moved down: kept
    EXPECT_EQ(KeptIconSources(old, fresh), (std::vector<int>{-1, 6, -1, -1, -1, -1, -1, 0}));
}

// A stamp tells what the user changed: the file's attributes, its length
// (not the room the disk gives it) and its last write (not its last change
// of any kind), as its folder's listing gives them.
TEST(ListIcons, AStampHoldsTheAttributesLengthAndLastWriteOfTheListing) {
    TempFolder folder;
    folder.file(L"five.txt");
    const std::wstring path = folder / L"five.txt";
    {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "12345", 5, &written, nullptr));
        const FILETIME written_at = {0x12345678, 0x01D00000};
        ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written_at));
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    FileHandle listed(CreateFileW(folder.path().c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::vector<ULONGLONG> block(8192);
    ASSERT_TRUE(GetFileInformationByHandleEx(listed.get(), FileFullDirectoryInfo, block.data(),
                                             static_cast<DWORD>(block.size() * 8)));
    for (auto* at = reinterpret_cast<const BYTE*>(block.data());;) {
        auto* info = reinterpret_cast<const FILE_FULL_DIR_INFO*>(at);
        if (std::wstring(info->FileName, info->FileNameLength / 2) == L"five.txt") {
            const DWORD attributes = GetFileAttributesW(path.c_str());
            EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
            EXPECT_EQ(StampOf(*info), (EntryStamp{attributes, 5, 0x01D0000012345678ull}));
            return;
        }
        ASSERT_NE(info->NextEntryOffset, 0u) << "five.txt not listed";
        at += info->NextEntryOffset;
    }
}

TEST(ListIcons, TheVisibleItemsComeFirst) {
    const std::vector<int> pending = {0, 3, 4, 8, 9};
    EXPECT_EQ(VisibleFirst(pending, 0), pending);
    EXPECT_EQ(VisibleFirst(pending, 4), (std::vector<int>{4, 8, 9, 0, 3}));
    EXPECT_EQ(VisibleFirst(pending, 5), (std::vector<int>{8, 9, 0, 3, 4}));
    EXPECT_EQ(VisibleFirst(pending, 10), pending);
}
