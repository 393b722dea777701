// Every kind of item gets a real icon: its own where it has one, else its type's.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <wincodec.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "app/handles.h"
#include "desk/deskicons.h"
#include "desk/flatimage.h"
#include "desk/iconworker.h"
#include "commands/commandids.h"
#include "resources/resource.h"
#include "settings/filebytes.h"
#include "shell/shortcutfile.h"
#include "support/testsupport.h"

namespace {

using Pixels = std::vector<DWORD>;

int ItemImage(HWND list, int index) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    ListView_GetItem(list, &item);
    return item.iImage;
}

int ImageOf(HWND list, const wchar_t* label) {
    LVFINDINFOW find = {LVFI_STRING, label, 0, {}, 0};
    return ItemImage(list, ListView_FindItem(list, -1, &find));
}

// Every item shows what the shell's pictures make of its path directly.
void ExpectShellPictures(AppState* state) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(state->icons.Images(), &cx, &cy);
    COLORREF background = ImageList_GetBkColor(state->icons.Images());
    wchar_t path[kPathUnits];
    for (int i = 0; i < ListView_GetItemCount(state->desklist); ++i) {
        state->ItemPath(i, path);
        EXPECT_EQ(DrawImage(state->icons.Images(), ItemImage(state->desklist, i), background),
                  ShellPicture(path, {cx, cy}, background))
            << std::string(path, path + wcslen(path));
    }
}

} // namespace

// Pictures are told apart by their pixels and size: the bytes that pad a row
// out to a whole word say nothing.
TEST(PictureKey, TellsPicturesByTheirPixelsAndSize) {
    auto picture = [](SIZE size, BYTE padding, BYTE pixel) {
        FlatImage image(size, RGB(200, 30, 30));
        image.bits()[image.stride() - 1] = padding; // 21 pixels fill 63 of a row's 64 bytes
        if (pixel) image.bits()[0] = pixel;
        return PictureKey(MadeIcon{{}, image.Finish()});
    };
    const uint64_t base = picture({21, 4}, 0, 0);
    ASSERT_NE(base, 0u);
    const struct {
        const char* what;
        SIZE size;
        BYTE padding, pixel;
        bool same;
    } cases[] = {{"other padding", {21, 4}, 7, 0, true},
                 {"one pixel other", {21, 4}, 0, 7, false},
                 {"another size", {21, 5}, 0, 0, false}};
    for (const auto& c : cases)
        EXPECT_EQ(picture(c.size, c.padding, c.pixel) == base, c.same) << c.what;
}

// Only programs, icon files, shortcuts and customised folders are asked for
// a picture of their own; every item looks as the shell pictures its path,
// the others by their type's one picture, and keeps its look through
// refreshes, views and reloads.
TEST(DeskIcons, EveryKindOfItemGetsItsPictureAndKeepsItThroughRefreshesViewsAndReloads) {
    TempFolder desk;
    ASSERT_TRUE(MakeEntriesOfEveryKind(desk));
    MainWindowTest windows;
    AppState* state = TheAppState;
    state->thumbnails = false; // pictures as pictures have a test of their own
    PictureHooks counts;
    HookPictures(state, counts);
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList(true);
    ASSERT_TRUE(WaitForIcons(state));
    EXPECT_EQ(state->icons.OwnPictures(), 9);
    EXPECT_EQ(counts.made, 9) << "three programs, two icon files, three shortcuts, a folder";
    ExpectShellPictures(state);
    HWND list = state->desklist;
    EXPECT_EQ(ImageOf(list, L"a.txt"), ImageOf(list, L"b.txt")) << "one type, one picture";
    EXPECT_EQ(ImageOf(list, L"Tool.exe"), ImageOf(list, L"Tool copy.EXE")) << "alike, one image";
    EXPECT_NE(ImageOf(list, L"red.ico"), ImageOf(list, L"blue.ico"));

    // Each view's images by label as first seen: an item must look the same
    // wherever the order puts it.
    std::map<std::wstring, Pixels> seen[3];
    auto check = [&](int expectedCount) {
        ASSERT_TRUE(WaitForIcons(state));
        ASSERT_EQ(ListView_GetItemCount(state->desklist), expectedCount);
        for (int i = 0; i < expectedCount; ++i) {
            wchar_t label[MAX_PATH] = L"";
            ListView_GetItemText(state->desklist, i, 0, label, MAX_PATH);
            Pixels pixels = DrawImage(state->icons.Images(), ItemImage(state->desklist, i),
                                      ListView_GetBkColor(state->desklist));
            // Not blank (the icon files are all of one colour).
            if (!wcsstr(label, L".ico")) {
                EXPECT_GT(std::set<DWORD>(pixels.begin(), pixels.end()).size(), 1u) << label;
            }
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
        check(16);
        state->iconstyle = row.iconstyle;
        state->ApplyIconStyle();
        check(16);
        ListView_DeleteItem(state->desklist, 0);
        state->ReloadIcons();
        check(15);
    }
    // A folder, a document, a program and shortcuts look different, or the
    // checks above could not tell one item's image from another's; a shortcut
    // shows what it points at, and its arrow.
    std::set<Pixels> kinds = {seen[0][L"Plain"], seen[0][L"a.txt"], seen[0][L"Tool.exe"],
                              seen[0][L"Tool"], seen[0][L"Mail"]};
    EXPECT_EQ(kinds.size(), 5u);

    // On another background every picture is made again, the shared ones
    // too, and none keeps the old background.
    ImageList_SetBkColor(state->icons.Images(), RGB(0, 128, 128));
    state->ReloadIcons();
    ASSERT_TRUE(WaitForIcons(state));
    ExpectShellPictures(state);
}

// Pictures come after the items from the worker; a refresh voids what was
// still to come, keeps what was made for an unchanged entry and for each
// type, and Refresh makes every picture again.
TEST(DeskIcons, IconsArriveForTheirOwnItemsAndOnlyChangedEntriesGetNewOnes) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    TempFolder desk;
    const wchar_t* const kinds[] = {L".txt", L".ini", L".exe", L".qqx", L".bat", L""};
    for (int i = 0; i < 90; ++i)
        desk.file(L"item " + std::to_wstring(i) + kinds[i % 6]);
    desk.folder(L"item folder");
    ShortcutFile shortcut;
    ASSERT_TRUE(SUCCEEDED(shortcut.Open()));
    ASSERT_TRUE(shortcut.Retarget(L"C:\\windows\\notepad.exe", (desk / L"Mail.lnk").c_str()));
    CopyText(state->deskpath, desk.path().c_str());
    const int count = 92;
    auto expectOwnIcons = [&](int items) {
        ASSERT_TRUE(WaitForIcons(state));
        ASSERT_EQ(ListView_GetItemCount(state->desklist), items);
        ExpectShellPictures(state);
    };
    // Nothing is handed over before the window takes messages again; where
    // a type's picture is its generic one, it is final once drawn.
    int cx = 0, cy = 0;
    ImageList_GetIconSize(state->icons.Images(), &cx, &cy);
    bool typesFinal = IconMaker({cx, cy}, CLR_NONE).TypesAreGeneric();
    state->RefreshDeskList(true);
    EXPECT_EQ(state->icons.Pending(), typesFinal ? state->icons.OwnPictures() : count);
    desk.file(L"0 first.txt"); // every item moves one place down
    state->RefreshDeskList();
    EXPECT_EQ(state->icons.Pending(), typesFinal ? state->icons.OwnPictures() : count + 1)
        << "nothing was made to keep";
    expectOwnIcons(count + 1);

    const struct {
        std::function<void()> change;
        int pending;
    } steps[] = {
        {[&] { desk.file(L"00 second.bat"); }, 0},              // a type already made
        {[&] { WriteUtf16(desk / L"item 1.ini", L"[a]"); }, 0}, // same name, new size
        {[&] {                                                  // same name and size, written again
             FileHandle file(CreateFileW((desk / L"item 2.exe").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
             FILETIME later = {0, 0x01E00000};
             SetFileTime(file.get(), nullptr, nullptr, &later);
         },
         1},
        {[] {}, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        step.change();
        state->RefreshDeskList();
        EXPECT_EQ(state->icons.Pending(), step.pending);
        expectOwnIcons(count + 2);
    }
    state->RunCommand(CMD_REFRESH);
    EXPECT_EQ(state->icons.Pending(), typesFinal ? state->icons.OwnPictures() : count + 2)
        << "Refresh makes every icon anew";
    expectOwnIcons(count + 2);
}

// The window's end waits for the icon worker, which ends within the bound
// even with icons still to make.
TEST(DeskIcons, TheWorkerEndsWithTheWindowWhileIconsArePending) {
    MainWindowTest windows;
    AppState* state = TheAppState;
    TempFolder desk;
    // Programs, each read for a picture of its own.
    for (int i = 0; i < 400; ++i)
        desk.file(L"item " + std::to_wstring(i) + L".exe");
    CopyText(state->deskpath, desk.path().c_str());
    state->RefreshDeskList(true);
    ASSERT_TRUE(state->icons.WorkerThread());
    HANDLE thread = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), state->icons.WorkerThread(),
                                GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE, 0));
    KernelHandle worker(thread);
    EXPECT_GT(state->icons.Pending(), 0);
    windows.close();
    EXPECT_EQ(WaitForSingleObject(worker.get(), 0), WAIT_OBJECT_0);
}

// The start-up's fill ends on the worker's one word that the shell has set up
// its icons: without it, or without the worker saying so when asked, the
// desk would never be laid out.
TEST(DeskIcons, TheWorkerSaysOnceThatTheShellIsReady) {
    constexpr UINT kReady = WM_APP + 50;
    WindowHandle window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr));
    ASSERT_TRUE(window);
    IconWorker worker(window.get(), kReady);
    int words = 0;
    MSG message;
    for (DWORD end = GetTickCount() + 10000; words == 0 && GetTickCount() < end; Sleep(5))
        while (PeekMessageW(&message, window.get(), kReady, kReady, PM_REMOVE)) ++words;
    EXPECT_TRUE(worker.Ready());
    Sleep(200); // a second word would have come by now
    while (PeekMessageW(&message, window.get(), kReady, kReady, PM_REMOVE)) ++words;
    EXPECT_EQ(words, 1);
    EXPECT_TRUE(worker.Stop(5000));
}

// In the large icons a picture file shows what it holds, on the list's
// background, decoded once while it stays the same; a file too small to be
// a picture is never opened; one that cannot be decoded, the small icons
// and the setting turned off show the type's picture.
TEST(DeskIcons, PictureFilesShowWhatTheyHoldInTheLargeIcons) {
    ComSession com; // the pictures' encoders
    TempFolder desk;
    const struct {
        const wchar_t* name;
        const GUID& container;
        SIZE size;
        COLORREF colour;
    } pictures[] = {{L"red.png", GUID_ContainerFormatPng, {64, 32}, RGB(255, 0, 0)},
                    {L"green.jpg", GUID_ContainerFormatJpeg, {32, 32}, RGB(0, 255, 0)},
                    {L"blue.gif", GUID_ContainerFormatGif, {32, 32}, RGB(0, 0, 255)}};
    for (const auto& p : pictures)
        ASSERT_TRUE(WritePicture(desk / p.name, p.container, p.size, p.colour));
    ASSERT_TRUE(WriteBytes(desk / L"cut.png", ReadBytes(desk / L"red.png").substr(0, 80)));
    desk.file(L"empty.png");
    MainWindowTest windows;
    AppState* state = TheAppState;
    KernelHandle bigStarts(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE announce = bigStarts.get();
    PictureHooks counts;
    counts.worker = [announce](const wchar_t* path) {
        if (wcsstr(path, L"big.bmp")) SetEvent(announce);
    };
    HookPictures(state, counts);
    CopyText(state->deskpath, desk.path().c_str());
    auto imageOf = [&](const wchar_t* label) { return ImageOf(state->desklist, label); };
    auto like = [&](const wchar_t* label, int x, int y, COLORREF colour) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(state->icons.Images(), &cx, &cy);
        DWORD bgr = DrawImage(state->icons.Images(), imageOf(label), RGB(1, 2, 3))[y * cx + x];
        return Near(RGB(GetBValue(bgr), GetGValue(bgr), GetRValue(bgr)), colour, 39);
    };
    state->RefreshDeskList(true);
    ASSERT_TRUE(WaitForIcons(state));
    for (const auto& p : pictures)
        EXPECT_TRUE(like(p.name, 16, 16, p.colour)) << p.name;
    EXPECT_EQ(imageOf(L"cut.png"), imageOf(L"empty.png")) << "the type's picture";
    EXPECT_EQ(counts.decoded, 4) << "four pictures; the empty file is never opened";

    state->RefreshDeskList();
    ASSERT_TRUE(WaitForIcons(state));
    EXPECT_EQ(counts.decoded, 4) << "unchanged pictures are not decoded again";
    // A wide picture leaves bands of the background above and below it.
    state->colour = RGB(0, 0, 128);
    ImageList_SetBkColor(state->icons.Images(), state->colour);
    state->ReloadIcons();
    ASSERT_TRUE(WaitForIcons(state));
    EXPECT_TRUE(like(L"red.png", 16, 1, RGB(0, 0, 128))) << "made anew on the new colour";

    for (auto [style, shown] : {std::pair{1, true}, {0, false}}) {
        state->iconstyle = style;
        state->thumbnails = shown;
        state->ApplyIconStyle();
        ASSERT_TRUE(WaitForIcons(state));
        EXPECT_EQ(imageOf(L"red.png"), imageOf(L"empty.png")) << style;
    }

    // A large picture is decoded while the window goes on answering.
    state->thumbnails = true;
    state->ApplyIconStyle();
    ASSERT_TRUE(WaitForIcons(state));
    ASSERT_TRUE(
        WritePicture(desk / L"big.bmp", GUID_ContainerFormatBmp, {2600, 2600}, RGB(1, 1, 1)));
    DWORD_PTR pending = 0;
    bool answered = false;
    HWND window = windows.window();
    std::thread asker([&] {
        if (WaitForSingleObject(announce, 20000) == WAIT_OBJECT_0)
            answered =
                SendMessageTimeoutW(window, WM_ICONSPENDING, 0, 0, SMTO_NORMAL, 200, &pending);
    });
    state->RefreshDeskList();
    EXPECT_TRUE(WaitForIcons(state));
    asker.join();
    EXPECT_TRUE(answered && pending == 1) << "the window answered while the picture was decoded";
}
