// The clock's text, its timer and its part of the title.
#include <gtest/gtest.h>

#include <string>

#include "app/text.h"
#include "status/clocktext.h"

namespace {

std::wstring TextAt(int hour, int minute) {
    std::tm time = {};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 6;
    time.tm_wday = 5;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = 30;
    wchar_t text[kClockUnits];
    EXPECT_TRUE(ClockText(time, text, kClockUnits));
    return text;
}

} // namespace

TEST(Clock, ShowsTheMinuteWithABlankForTheHoursLeadingZero) {
    struct Case {
        int hour, minute;
        const wchar_t* expected;
    } cases[] = {
        {10, 59, L"Fri Mar 06 2026, 10:59 AM"}, {9, 5, L"Fri Mar 06 2026,  9:05 AM"},
        {0, 30, L"Fri Mar 06 2026, 12:30 AM"},  {12, 0, L"Fri Mar 06 2026, 12:00 PM"},
        {13, 7, L"Fri Mar 06 2026,  1:07 PM"},  {23, 10, L"Fri Mar 06 2026, 11:10 PM"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextAt(c.hour, c.minute), c.expected) << c.hour;

    wchar_t small[8];
    EXPECT_FALSE(ClockText(std::tm{}, small, 8));
    EXPECT_STREQ(small, L"");
}

TEST(Clock, FiresOneSecondAfterTheNextFullMinute) {
    EXPECT_EQ(ClockInterval(30), 31000u);
    EXPECT_EQ(ClockInterval(0), 61000u);
    EXPECT_EQ(ClockInterval(59), 2000u);
}

TEST(Clock, TheTitleKeepsItsOwnParenthesesThroughAnyToggles) {
    for (const std::wstring& base :
         {std::wstring(L"C:\\Desk - Ta'rvo"), std::wstring(L"C:\\Desk (old) - Ta'rvo"),
          L"C:\\(a" + std::wstring(240, L'x') + L" - Ta'rvo"}) {
        wchar_t title[kPathUnits], part[kPathUnits] = L"";
        CopyText(title, base.c_str());
        RemoveClockPart(title, part); // off while off
        EXPECT_EQ(std::wstring(title), base);
        AppendClockPart(title, kPathUnits, L"Fri 10:59 AM", part);
        std::wstring on = (base + L"  (Fri 10:59 AM)").substr(0, kPathUnits - 1);
        EXPECT_EQ(std::wstring(title), on);
        RemoveClockPart(title, part); // on again: one clock part, no more blanks
        AppendClockPart(title, kPathUnits, L"Fri 10:59 AM", part);
        EXPECT_EQ(std::wstring(title), on);
        RemoveClockPart(title, part);
        EXPECT_EQ(std::wstring(title), base);
        RemoveClockPart(title, part);
        EXPECT_EQ(std::wstring(title), base);
    }
}
