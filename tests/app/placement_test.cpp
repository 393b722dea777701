// Where the window goes, on one monitor and on monitors beside it.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/placement.h"
#include "commands/commandids.h"

// Found by argument lookup: RECT lives in the global namespace.
static bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
static void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

constexpr RECT kPrimary = {0, 0, 1920, 1080};
constexpr RECT kRightOfIt = {1920, 0, 3200, 1024};
constexpr RECT kLeftOfIt = {-1280, 0, 0, 1024};
constexpr SIZE kMinTrack = {112, 27};

} // namespace

TEST(FitRectToMonitor, PullsASavedRectangleOntoItsMonitor) {
    struct Case {
        RECT saved, monitor, expected;
    } cases[] = {
        {{5000, 100, 5400, 400}, kPrimary, {1520, 100, 1920, 400}},
        {{-8, -8, 1928, 1048}, kPrimary, {-8, -8, 1928, 1048}}, // within the tolerance
        {{-11, 100, 389, 400}, kPrimary, {0, 100, 400, 400}},
        {{100, 100, 120, 400}, kPrimary, {100, 100, 200, 400}}, // too narrow: 100 wide
        {{100, 100, 500, 110}, kPrimary, {100, 100, 500, 200}},
        {{-500, 100, -50, 400}, kPrimary, {0, 100, 450, 400}},
        {{100, 2000, 500, 2300}, kPrimary, {100, 780, 500, 1080}},
        {{100, -50, 500, 1200}, kPrimary, {100, 0, 500, 1250}},  // taller: top wins
        {{-100, 100, 2100, 400}, kPrimary, {0, 100, 2200, 400}}, // wider: left wins
        {{2000, 100, 2400, 400}, kRightOfIt, {2000, 100, 2400, 400}},
        {{3000, 100, 3400, 400}, kRightOfIt, {2800, 100, 3200, 400}},
        {{1000, 100, 1400, 400}, kRightOfIt, {1920, 100, 2320, 400}},
        {{-1200, 100, -800, 400}, kLeftOfIt, {-1200, 100, -800, 400}},
        {{-2000, 100, -1600, 400}, kLeftOfIt, {-1280, 100, -880, 400}},
        {{-300, 100, 100, 400}, kLeftOfIt, {-400, 100, 0, 400}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitRectToMonitor(c.saved, c.monitor, kMinTrack), c.expected)
            << c.saved.left << "," << c.saved.top << "," << c.saved.right << "," << c.saved.bottom;
    }
}

TEST(CentredPosition, UsesTheWorkAreasFarEdgesFromTheMonitorsOrigin) {
    const RECT window = {100, 50, 500, 350}; // 400 x 300
    struct Case {
        RECT work, monitor;
        int command;
        LONG x, y;
    } cases[] = {
        {{0, 0, 1920, 1040}, kPrimary, CMD_CENTER_HORIZ, 760, 50},
        {{0, 0, 1920, 1040}, kPrimary, CMD_CENTER_VERT, 100, 370},
        {{200, 60, 1920, 1080}, kPrimary, CMD_CENTER_HORIZ, 760, 50}, // left edge not counted
        {{200, 60, 1920, 1080}, kPrimary, CMD_CENTER_VERT, 100, 390},
        {{0, 0, 1919, 1040}, kPrimary, CMD_CENTER_HORIZ, 759, 50}, // 1519 / 2 truncates
        {{0, 0, 399, 1040}, kPrimary, CMD_CENTER_HORIZ, 0, 50},    // -1 / 2 truncates to 0
        {{0, 0, 397, 1040}, kPrimary, CMD_CENTER_HORIZ, -1, 50},
        {kRightOfIt, kRightOfIt, CMD_CENTER_HORIZ, 2360, 50},
        {kLeftOfIt, kLeftOfIt, CMD_CENTER_VERT, 100, 362},
        {{0, 0, 1920, 1040}, kPrimary, CMD_TRANSPARENT, 100, 50},
    };
    for (const Case& c : cases) {
        POINT at = CentredPosition(window, c.work, c.monitor, c.command);
        EXPECT_EQ(at.x, c.x) << c.work.right << " " << c.command;
        EXPECT_EQ(at.y, c.y) << c.work.bottom << " " << c.command;
    }
}
