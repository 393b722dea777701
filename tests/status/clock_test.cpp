// The clock's text, its timer and its part of the title.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/text.h"
#include "status/clocktext.h"

TEST(Clock, TextAndTimerOfTheMinute) {
    for (auto [hour, minute, expected] : {std::tuple{10, 59, L"10:59 AM"},
                                          {9, 5, L" 9:05 AM"},
                                          {13, 7, L" 1:07 PM"},
                                          {0, 30, L"12:30 AM"},
                                          {23, 10, L"11:10 PM"}}) {
        std::tm time = {.tm_sec = 30,
                        .tm_min = minute,
                        .tm_hour = hour,
                        .tm_mday = 6,
                        .tm_mon = 2,
                        .tm_year = 2026 - 1900,
                        .tm_wday = 5,
                        .tm_yday = 0,
                        .tm_isdst = 0};
        wchar_t text[kClockUnits] = L"";
        EXPECT_TRUE(ClockText(time, text, kClockUnits));
        EXPECT_EQ(std::wstring(text), std::wstring(L"Fri Mar 06 2026, ") + expected);
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
