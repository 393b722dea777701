// Where the window goes, on one monitor and on monitors beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/placement.h"
#include "commands/commandids.h"

constexpr RECT kPrimary = {0, 0, 1920, 1080}, kRightOfIt = {1920, 0, 3200, 1024},
               kLeftOfIt = {-1280, 0, 0, 1024};

TEST(Placement, PullsASavedRectangleOntoItsMonitor) {
    const struct {
        RECT saved, monitor, expected;
    } cases[] = {
        {{5000, 100, 5400, 400}, kPrimary, {1520, 100, 1920, 400}},
        {{-8, -8, 1928, 1048}, kPrimary, {-8, -8, 1928, 1048}}, // within the tolerance
        {{-11, 100, 389, 400}, kPrimary, {0, 100, 400, 400}},
        {{100, 100, 120, 110}, kPrimary, {100, 100, 200, 200}}, // below the minimum: 100
        {{100, 2000, 500, 2300}, kPrimary, {100, 780, 500, 1080}},
        {{100, -50, 500, 1200}, kPrimary, {100, 0, 500, 1250}},  // taller: top wins
        {{-100, 100, 2100, 400}, kPrimary, {0, 100, 2200, 400}}, // wider: left wins
        {{3000, 100, 3400, 400}, kRightOfIt, {2800, 100, 3200, 400}},
        {{1000, 100, 1400, 400}, kRightOfIt, {1920, 100, 2320, 400}},
        {{-2000, 100, -1600, 400}, kLeftOfIt, {-1280, 100, -880, 400}},
        {{-300, 100, 100, 400}, kLeftOfIt, {-400, 100, 0, 400}},
    };
    for (const auto& c : cases) {
        RECT got = FitRectToMonitor(c.saved, c.monitor, {112, 27});
        EXPECT_TRUE(EqualRect(&got, &c.expected)) << c.saved.left << "," << c.saved.top;
    }
}

TEST(Placement, CentresFromTheMonitorsOriginToTheWorkAreasFarEdges) {
    const struct {
        RECT work, monitor;
        int command;
        LONG x, y;
    } cases[] = {
        {{0, 0, 1920, 1040}, kPrimary, CMD_CENTER_HORIZ, 760, 50},
        {{200, 60, 1920, 1080}, kPrimary, CMD_CENTER_VERT, 100, 390}, // near edges not counted
        {{0, 0, 397, 1040}, kPrimary, CMD_CENTER_HORIZ, -1, 50},      // -3 / 2 truncates
        {kRightOfIt, kRightOfIt, CMD_CENTER_HORIZ, 2360, 50},
        {kLeftOfIt, kLeftOfIt, CMD_CENTER_VERT, 100, 362},
    };
    for (const auto& c : cases) {
        POINT at = CentredPosition({100, 50, 500, 350}, c.work, c.monitor, c.command);
        EXPECT_EQ(std::pair(at.x, at.y), std::pair(c.x, c.y)) << c.work.right << " " << c.command;
    }
}
