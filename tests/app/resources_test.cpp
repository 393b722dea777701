// Reads the resources back from the built tarvo.exe and checks them against
// the command tables the program and its users rely on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/testsupport.h"

namespace {

std::wstring BuiltProgram() { return ModuleFolder() + L"\\..\\tarvo.exe"; }

class BuiltModule : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(BuiltProgram().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot load " << GetLastError();
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
    }
    std::vector<unsigned char> resource(LPCWSTR type, int id) {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        auto* bytes = static_cast<const unsigned char*>(LockResource(loaded));
        return std::vector<unsigned char>(bytes, bytes + SizeofResource(module_, found));
    }
    HMODULE module_ = nullptr;
};

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[256] = L"";
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

struct Item {
    int id; // 0 for a separator, -1 for a sub-menu
    const wchar_t* text;
};

const Item kMainPopup[] = {
    {2200, L"Pin"}, {0, L""}, {1001, L"Open\tEnter"}, {1002, L"Rename\tF2"},
    {1003, L"View Text\tF3"}, {1004, L"View Image\tF4"}, {1005, L"View Archive\tF6"},
    {1006, L"Properties\tF12"}, {1007, L"Shell Menu...\tApp Key"}, {0, L""},
    {1011, L"Recycle\tDel"}, {1012, L"Delete\tShift+Del"}, {0, L""}, {1013, L"Cut\tCtrl+X"},
    {1014, L"Copy\tCtrl+C"}, {1015, L"Paste\tCtrl+V"}, {0, L""}, {1021, L"New File\tF7"},
    {1022, L"New Folder\tF8"}, {0, L""}, {1023, L"Refresh\tF5"}, {1024, L"Select All\tCtrl+A"},
    {1025, L"Explore Here\tF9"}, {1026, L"Command Shell\tF10"}, {0, L""}, {-1, L"T&a'rvo"},
    {-1, L"Desk"}, {-1, L"Tools"}, {-1, L"Status"}, {0, L""}, {-1, L"Settings"}, {-1, L"Info"},
    {1105, L"E&xit\tEsc"},
};

struct Submenu {
    int position;
    std::vector<Item> items;
};

const Submenu kSubmenus[] = {
    {25,
     {{2225, L"Pin"}, {0, L""}, {1031, L"Folder...\tIns"}, {0, L""},
      {1032, L"Text Colour...\tCtrl+K"}, {1033, L"Background Colour...\tCtrl+B"},
      {1034, L"Transparent\tCtrl+T"}, {0, L""}, {1035, L"Center Horiz.\tShift+1"},
      {1036, L"Center Vert.\tShift+2"}, {0, L""}, {1037, L"Tray Icon\tAlt+I"},
      {1038, L"Stay on Top\tAlt+T"}}},
    {26,
     {{2226, L"Pin"}, {0, L""}, {1051, L"Large Icons\tCtrl+Shift+I"},
      {1052, L"Small Icons\tCtrl+I"}, {1053, L"List\tCtrl+L"}, {0, L""},
      {1054, L"Sort by Name\tCtrl+N"}, {1055, L"Sort by Extension\tCtrl+E"},
      {1056, L"Folders First\tCtrl+F"}, {0, L""}, {1061, L"Set Home\tCtrl+Home"},
      {1062, L"Set End\tCtrl+End"}, {0, L""}, {1063, L"Show Hidden\tCtrl+H"},
      {1064, L"Prope&rties...\tCtrl+D"}}},
    {27,
     {{2227, L"Pin"}, {0, L""}, {1071, L"File Manager..."}, {1072, L"Archive Manager..."},
      {1073, L"Command Shell..."}, {0, L""}, {1074, L"Text Viewer..."},
      {1075, L"Image Viewer..."}}},
    {28, {{2228, L"Pin"}, {0, L""}, {1081, L"Time"}, {1082, L"Recycle Bin"}}},
    {30,
     {{2230, L"Pin"}, {0, L""}, {1091, L"Save Now"}, {1092, L"Save As..."},
      {1093, L"Save on Exit"}, {0, L""}, {1094, L"Save Folder"}}},
    {31,
     {{2231, L"Pin"}, {0, L""}, {1101, L"Menu\tF1"}, {1102, L"...at cursor"}, {0, L""},
      {1103, L"Help\t?"}, {1104, L"About..."}}},
};

void ExpectItems(HMENU menu, const Item* items, int count, int& commandItems) {
    ASSERT_EQ(GetMenuItemCount(menu), count);
    for (int position = 0; position < count; ++position) {
        const Item& expected = items[position];
        SCOPED_TRACE(testing::Message() << "position " << position);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
        ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
        if (expected.id == 0) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            continue;
        }
        EXPECT_EQ(MenuText(menu, position), expected.text);
        if (expected.id == -1) {
            EXPECT_NE(info.hSubMenu, nullptr);
            continue;
        }
        ++commandItems;
        EXPECT_EQ(static_cast<int>(info.wID), expected.id);
        EXPECT_EQ(info.hSubMenu, nullptr);
        UINT state = GetMenuState(menu, position, MF_BYPOSITION);
        if (expected.id == 1101) {
            EXPECT_EQ(state & (MF_CHECKED | MF_DISABLED | MF_GRAYED), UINT(MF_CHECKED | MF_DISABLED))
                << "Menu is stored checked and inactive, not greyed";
        } else {
            EXPECT_EQ(state & (MF_CHECKED | MF_DISABLED | MF_GRAYED), 0u);
        }
    }
}

} // namespace

TEST_F(BuiltModule, CommandMenuHoldsEveryItemInItsPlace) {
    std::vector<unsigned char> data = resource(RT_MENU, IDR_COMMAND_MENU);
    ASSERT_FALSE(data.empty());
    HMENU menu = LoadMenuIndirectW(data.data());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    EXPECT_EQ(MenuText(menu, 0), L"Main Menu");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);

    int commandItems = 0;
    ExpectItems(popup, kMainPopup, static_cast<int>(std::size(kMainPopup)), commandItems);
    for (const Submenu& submenu : kSubmenus) {
        SCOPED_TRACE(testing::Message() << "sub-menu at " << submenu.position);
        HMENU sub = GetSubMenu(popup, submenu.position);
        ASSERT_NE(sub, nullptr);
        ExpectItems(sub, submenu.items.data(), static_cast<int>(submenu.items.size()),
                    commandItems);
        // A sub-menu's Pin item is 2200 plus its position.
        EXPECT_EQ(static_cast<int>(GetMenuItemID(sub, 0)), 2200 + submenu.position);
    }
    EXPECT_EQ(commandItems, 59);
    DestroyMenu(menu);
}

TEST_F(BuiltModule, AcceleratorTableHasAllFortyKeysInOrder) {
    struct Entry {
        BYTE flags;
        WORD key;
        WORD command;
    };
    const BYTE V = FVIRTKEY, S = FSHIFT, C = FCONTROL, A = FALT;
    const Entry expected[] = {
        {BYTE(V | S), '1', 1035}, {BYTE(V | S), '2', 1036}, {BYTE(V | C), 'A', 1024},
        {BYTE(V | C), 'B', 1033}, {BYTE(V | C), 'C', 1014}, {BYTE(V | C), 'D', 1064},
        {BYTE(V | C), 'E', 1055}, {BYTE(V | C), 'F', 1056}, {BYTE(V | C), 'H', 1063},
        {BYTE(V | C), 'I', 1052}, {BYTE(V | C | S), 'I', 1051}, {BYTE(V | A), 'I', 1037},
        {BYTE(V | C), 'K', 1032}, {BYTE(V | C), 'L', 1053}, {BYTE(V | C), 'N', 1054},
        {BYTE(V | A), 'T', 1038}, {BYTE(V | C), 'T', 1034}, {BYTE(V | C), 'V', 1015},
        {BYTE(V | C), 'X', 1013}, {V, VK_RETURN, 1001}, {V, VK_DELETE, 1012},
        {BYTE(V | S), VK_DELETE, 1012}, {V, VK_APPS, 1007}, {V, VK_INSERT, 1031},
        {V, VK_F1, 1101}, {V, VK_F2, 1002}, {V, VK_F3, 1003}, {V, VK_F4, 1004},
        {V, VK_F5, 1023}, {V, VK_F6, 1005}, {V, VK_F7, 1021}, {V, VK_F8, 1022},
        {V, VK_F9, 1025}, {V, VK_F10, 1026}, {V, VK_F12, 1006}, {0, '?', 1103},
        {BYTE(V | C), VK_HOME, 1061}, {BYTE(V | C), VK_END, 1062}, {V, VK_ESCAPE, 1105},
        {V, VK_HELP, 1101},
    };
    std::vector<unsigned char> data = resource(RT_ACCELERATOR, IDR_ACCELERATORS);
    // Each entry of the stored table is four words: flags, key, command, padding.
    ASSERT_EQ(data.size(), std::size(expected) * 8);
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        const WORD* words = reinterpret_cast<const WORD*>(data.data() + i * 8);
        BYTE flags = static_cast<BYTE>(words[0] & 0x7F);
        EXPECT_EQ(flags, expected[i].flags);
        EXPECT_EQ(words[1], expected[i].key);
        EXPECT_EQ(words[2], expected[i].command);
        EXPECT_EQ((words[0] & 0x80) != 0, i + 1 == std::size(expected)) << "end-of-table mark";
    }
}

TEST_F(BuiltModule, DialogTemplatesHaveTheirStylesSizesAndControls) {
    struct Expected {
        int id;
        DWORD style;
        WORD controls;
        short cx, cy;
    };
    const DWORD common = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
    const Expected dialogs[] = {
        {IDD_EMPTY, WS_POPUP | WS_BORDER | WS_SYSMENU, 0, 0, 0},
        {IDD_ABOUT, common | WS_SYSMENU, 6, 180, 110},
        {IDD_TOOL, common, 3, 140, 60},
    };
    for (const Expected& dialog : dialogs) {
        SCOPED_TRACE(testing::Message() << "dialog " << dialog.id);
        std::vector<unsigned char> data = resource(RT_DIALOG, dialog.id);
        ASSERT_GE(data.size(), sizeof(DLGTEMPLATE));
        DLGTEMPLATE header;
        memcpy(&header, data.data(), sizeof header);
        EXPECT_EQ(header.style, dialog.style);
        EXPECT_EQ(header.cdit, dialog.controls);
        EXPECT_EQ(header.cx, dialog.cx);
        EXPECT_EQ(header.cy, dialog.cy);
    }
}

TEST_F(BuiltModule, IconManifestAndVersionBlockAreThere) {
    std::vector<unsigned char> group = resource(RT_GROUP_ICON, IDI_TARVO);
    ASSERT_EQ(group.size(), 6u + 14u) << "one image in the icon group";
    EXPECT_EQ(group[6], 32); // width
    EXPECT_EQ(group[7], 32); // height
    EXPECT_EQ(*reinterpret_cast<const WORD*>(&group[12]), 32) << "bits per pixel";

    std::vector<unsigned char> manifest = resource(RT_MANIFEST, 1);
    std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                        "processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\" "
                        "language=\"*\""),
              std::string::npos);
    EXPECT_NE(text.find("<description>Ta'rvo</description>"), std::string::npos);
    // Sharp at every scale, and known to run on Windows 7 to 11.
    for (const char* declared :
         {">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(text.find(declared), std::string::npos) << declared;

    std::wstring path = BuiltProgram();
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x000D0000u);
    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT chars = 0;
        std::wstring key = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
        if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars))
            return std::wstring();
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"FileDescription"), L"Ta'rvo (64-bit)");
    EXPECT_EQ(value(L"ProductName"), L"Ta'rvo");
    EXPECT_EQ(value(L"ProductVersion"), L"1.00 (Unicode)");
}
