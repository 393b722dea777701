// The desk list filled from real folders into the real main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/appstate.h"
#include "desk/deskorder.h"
#include "support/testsupport.h"

namespace {

class DeskList : public ::testing::Test {
  protected:
    void SetUp() override {
        state_ = TheAppState;
        ASSERT_NE(state_, nullptr);
        MoveWindow(windows_.window(), 0, 0, 600, 400, TRUE);
    }
    void show(const std::wstring& folder) {
        ASSERT_TRUE(CopyText(state_->deskpath, folder.c_str()));
        state_->RefreshDeskList();
        // A large folder comes in slices.
        ASSERT_TRUE(WaitFor([&] { return !state_->fill.Busy(); }));
    }
    int count() const { return ListView_GetItemCount(state_->desklist); }
    std::wstring label(int index) const {
        wchar_t text[kPathUnits] = L"";
        ListView_GetItemText(state_->desklist, index, 0, text, kPathUnits);
        return text;
    }
    std::vector<std::wstring> labels() const {
        std::vector<std::wstring> all;
        for (int i = 0; i < count(); ++i) all.push_back(label(i));
        return all;
    }
    LPARAM data(int index) const {
        LVITEMW item = {};
        item.mask = LVIF_PARAM | LVIF_IMAGE;
        item.iItem = index;
        ListView_GetItem(state_->desklist, &item);
        return item.lParam;
    }
    int image(int index) const {
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        ListView_GetItem(state_->desklist, &item);
        return item.iImage;
    }
    int images() const { return ImageList_GetImageCount(state_->icons.Images()); }
    // Every item shows an image the list holds; which one is the icons' affair.
    void expectEveryItemPictured() const {
        EXPECT_TRUE(WaitForIcons(state_));
        for (int i = 0; i < count(); ++i)
            EXPECT_TRUE(image(i) >= 0 && image(i) < images()) << "item " << i;
    }

    MainWindowTest windows_;
    AppState* state_ = nullptr;
};

using Labels = std::vector<std::wstring>;

// The names in MixedFolder that can be listed.
const wchar_t* const kNames[] = {L"Work",     L"Games",    L"cache",     L"secret.txt", L"boot.ini",
                                 L"Notes.txt", L"Mail.LNK", L"a.lnk.lnk", L".lnk",       L"Makefile"};

// A folder of every kind of entry the listing tells apart.
class MixedFolder : public DeskList {
  protected:
    void SetUp() override {
        DeskList::SetUp();
        desk_.folder(L"Work");
        desk_.folder(L"Games");
        desk_.folder(L"cache", FILE_ATTRIBUTE_HIDDEN);
        desk_.file(L"secret.txt", FILE_ATTRIBUTE_HIDDEN);
        desk_.file(L"boot.ini", FILE_ATTRIBUTE_SYSTEM);
        desk_.file(L"Notes.txt");
        desk_.file(L"Mail.LNK");
        desk_.file(L"a.lnk.lnk");
        // Wine reports names that begin with a dot as hidden, whatever their
        // attributes: this one is only looked at with hidden items shown.
        desk_.file(L".lnk");
        desk_.file(L"Makefile");
    }
    TempFolder desk_;
};

} // namespace

TEST_F(MixedFolder, ListsInDeskOrderWithShortcutLabelsDataAndOneImagePerItem) {
    state_->showhidden = true;
    show(desk_.path());
    state_->showhidden = false;
    EXPECT_EQ(labels(), (Labels{L"cache", L"Games", L"Work", L"Makefile", L"Mail", L"boot.ini", L"",
                                L"a.lnk", L"Notes.txt", L"secret.txt"}));
    std::vector<LPARAM> shortcuts;
    for (int i = 0; i < count(); ++i) shortcuts.push_back(data(i));
    EXPECT_EQ(shortcuts, (std::vector<LPARAM>{0, 0, 0, 0, 1, 0, 1, 1, 0, 0}));
    expectEveryItemPictured();

    wchar_t name[kPathUnits];
    EXPECT_TRUE(state_->ItemFileName(4, name));
    EXPECT_STREQ(name, L"Mail.lnk");
    EXPECT_TRUE(state_->ItemFileName(6, name));
    EXPECT_STREQ(name, L".lnk");
    EXPECT_TRUE(state_->ItemFileName(7, name));
    EXPECT_STREQ(name, L"a.lnk.lnk") << "addressed as itself, not as a.lnk";
    EXPECT_FALSE(state_->ItemFileName(8, name));
    EXPECT_STREQ(name, L"Notes.txt");
    wchar_t path[kPathUnits];
    EXPECT_TRUE(state_->ItemPath(7, path));
    EXPECT_EQ(std::wstring(path), desk_ / L"a.lnk.lnk");
    EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES) << "the path names the file";
    EXPECT_TRUE(state_->ItemPath(4, path));
    EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES) << "Mail.lnk reaches Mail.LNK";
}

TEST_F(MixedFolder, HiddenEntriesOnlyWhenAskedFor) {
    state_->sort = 0;
    state_->dirsfirst = false;
    show(desk_.path());
    EXPECT_EQ(labels(), (Labels{L"a.lnk", L"boot.ini", L"Games", L"Mail", L"Makefile", L"Notes.txt", L"Work"}))
        << "a system file is listed, a hidden file and a hidden folder are not";
    state_->showhidden = true;
    state_->RefreshDeskList();
    EXPECT_EQ(labels(), (Labels{L"", L"a.lnk", L"boot.ini", L"cache", L"Games", L"Mail",
                                L"Makefile", L"Notes.txt", L"secret.txt", L"Work"}));
    expectEveryItemPictured();
}

// Every combination of the listing options, each checked against what the
// desk order means rather than against a second copy of the sort.
TEST_F(MixedFolder, EveryCombinationOfTheListingOptions) {
    struct Ends {
        const wchar_t* home;
        const wchar_t* end;
    };
    const Ends ends[] = {{L"", L""}, {L"Notes.txt", L""}, {L"", L"Games"},
                         {L"a.lnk.lnk", L"Work"}, {L"boot.ini", L"boot.ini"}, {L"notes.txt", L"work"}};
    for (int sort : {0, 1}) {
        for (bool dirsfirst : {false, true}) {
            for (bool showhidden : {false, true}) {
                for (const Ends& e : ends) {
                    SCOPED_TRACE(testing::Message() << "sort " << sort << " dirsfirst " << dirsfirst
                                                    << " showhidden " << showhidden << " home "
                                                    << e.home << " end " << e.end);
                    state_->sort = sort;
                    state_->dirsfirst = dirsfirst;
                    state_->showhidden = showhidden;
                    CopyText(state_->home, e.home);
                    CopyText(state_->end, e.end);
                    show(desk_.path());
                    expectEveryItemPictured();

                    // The entries' own names, as the file system spells them
                    // (Mail.LNK, which the item addresses as Mail.lnk).
                    std::vector<std::wstring> names;
                    for (int i = 0; i < count(); ++i) {
                        wchar_t name[kPathUnits];
                        state_->ItemFileName(i, name);
                        for (const wchar_t* real : kNames)
                            if (_wcsicmp(real, name) == 0) names.push_back(real);
                    }
                    ASSERT_EQ(names.size(), showhidden ? 10u : 7u);
                    size_t first = 0, last = names.size();
                    auto listed = [&](const wchar_t* name) {
                        return std::find(std::begin(kNames), std::end(kNames), std::wstring(name)) !=
                               std::end(kNames);
                    };
                    bool homeListed = listed(e.home) && std::wcscmp(e.home, e.end) != 0;
                    bool endListed = listed(e.end);
                    if (homeListed) {
                        EXPECT_EQ(names[first++], e.home);
                    }
                    if (endListed) {
                        EXPECT_EQ(names[--last], e.end);
                    }
                    // What lies between is in order: folders first when asked,
                    // each group sorted by the chosen comparison.
                    auto less = sort == 1 ? LessByExtension : LessByName;
                    auto isFolder = [&](const std::wstring& n) {
                        return (GetFileAttributesW((desk_ / n).c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
                    };
                    for (size_t i = first; i + 1 < last; ++i) {
                        const std::wstring& a = names[i];
                        const std::wstring& b = names[i + 1];
                        if (dirsfirst && isFolder(a) != isFolder(b)) {
                            EXPECT_TRUE(isFolder(a)) << a << " before the folder " << b;
                            continue;
                        }
                        EXPECT_FALSE(less(b.c_str(), a.c_str())) << a << " before " << b;
                    }
                    bool listsHidden = std::find(names.begin(), names.end(), L"cache") != names.end();
                    EXPECT_EQ(listsHidden, showhidden);
                }
            }
        }
    }
}

TEST_F(DeskList, AFolderWithOnlyDotEntriesOrNoneAtAllGivesAnEmptyList) {
    TempFolder empty;
    show(empty.path());
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(images(), 0);
    show(empty / L"Gone");
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(images(), 0);
}

TEST_F(MixedFolder, EachViewModeHasItsStyleImageSizeAndSlot) {
    show(desk_.path());
    struct Mode {
        int style;
        LONG view;
        int cx, cy;
        int slot, other;
    };
    const Mode modes[] = {
        {1, LVS_SMALLICON, SM_CXSMICON, SM_CYSMICON, LVSIL_SMALL, LVSIL_NORMAL},
        {2, LVS_LIST, SM_CXSMICON, SM_CYSMICON, LVSIL_SMALL, LVSIL_NORMAL},
        {0, LVS_ICON, SM_CXICON, SM_CYICON, LVSIL_NORMAL, LVSIL_SMALL},
        {2, LVS_LIST, SM_CXSMICON, SM_CYSMICON, LVSIL_SMALL, LVSIL_NORMAL},
    };
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.style);
        state_->iconstyle = mode.style;
        state_->ApplyIconStyle();
        LONG style = GetWindowLongW(state_->desklist, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, mode.view);
        EXPECT_EQ(style & (LVS_EDITLABELS | LVS_AUTOARRANGE | WS_VISIBLE),
                  LVS_EDITLABELS | LVS_AUTOARRANGE | WS_VISIBLE);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(state_->icons.Images(), &cx, &cy);
        EXPECT_EQ(cx, GetSystemMetrics(mode.cx));
        EXPECT_EQ(cy, GetSystemMetrics(mode.cy));
        EXPECT_EQ(ListView_GetImageList(state_->desklist, mode.slot), state_->icons.Images());
        EXPECT_EQ(ListView_GetImageList(state_->desklist, mode.other), nullptr)
            << "one slot only, so the list destroys the images once";
        EXPECT_EQ(count(), 7) << "the items stay";
        expectEveryItemPictured();
    }
    // An unknown style changes nothing but reloads the icons.
    state_->iconstyle = 7;
    state_->ApplyIconStyle();
    EXPECT_EQ(GetWindowLongW(state_->desklist, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    expectEveryItemPictured();
    ListView_DeleteItem(state_->desklist, 0);
    state_->ReloadIcons();
    expectEveryItemPictured();
}

// Near the 260-unit limit: entries whose full path would not fit are left
// out, the rest are listed, and every item still addresses its own file.
TEST_F(DeskList, ADeskPathNearTheLimitListsOnlyWhatFits) {
    TempFolder base;
    // Build a folder whose path is 240 units long, in steps the file system takes.
    std::wstring desk = base.path();
    while (desk.size() < 240) {
        std::wstring step = desk + L"\\" + std::wstring(std::min<size_t>(60, 240 - desk.size() - 1), L'd');
        if (step.size() > 240) break;
        ASSERT_TRUE(CreateDirectoryW(step.c_str(), nullptr)) << step.size();
        desk = step;
    }
    ASSERT_EQ(desk.size(), 240u);
    // 240 + 1 + 18 = 259 fits; 19 and more do not.
    std::wstring fits(14, L'f'), tooLong(15, L'g'), shortcut(14, L's');
    std::wstring names[] = {fits + L".txt", tooLong + L".txt", shortcut.substr(0, 10) + L".lnk",
                            std::wstring(30, L'x'), L"ok"};
    for (const std::wstring& name : names) {
        std::wstring full = desk + L"\\" + name;
        // The long ones are made through the \\?\ form, as other programs can.
        HANDLE file = CreateFileW((L"\\\\?\\" + full).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << full.size();
        CloseHandle(file);
    }
    state_->sort = 0;
    show(desk);
    EXPECT_EQ(labels(), (Labels{fits + L".txt", L"ok", shortcut.substr(0, 10)}));
    expectEveryItemPictured();
    for (int i = 0; i < count(); ++i) {
        wchar_t path[kPathUnits];
        state_->ItemPath(i, path);
        EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES) << i;
    }
    // The desk path itself too long for a search pattern: an empty list.
    std::wstring deeper = desk + L"\\" + std::wstring(18, L'e');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deeper).c_str(), nullptr));
    show(deeper);
    EXPECT_EQ(count(), 0);
    RemoveTree(L"\\\\?\\" + base.path());
}

namespace {

struct ListEnd {
    std::vector<POINT> positions;
    SCROLLINFO vertical, horizontal;
    LONG scrollBars;
    RECT view;
};

ListEnd EndOf(HWND list) {
    ListEnd end = {};
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        POINT p = {};
        ListView_GetItemPosition(list, i, &p);
        end.positions.push_back(p);
    }
    end.vertical.cbSize = end.horizontal.cbSize = sizeof(SCROLLINFO);
    end.vertical.fMask = end.horizontal.fMask = SIF_ALL;
    GetScrollInfo(list, SB_VERT, &end.vertical);
    GetScrollInfo(list, SB_HORZ, &end.horizontal);
    end.scrollBars = GetWindowLongW(list, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL);
    ListView_GetViewRect(list, &end.view);
    return end;
}

void ExpectSameEnd(const ListEnd& ours, const ListEnd& plain) {
    EXPECT_EQ(ours.scrollBars, plain.scrollBars);
    EXPECT_TRUE(EqualRect(&ours.view, &plain.view));
    for (const auto& [a, b] : {std::pair{ours.vertical, plain.vertical}, std::pair{ours.horizontal, plain.horizontal}}) {
        EXPECT_EQ(a.nMin, b.nMin);
        EXPECT_EQ(a.nMax, b.nMax);
        EXPECT_EQ(a.nPage, b.nPage);
        EXPECT_EQ(a.nPos, b.nPos);
    }
    ASSERT_EQ(ours.positions.size(), plain.positions.size());
    for (size_t i = 0; i < ours.positions.size(); ++i) {
        EXPECT_EQ(ours.positions[i].x, plain.positions[i].x) << "item " << i;
        EXPECT_EQ(ours.positions[i].y, plain.positions[i].y) << "item " << i;
    }
}

} // namespace

// The fill holds drawing once the list overflows its window; the list must
// end exactly as the same items inserted one by one, drawn all along, leave it.
TEST_F(DeskList, AFillThatOverflowsEndsAsPlainInsertsWould) {
    TempFolder desk;
    for (int i = 0; i < 250; ++i) desk.file(L"entry " + std::to_wstring(1000 + i) + (i % 3 ? L".txt" : L".doc"));
    ShowWindow(windows_.window(), SW_SHOW);
    CopyText(state_->deskpath, desk.path().c_str());
    for (int style : {0, 1, 2}) {
        SCOPED_TRACE(style);
        state_->iconstyle = style;
        state_->ApplyIconStyle();
        state_->RefreshDeskList();
        ASSERT_EQ(count(), 250);
        EXPECT_TRUE(IsWindowVisible(state_->desklist));
        EXPECT_NE(GetWindowLongW(state_->desklist, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0)
            << "the fixture overflows the window";
        ListEnd ours = EndOf(state_->desklist);
        Labels names = labels();

        SendMessageW(state_->desklist, LVM_DELETEALLITEMS, 0, 0);
        for (int i = 0; i < 250; ++i) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
            item.iItem = item.iImage = i;
            item.pszText = names[i].data();
            SendMessageW(state_->desklist, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            UpdateWindow(windows_.window());
        }
        ExpectSameEnd(ours, EndOf(state_->desklist));
    }
}

class LargeFolder : public DeskList {
  protected:
    static void SetUpTestSuite() {
        desk_ = new TempFolder;
        for (int i = 0; i < 2000; ++i) {
            if (i % 50 == 0)
                desk_->folder(L"folder " + std::to_wstring(i));
            else
                desk_->file(L"file " + std::to_wstring(i) + (i % 2 ? L".txt" : L".dat"));
        }
    }
    static void TearDownTestSuite() {
        delete desk_;
        desk_ = nullptr;
    }
    static TempFolder* desk_;
};
TempFolder* LargeFolder::desk_ = nullptr;

TEST_F(LargeFolder, TwoThousandEntriesAreAllListedAndReachable) {
    state_->sort = 0;
    show(desk_->path());
    ASSERT_EQ(count(), 2000);
    expectEveryItemPictured();
    EXPECT_EQ(label(0), L"folder 0");
    EXPECT_EQ(label(39), L"folder 950") << "the 40 folders first, by name";
    EXPECT_EQ(label(40), L"file 1.txt");
    EXPECT_EQ(label(1999), L"file 999.txt");
    // The list is drawn and scrolls again after the fill.
    EXPECT_NE(GetWindowLongW(state_->desklist, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_TRUE(ListView_EnsureVisible(state_->desklist, 1999, FALSE));
    EXPECT_GT(GetScrollPos(state_->desklist, SB_VERT), 0);
}

// Between the slices of a large fill the window takes messages: refreshes
// asked for meanwhile wait for the last slice and run once, as the stronger
// of them (F5 remakes every icon), and the marks come back after it. A close
// does not wait for the rest of a fill.
TEST_F(LargeFolder, RequestsDuringTheSlicesWaitAndACloseDoesNot) {
    state_->sort = 0;
    show(desk_->path());
    ASSERT_TRUE(WaitForIcons(state_));
    state_->MarkOnly(1999);
    state_->RefreshDeskList();
    ASSERT_TRUE(state_->fill.Filling());
    EXPECT_LT(count(), 2000) << "the rest comes in later slices";
    unsigned fills = state_->fill.FillsBegun();
    // A view chosen meanwhile is the one the list ends in.
    state_->iconstyle = 1;
    state_->ApplyIconStyle();
    state_->RefreshDeskList(true);
    state_->RefreshDeskList(false);
    EXPECT_EQ(state_->fill.FillsBegun(), fills) << "nothing begins inside a fill";
    ASSERT_TRUE(StepUntil([&] { return state_->fill.FillsBegun() == fills + 1; }));
    EXPECT_EQ(state_->icons.Pending(), 2000) << "the waiting F5 makes every icon anew";
    ASSERT_TRUE(WaitFor([&] { return !state_->fill.Busy(); }));
    EXPECT_EQ(state_->fill.FillsBegun(), fills + 1) << "two requests, one refresh";
    EXPECT_EQ(count(), 2000);
    EXPECT_EQ(ListView_GetNextItem(state_->desklist, -1, LVNI_SELECTED), 1999);
    EXPECT_EQ(GetWindowLongW(state_->desklist, GWL_STYLE) & LVS_TYPEMASK, LVS_SMALLICON);
    // Also from the small-icon view, which a fill leaves in its view.
    state_->RefreshDeskList();
    state_->iconstyle = 0;
    state_->ApplyIconStyle();
    ASSERT_TRUE(WaitFor([&] { return !state_->fill.Busy(); }));
    EXPECT_EQ(GetWindowLongW(state_->desklist, GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);

    CopyText(state_->inipath, windows_.settingsPath().c_str());
    state_->RefreshDeskList();
    ASSERT_TRUE(state_->fill.Filling());
    SendMessageW(windows_.window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(windows_.window())) << "closed in the middle of a fill";
    EXPECT_TRUE(PathExists(windows_.settingsPath())) << "and the settings were saved";
}
