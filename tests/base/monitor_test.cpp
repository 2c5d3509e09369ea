// Monitor choice over lists of monitors (the two-monitor cases) and on the
// running system.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>
#include "base/monitor.h"

namespace {
MonitorArea Area(RECT rect, RECT work, bool primary) {
    MonitorArea a;
    a.rect = rect;
    a.work = work;
    a.primary = primary;
    return a;
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

// Primary 1920x1080 on the left, a second 1280x1024 monitor to its right.
const RECT kPrimary = {0, 0, 1920, 1080}, kPrimaryWork = {0, 0, 1920, 1040};
const RECT kSecond = {1920, 0, 3200, 1024}, kSecondWork = {1920, 0, 3200, 1000};
std::vector<MonitorArea> TwoMonitors() {
    return {Area(kPrimary, kPrimaryWork, true), Area(kSecond, kSecondWork, false)};
}
}  // namespace

TEST(Monitor, PointsOnAndOffTwoMonitors) {
    const struct {
        const char* name;
        int x, y, mode;
        RECT rect;
        int result;
    } cases[] = {
        {"second, whole", 2000, 100, 0, kSecond, 1},
        {"second, work", 2000, 100, 1, kSecondWork, 1},
        {"second, mixed mode gives work", 2000, 100, -1, kSecondWork, 1},
        {"primary, whole", 100, 100, 0, kPrimary, 0},
        {"primary, work", 100, 100, 1, kPrimaryWork, 0},
        {"primary, mixed mode gives whole", 100, 100, -1, kPrimary, 0},
        {"other mode is whole", 100, 100, 7, kPrimary, 0},
        {"right edge belongs to the next", 1920, 10, 0, kSecond, 1},
        {"last column of primary", 1919, 10, 0, kPrimary, 0},
        {"beyond the right", 5000, 500, 0, kSecond, 1},
        {"left of everything", -300, 500, 0, kPrimary, 0},
        {"below the second", 2500, 1050, 0, kSecond, 1},
        {"below both, nearer primary", 1800, 1200, 0, kPrimary, 0},
        {"inside primary below second", 1919, 1060, 0, kPrimary, 0},
    };
    for (const auto& c : cases) {
        RECT r = {};
        EXPECT_EQ(c.result, SelectMonitorRect(TwoMonitors(), c.x, c.y, &r, c.mode)) << c.name;
        EXPECT_TRUE(Same(c.rect, r)) << c.name;
    }
}

TEST(Monitor, WindowSpanningTwoMonitorsUsesItsCentre) {
    RECT r;
    RECT mostlyRight = {1500, 100, 2500, 600};  // centre x 2000
    EXPECT_EQ(1, SelectWindowMonitorRect(TwoMonitors(), &mostlyRight, &r));
    EXPECT_TRUE(Same(kSecond, r));
    RECT mostlyLeft = {1000, 100, 2100, 600};  // centre x 1550
    EXPECT_EQ(0, SelectWindowMonitorRect(TwoMonitors(), &mostlyLeft, &r));
    EXPECT_TRUE(Same(kPrimary, r));
    EXPECT_EQ(0, SelectWindowMonitorRect(TwoMonitors(), nullptr, &r));
    EXPECT_TRUE(Same(kPrimary, r));
}

TEST(Monitor, SecondMonitorLeftOfPrimary) {
    const RECT left = {-1280, 0, 0, 1024};
    std::vector<MonitorArea> monitors = {Area(kPrimary, kPrimaryWork, true), Area(left, left, false)};
    RECT r;
    EXPECT_EQ(1, SelectMonitorRect(monitors, -1, 5, &r, 0));
    EXPECT_TRUE(Same(left, r));
    RECT window = {-600, 0, 200, 400};  // centre x -200
    EXPECT_EQ(1, SelectWindowMonitorRect(monitors, &window, &r));
    EXPECT_EQ(-1, SelectMonitorRect({}, 0, 0, &r, 0));
}

TEST(Monitor, RunningSystem) {
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));

    RECT r;
    EXPECT_EQ(0, GetMonitorRect(10, 10, &r, 0));
    EXPECT_TRUE(Same(screen, r));
    EXPECT_EQ(0, GetMonitorRect(10, 10, &r, 1));
    EXPECT_TRUE(Same(work, r));
    EXPECT_EQ(0, GetMonitorRect(-5000, 99999, &r, -1));  // nearest: the only one
    EXPECT_TRUE(Same(screen, r));

    int right = 0, bottom = 0;
    EXPECT_EQ(0, GetMonitorExtent(10, 10, &right, &bottom));
    EXPECT_EQ(screen.right, right);
    EXPECT_EQ(screen.bottom, bottom);
    EXPECT_EQ(0, GetMonitorExtent(10, 10, nullptr, nullptr));

    HWND window = CreateWindowExA(0, "STATIC", "monitor", WS_POPUP, -400, -300, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, GetWindowMonitorRect(window, &r));
    EXPECT_TRUE(Same(screen, r));
    DestroyWindow(window);
    EXPECT_EQ(0, GetWindowMonitorRect(nullptr, &r));
    EXPECT_TRUE(Same(screen, r));
}
