#include <gtest/gtest.h>

#include <string>

#include "app/text.h"

TEST(BoundedText, CopyRefusesWhatDoesNotFitAndKeepsTheOldText) {
    wchar_t buffer[8] = L"old";
    EXPECT_TRUE(CopyText(buffer, L"1234567"));
    EXPECT_STREQ(buffer, L"1234567");
    EXPECT_FALSE(CopyText(buffer, L"12345678"));
    EXPECT_STREQ(buffer, L"1234567");
}

TEST(BoundedText, AppendRefusesWhatDoesNotFit) {
    wchar_t buffer[8] = L"abc";
    EXPECT_TRUE(AppendText(buffer, L"defg"));
    EXPECT_STREQ(buffer, L"abcdefg");
    EXPECT_FALSE(AppendText(buffer, L"h"));
    EXPECT_STREQ(buffer, L"abcdefg");
}

TEST(BoundedText, JoinPathAddsOneBackslashOnly) {
    wchar_t path[kPathUnits];
    EXPECT_TRUE(JoinPath(path, L"C:\\Desk", L"a.txt"));
    EXPECT_STREQ(path, L"C:\\Desk\\a.txt");
    EXPECT_TRUE(JoinPath(path, L"C:\\", L"a.txt"));
    EXPECT_STREQ(path, L"C:\\a.txt");
    EXPECT_FALSE(JoinPath(path, L"", L"a.txt")) << "no folder is no drive's root";
}

TEST(BoundedText, JoinPathOfExactly259UnitsFitsAnd260DoesNot) {
    std::wstring folder = L"C:\\" + std::wstring(250, L'f'); // 253 units
    wchar_t path[kPathUnits] = L"untouched";
    EXPECT_TRUE(JoinPath(path, folder.c_str(), L"12345")); // 253 + 1 + 5 = 259
    EXPECT_EQ(std::wcslen(path), 259u);
    wcscpy(path, L"untouched");
    EXPECT_FALSE(JoinPath(path, folder.c_str(), L"123456"));
    EXPECT_STREQ(path, L"untouched");
}

TEST(BoundedText, JoinPathMayWriteOverItsOwnFolder) {
    wchar_t path[kPathUnits] = L"C:\\Desk";
    EXPECT_TRUE(JoinPath(path, path, L"x"));
    EXPECT_STREQ(path, L"C:\\Desk\\x");
}

TEST(BoundedText, TruncatingCopiesCutAtTheEnd) {
    wchar_t tip[5];
    CopyTruncated(tip, L"abcdefgh");
    EXPECT_STREQ(tip, L"abcd");
    wchar_t title[10];
    ConcatTruncated(title, {L"C:\\Desk", L" - ", L"Ta'rvo"});
    EXPECT_STREQ(title, L"C:\\Desk -");
    ConcatTruncated(title, {L"a", L"b"});
    EXPECT_STREQ(title, L"ab");
    // A character of two units is kept whole or left out, never halved.
    CopyTruncated(tip, L"abc\U0001F600");
    EXPECT_STREQ(tip, L"abc");
    CopyTruncated(tip, L"ab\U0001F600");
    EXPECT_STREQ(tip, L"ab\U0001F600");
    ConcatTruncated(title, {L"C:\\Desk", L" \U0001F600"});
    EXPECT_STREQ(title, L"C:\\Desk ");
}
