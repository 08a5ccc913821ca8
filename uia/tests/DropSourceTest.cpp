#include <gtest/gtest.h>

#include "uia/DropSource.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::UIA {
namespace {

std::uint64_t testNow = 0;
std::uint64_t testClock() { return testNow; }

class TestDropSource : public DropSource {
public:
    bool canStartDrag(const MouseButtonEvent&) override { return allowDrag; }
    bool allowDrag = true;
};

class DropSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        testNow = 100000;
        DropSource::setClock(testClock);
    }
    void TearDown() override { DropSource::setClock(nullptr); }

    int press(std::int32_t x, std::int32_t y, std::uint32_t button = kLeftButton, std::uint32_t action = kPressed) {
        MouseButtonEvent event{x, y, 0, button, action};
        return source.handleMouseEvent(EventId::kMouseButton, &event);
    }
    int move(std::int32_t x, std::int32_t y, std::uint32_t id = EventId::kMouseMoveCaptured) {
        MousePositionEvent event{x, y, 0};
        return source.handleMouseEvent(id, &event);
    }

    TestDropSource source;
};

TEST_F(DropSourceTest, StartsOnceTheSquaredDistanceReachesEight) {
    EXPECT_EQ(press(10, 10), DropSource::kTracking);
    testNow += 200;
    EXPECT_EQ(move(11, 12), DropSource::kTracking);  // squared distance 5
    EXPECT_EQ(move(12, 12), DropSource::kStartDrag);  // 8
    EXPECT_FALSE(source.isTracking());
    EXPECT_EQ(move(40, 40), DropSource::kIgnored);
}

TEST_F(DropSourceTest, WithoutDelayAFarMoveStartsAtOnce) {
    EXPECT_EQ(source.getDragDelay(), 0u);
    press(0, 0);
    EXPECT_EQ(move(-3, 0, EventId::kMouseMove), DropSource::kStartDrag);
}

TEST_F(DropSourceTest, DelayHoldsTheDragBack) {
    source.setFourthMember(120);
    press(0, 0);
    testNow += 100;
    EXPECT_EQ(move(50, 50), DropSource::kTracking);
    testNow += 19;
    EXPECT_EQ(move(60, 60), DropSource::kTracking);
    testNow += 1;
    EXPECT_EQ(move(60, 60), DropSource::kStartDrag);
}

TEST_F(DropSourceTest, ClockGoingBackDoesNotCountAsElapsed) {
    source.setFourthMember(50);
    press(0, 0);
    testNow -= 10;
    EXPECT_EQ(move(30, 30), DropSource::kTracking);
}

TEST_F(DropSourceTest, OnlyAPlainLeftPressStartsTracking) {
    EXPECT_EQ(press(5, 5, kLeftButton, kDoubleClicked), DropSource::kIgnored);
    EXPECT_EQ(move(50, 50), DropSource::kIgnored);
    EXPECT_EQ(press(5, 5, kLeftButton, kReleased), DropSource::kIgnored);
    EXPECT_EQ(move(50, 50), DropSource::kIgnored);
    EXPECT_EQ(press(5, 5, kRightButton, kPressed), DropSource::kIgnored);
    EXPECT_EQ(press(5, 5, kMiddleButton, kPressed), DropSource::kIgnored);
    EXPECT_EQ(move(50, 50), DropSource::kIgnored);
}

TEST_F(DropSourceTest, ReleaseAfterPressStopsTracking) {
    press(5, 5);
    EXPECT_TRUE(source.isTracking());
    EXPECT_EQ(press(5, 5, kLeftButton, kReleased), DropSource::kIgnored);
    EXPECT_FALSE(source.isTracking());
    EXPECT_EQ(move(50, 50), DropSource::kIgnored);
}

TEST_F(DropSourceTest, OwnerOrDisabledSourceRefuses) {
    source.allowDrag = false;
    EXPECT_EQ(press(5, 5), DropSource::kIgnored);
    source.allowDrag = true;
    source.setEnabled(false);
    EXPECT_EQ(press(5, 5), DropSource::kIgnored);
    EXPECT_EQ(move(50, 50), DropSource::kIgnored);
}

TEST_F(DropSourceTest, LeavingTheWindowStopsOtherMouseEventsDoNot) {
    MousePositionEvent position{0, 0, 0};
    press(5, 5);
    EXPECT_EQ(source.handleMouseEvent(EventId::kMouseWheel, &position), DropSource::kIgnored);
    EXPECT_EQ(source.handleMouseEvent(EventId::kMouseEntered, &position), DropSource::kIgnored);
    EXPECT_TRUE(source.isTracking());
    EXPECT_EQ(source.handleMouseEvent(EventId::kMouseLeft, &position), DropSource::kIgnored);
    EXPECT_FALSE(source.isTracking());
}

TEST_F(DropSourceTest, OtherIdsAreIgnored) {
    press(5, 5);
    MousePositionEvent position{50, 50, 0};
    EXPECT_EQ(source.handleMouseEvent(999, &position), DropSource::kIgnored);
    EXPECT_EQ(source.handleMouseEvent(EventId::kMouseRawMotion, &position), DropSource::kIgnored);
    EXPECT_EQ(source.handleMouseEvent(EventId::kMouseMove, nullptr), DropSource::kIgnored);
    EXPECT_TRUE(source.isTracking());
}

}  // namespace
}  // namespace QX::UIA
