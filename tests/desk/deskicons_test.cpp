// Every kind of item gets a real icon, and image i stays the icon of item i.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "desk/deskicons.h"
#include "shell/shortcutfile.h"
#include "support/testsupport.h"

namespace {

using Pixels = std::vector<DWORD>;

// Image index of the list, drawn on the given background.
Pixels Draw(HIMAGELIST list, int index, COLORREF background) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    GdiObject bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    GdiObject brush(CreateSolidBrush(background));
    RECT all = {0, 0, cx, cy};
    FillRect(dc, &all, static_cast<HBRUSH>(brush.get()));
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    Pixels pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + cx * cy);
    SelectObject(dc, old);
    DeleteDC(dc);
    return pixels;
}

} // namespace

TEST(DeskIcons, EveryKindOfItemKeepsItsOwnIconThroughRefreshesViewsAndReloads) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    TempFolder desk;
    desk.folder(L"Alpha");
    for (const wchar_t* name : {L"b.txt", L"c.qqx"})
        desk.file(name);
    ShortcutFile shortcut;
    ASSERT_TRUE(SUCCEEDED(shortcut.Open()));
    ASSERT_TRUE(shortcut.Retarget(L"C:\\windows\\notepad.exe", (desk / L"Mail.lnk").c_str()));
    ASSERT_TRUE(shortcut.Retarget((desk / L"b.txt").c_str(), (desk / L"Note.lnk").c_str()));
    CopyText(state->deskpath, desk.path().c_str());

    // Each view's images by label as first seen: an item must look the same
    // wherever the order puts it.
    std::map<std::wstring, Pixels> seen[3];
    auto check = [&](int expectedCount) {
        ASSERT_EQ(ListView_GetItemCount(state->desklist), expectedCount);
        ASSERT_EQ(ImageList_GetImageCount(state->images), expectedCount);
        for (int i = 0; i < expectedCount; ++i) {
            wchar_t label[MAX_PATH] = L"";
            ListView_GetItemText(state->desklist, i, 0, label, MAX_PATH);
            Pixels pixels = Draw(state->images, i, ListView_GetBkColor(state->desklist));
            EXPECT_GT(std::set<DWORD>(pixels.begin(), pixels.end()).size(), 1u) << label;
            EXPECT_EQ(pixels, seen[state->iconstyle].try_emplace(label, pixels).first->second)
                << label << " changed its image";
        }
    };
    // Each row orders the items differently from the one before.
    const struct {
        int sort, iconstyle;
        bool dirsfirst;
    } rows[] = {{0, 0, true}, {1, 1, false}, {0, 2, false}, {1, 0, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "sort " << row.sort << " view " << row.iconstyle);
        state->sort = row.sort;
        state->dirsfirst = row.dirsfirst;
        state->RefreshDeskList();
        check(5);
        state->iconstyle = row.iconstyle;
        state->ApplyIconStyle();
        check(5);
        ListView_DeleteItem(state->desklist, 0);
        state->ReloadIcons();
        check(4);
    }
    // A folder, a document and a shortcut look different, or the checks
    // above could not tell one item's image from another's; a shortcut shows
    // what it points at, and its arrow.
    std::set<Pixels> kinds = {seen[0][L"Alpha"], seen[0][L"b.txt"], seen[0][L"Mail"],
                              seen[0][L"Note"]};
    EXPECT_EQ(kinds.size(), 4u);
}

// Repeated kinds of item share one drawing, copied into their own slots, and
// past the expected count the list grows: every image still shows its item.
TEST(DeskIcons, RepeatedKindsKeepTheirOwnImagesWhateverTheExpectedCount) {
    if (!Application.instance) Application.instance = GetModuleHandleW(nullptr);
    TempFolder desk;
    for (const wchar_t* name : {L"a.txt", L"b.txt"})
        desk.file(name);
    desk.folder(L"F");
    desk.folder(L"G");
    // Image i must equal image kinds[i], and the two kinds differ.
    const wchar_t* const names[] = {L"a.txt", L"F", L"b.txt", L"G", L"a.txt"};
    const int kinds[] = {0, 1, 0, 1, 0};
    for (int expected : {5, 3, 0}) {
        SCOPED_TRACE(expected);
        ImageListHandle list(ImageList_Create(32, 32, ILC_COLOR24, 0, 1));
        {
            ItemIcons icons(list.get(), expected);
            for (const wchar_t* name : names)
                icons.AddFor((desk / name).c_str());
        }
        ASSERT_EQ(ImageList_GetImageCount(list.get()), 5);
        Pixels first[2] = {Draw(list.get(), 0, RGB(1, 2, 3)), Draw(list.get(), 1, RGB(1, 2, 3))};
        EXPECT_NE(first[0], first[1]);
        for (int i = 2; i < 5; ++i)
            EXPECT_EQ(Draw(list.get(), i, RGB(1, 2, 3)), first[kinds[i]]) << "image " << i;
    }
}
