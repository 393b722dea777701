#include <gtest/gtest.h>

#include "app/text.h"
#include "desk/itemnames.h"

TEST(ShortcutNames, LabelDropsTheFinalLnkInAnyCase) {
    wchar_t label[kPathUnits];
    EXPECT_TRUE(ShortcutLabel(L"Mail.LNK", label, kPathUnits));
    EXPECT_STREQ(label, L"Mail");
    EXPECT_TRUE(ShortcutLabel(L".lnk", label, kPathUnits));
    EXPECT_STREQ(label, L"");
    EXPECT_TRUE(ShortcutLabel(L"a.lnk.lnk", label, kPathUnits));
    EXPECT_STREQ(label, L"a.lnk");
    EXPECT_FALSE(ShortcutLabel(L"notes.lnk.txt", label, kPathUnits));
    EXPECT_STREQ(label, L"notes.lnk.txt");
    EXPECT_FALSE(ShortcutLabel(L"lnk", label, kPathUnits));
}

TEST(ShortcutNames, FileNameAlwaysRestoresTheLnkOfAShortcut) {
    wchar_t name[kPathUnits];
    EXPECT_TRUE(ItemFileNameFromLabel(L"Mail", true, name, kPathUnits));
    EXPECT_STREQ(name, L"Mail.lnk");
    // "a.lnk.lnk" is labelled "a.lnk" and must be addressed as itself.
    EXPECT_TRUE(ItemFileNameFromLabel(L"a.lnk", true, name, kPathUnits));
    EXPECT_STREQ(name, L"a.lnk.lnk");
    EXPECT_TRUE(ItemFileNameFromLabel(L"a.lnk", false, name, kPathUnits));
    EXPECT_STREQ(name, L"a.lnk");
}

TEST(ShortcutNames, ANameThatDoesNotFitIsRefused) {
    wchar_t name[8];
    EXPECT_TRUE(ItemFileNameFromLabel(L"abc", true, name, 8));
    EXPECT_STREQ(name, L"abc.lnk");
    EXPECT_FALSE(ItemFileNameFromLabel(L"abcd", true, name, 8));
    EXPECT_STREQ(name, L"");
}
