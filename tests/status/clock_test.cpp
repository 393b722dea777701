// The clock's text, its timer and its part of the title.
#include <gtest/gtest.h>

#include <string>

#include "app/text.h"
#include "status/clocktext.h"

TEST(Clock, TextAndTimerOfTheMinute) {
    struct Case {
        int hour, minute;
        const wchar_t* expected;
    } cases[] = {
        {10, 59, L"Fri Mar 06 2026, 10:59 AM"}, {9, 5, L"Fri Mar 06 2026,  9:05 AM"},
        {13, 7, L"Fri Mar 06 2026,  1:07 PM"},  {0, 30, L"Fri Mar 06 2026, 12:30 AM"},
        {23, 10, L"Fri Mar 06 2026, 11:10 PM"},
    };
    for (const Case& c : cases) {
        std::tm time = {};
        time.tm_year = 2026 - 1900, time.tm_mon = 2, time.tm_mday = 6, time.tm_wday = 5;
        time.tm_hour = c.hour, time.tm_min = c.minute, time.tm_sec = 30;
        wchar_t text[kClockUnits] = L"";
        EXPECT_TRUE(ClockText(time, text, kClockUnits));
        EXPECT_STREQ(text, c.expected);
    }
    EXPECT_EQ(ClockInterval(30), 31000u); // at 10:59:30, one second past 11:00
    EXPECT_EQ(ClockInterval(59), 2000u);
}

TEST(Clock, TheTitleKeepsItsOwnParenthesesThroughOnOffOn) {
    for (const std::wstring& base :
         {std::wstring(L"C:\\Desk (old) - Ta'rvo"), L"C:\\(a" + std::wstring(240, L'x')}) {
        const std::wstring on = (base + L"  (Fri 10:59 AM)").substr(0, kPathUnits - 1);
        wchar_t title[kPathUnits], part[kPathUnits] = L"";
        CopyText(title, base.c_str());
        for (int round = 0; round < 2; ++round) {
            AppendClockPart(title, kPathUnits, L"Fri 10:59 AM", part);
            EXPECT_EQ(std::wstring(title), on);
            RemoveClockPart(title, part);
            EXPECT_EQ(std::wstring(title), base);
        }
        RemoveClockPart(title, part); // off while off
        EXPECT_EQ(std::wstring(title), base);
    }
}
