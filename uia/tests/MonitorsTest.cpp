#include <gtest/gtest.h>

#include "uia/Monitors.h"

using namespace QX::UIA;
using QX::GP::Rect;

namespace {

MonitorInfo monitorAt(Rect rect) {
    MonitorInfo info;
    info.monitor = rect;
    info.workArea = rect;
    info.valid = true;
    return info;
}

class MonitorArrangementTest : public ::testing::Test {
protected:
    void TearDown() override {
        DETAIL::setMonitorCacheValid(true);
        invalidateMonitorCache();
    }
};

TEST_F(MonitorArrangementTest, SideBySideSortsByLeftEdge) {
    DETAIL::storeMonitors({monitorAt({1920, 0, 3840, 1080}), monitorAt({0, 0, 1920, 1080})});
    EXPECT_FALSE(areMonitorsVertical());
    ASSERT_EQ(getMonitors().size(), 2u);
    EXPECT_EQ(getMonitors()[0].monitor.left, 0);
    EXPECT_EQ(getMonitors()[1].monitor.left, 1920);
    EXPECT_EQ(getMonitorBounds(), (Rect{0, 0, 3840, 1080}));
}

TEST_F(MonitorArrangementTest, StackedSortsByTopEdge) {
    DETAIL::storeMonitors({monitorAt({0, 0, 1920, 1080}), monitorAt({0, -1080, 1920, 0})});
    EXPECT_TRUE(areMonitorsVertical());
    EXPECT_EQ(getMonitors()[0].monitor.top, -1080);
    EXPECT_EQ(getMonitorBounds(), (Rect{0, -1080, 1920, 1080}));
}

TEST_F(MonitorArrangementTest, SecondMonitorBelowTheFirstIsVertical) {
    EXPECT_TRUE(DETAIL::isVerticalArrangement({monitorAt({0, 0, 1920, 1080}), monitorAt({0, 1080, 1920, 2160})}));
}

TEST_F(MonitorArrangementTest, FirstMonitorLeftOfTheOriginIsNoStack) {
    // Nothing stands before the first entry to compare its centre with.
    EXPECT_FALSE(DETAIL::isVerticalArrangement({monitorAt({-1920, 0, 0, 1080})}));
    EXPECT_FALSE(DETAIL::isVerticalArrangement({monitorAt({-1920, 0, 0, 1080}), monitorAt({0, 0, 1920, 1080})}));
    EXPECT_FALSE(DETAIL::isVerticalArrangement({monitorAt({0, 0, 1920, 1080}), monitorAt({-1920, 0, 0, 1080})}));
}

TEST_F(MonitorArrangementTest, BoundsStartFromTheUnitRectangle) {
    DETAIL::storeMonitors({monitorAt({100, 100, 800, 600})});
    EXPECT_EQ(getMonitorBounds(), (Rect{0, 0, 800, 600}));
}

TEST_F(MonitorArrangementTest, InvalidateEmptiesOnlyAValidCache) {
    DETAIL::storeMonitors({monitorAt({0, 0, 800, 600})});
    invalidateMonitorCache();  // not marked valid: left alone
    EXPECT_EQ(getMonitors().size(), 1u);
    DETAIL::setMonitorCacheValid(true);
    invalidateMonitorCache();
    EXPECT_FALSE(isMonitorCacheValid());
    EXPECT_TRUE(getMonitors().empty());
}

TEST(TaskbarCutTest, TaskbarWindowAtEachEdge) {
    const Rect desktop{0, 0, 1920, 1080};
    EXPECT_EQ(DETAIL::cutTaskbarWindow(desktop, {-2, 1040, 1922, 1082}), (Rect{0, 0, 1920, 1040}));  // bottom
    EXPECT_EQ(DETAIL::cutTaskbarWindow(desktop, {-2, -2, 1922, 40}), (Rect{0, 40, 1920, 1080}));     // top
    EXPECT_EQ(DETAIL::cutTaskbarWindow(desktop, {-2, -2, 60, 1082}), (Rect{60, 0, 1920, 1080}));     // left
    EXPECT_EQ(DETAIL::cutTaskbarWindow(desktop, {1860, -2, 1922, 1082}), (Rect{0, 0, 1860, 1080}));  // right
    EXPECT_EQ(DETAIL::cutTaskbarWindow(desktop, {100, 100, 200, 200}), desktop);                     // floating
}

TEST(TaskbarCutTest, AppBarPositions) {
    const Rect desktop{0, 0, 1920, 1080};
    EXPECT_EQ(DETAIL::cutAppBar(desktop, {0, 0, 60, 1080}), (Rect{60, 0, 1920, 1080}));     // left
    EXPECT_EQ(DETAIL::cutAppBar(desktop, {0, 0, 1920, 40}), (Rect{0, 40, 1920, 1080}));     // top
    EXPECT_EQ(DETAIL::cutAppBar(desktop, {1860, 0, 1920, 1080}), (Rect{0, 0, 1860, 1080}));  // right
    EXPECT_EQ(DETAIL::cutAppBar(desktop, {0, 1040, 1920, 1080}), (Rect{0, 0, 1920, 1040}));  // bottom
    EXPECT_EQ(DETAIL::cutAppBar(desktop, {0, 0, 50, 50}), (Rect{0, 0, 0, 1080}));  // square: as a right bar
}

}  // namespace
