// Which icons a refresh keeps, and which are asked for first.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "desk/listicons.h"

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

// A stamp tells what the user changed: the attributes, the length (not the
// room the disk gives the file) and the last write (not its last change of
// any kind, its creation or its last reading).
TEST(ListIcons, AStampHoldsTheAttributesLengthAndLastWriteOfTheListing) {
    FILE_FULL_DIR_INFO info = {};
    info.FileAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    info.CreationTime.QuadPart = 1;
    info.LastAccessTime.QuadPart = 2;
    info.LastWriteTime.QuadPart = 3;
    info.ChangeTime.QuadPart = 4;
    info.EndOfFile.QuadPart = 5;
    info.AllocationSize.QuadPart = 4096;
    EXPECT_EQ(StampOf(info), (EntryStamp{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, 5, 3}));
}

TEST(ListIcons, TheVisibleItemsComeFirst) {
    const std::vector<int> pending = {0, 3, 4, 8, 9};
    EXPECT_EQ(VisibleFirst(pending, 0), pending);
    EXPECT_EQ(VisibleFirst(pending, 4), (std::vector<int>{4, 8, 9, 0, 3}));
    EXPECT_EQ(VisibleFirst(pending, 5), (std::vector<int>{8, 9, 0, 3, 4}));
    EXPECT_EQ(VisibleFirst(pending, 10), pending);
}
