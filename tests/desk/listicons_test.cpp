// Which icons a refresh keeps, and how the image list is rearranged for them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "app/handles.h"
#include "desk/listicons.h"

namespace {

// A list of 8x8 images, image i all of the colour i + 1.
ImageListHandle ColouredList(int count) {
    ImageListHandle list(ImageList_Create(8, 8, ILC_COLOR24, 0, 1));
    HDC screen = GetDC(nullptr);
    for (int i = 0; i < count; ++i) {
        GdiObject bitmap(CreateCompatibleBitmap(screen, 8, 8));
        MemoryDc dc(CreateCompatibleDC(screen));
        HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
        GdiObject brush(CreateSolidBrush(RGB(i + 1, 0, 0)));
        RECT all = {0, 0, 8, 8};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));
        SelectObject(dc.get(), old);
        ImageList_Add(list.get(), static_cast<HBITMAP>(bitmap.get()), nullptr);
    }
    ReleaseDC(nullptr, screen);
    return list;
}

// The colour number image index holds.
int Colour(HIMAGELIST list, int index) {
    HDC screen = GetDC(nullptr);
    MemoryDc dc(CreateCompatibleDC(screen));
    GdiObject bitmap(CreateCompatibleBitmap(screen, 8, 8));
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    ImageList_Draw(list, index, dc.get(), 0, 0, ILD_NORMAL);
    int colour = GetRValue(GetPixel(dc.get(), 4, 4)) - 1;
    SelectObject(dc.get(), old);
    return colour;
}

} // namespace

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

TEST(ListIcons, MovedImagesLandWhereTheirItemsNowAre) {
    const struct {
        int count;
        std::vector<int> sources;
    } cases[] = {
        {5, {4, 0, 1, 2, 3}},      // one cycle through every image
        {5, {1, 0, 3, 2, 4}},      // two swaps and one in place
        {4, {-1, 0, 1, 2, 3, -1}}, // a new first item: the list grows
        {6, {5, -1, 2}},           // fewer items: the list shrinks
        {5, {-1, 0, 1, 2, 3, 4}},  // a chain into the one new slot
        {5, {1, 2, 0, -1, 3}},     // a cycle parked in a slot no one needs
    };
    for (const auto& c : cases) {
        ImageListHandle list = ColouredList(c.count);
        ASSERT_TRUE(MoveImages(list.get(), c.sources));
        ASSERT_EQ(ImageList_GetImageCount(list.get()), static_cast<int>(c.sources.size()));
        for (size_t j = 0; j < c.sources.size(); ++j) {
            if (c.sources[j] < 0) continue;
            EXPECT_EQ(Colour(list.get(), static_cast<int>(j)), c.sources[j])
                << c.count << " items, image " << j;
        }
    }
}

TEST(ListIcons, TheVisibleItemsComeFirst) {
    const std::vector<int> pending = {0, 3, 4, 8, 9};
    EXPECT_EQ(VisibleFirst(pending, 0), pending);
    EXPECT_EQ(VisibleFirst(pending, 4), (std::vector<int>{4, 8, 9, 0, 3}));
    EXPECT_EQ(VisibleFirst(pending, 5), (std::vector<int>{8, 9, 0, 3, 4}));
    EXPECT_EQ(VisibleFirst(pending, 10), pending);
}
