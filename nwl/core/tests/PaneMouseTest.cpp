#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::NWL::Testing {
namespace {

namespace Id = UIA::EventId;

// A pane of 200 by 100 with two widgets side by side: a at (0, 0) and b at
// (100, 0), each 50 by 50; nothing lies under (75, 75) but the root.
class PaneMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane.setSize(200, 100);
        root->addChild(a, "a");
        root->addChild(b, "b");
        pane.setRootWidget(root);
        settle(pane);
    }

    void press(std::int32_t x, std::int32_t y, std::uint32_t action = UIA::kPressed, std::uint32_t button = 1) {
        UIA::MouseButtonEvent event{x, y, 0, button, action};
        pane.handleEvent(Id::kMouseButton, &event);
    }
    void release(std::int32_t x, std::int32_t y, std::uint32_t button = 1) {
        UIA::MouseButtonEvent event{x, y, 0, button, UIA::kReleased};
        pane.handleEvent(Id::kMouseButton, &event);
    }
    void move(std::uint32_t id, std::int32_t x, std::int32_t y) {
        UIA::MousePositionEvent event{x, y, 0};
        pane.handleEvent(id, &event);
    }

    Pane pane;
    std::shared_ptr<RecordingWidget> root = std::make_shared<RecordingWidget>();
    std::shared_ptr<RecordingWidget> a = makeWidget(0, 0, 50, 50);
    std::shared_ptr<RecordingWidget> b = makeWidget(100, 0, 50, 50);
};

using tIds = std::vector<std::uint32_t>;

// A press and a release: a click only over the pressed widget; a disabled
// widget is not hit and the root below it takes the press.
TEST_F(PaneMouseTest, PressAndReleaseSequences) {
    struct tCase {
        const char* name;
        bool disableA;
        std::uint32_t button;
        std::int32_t pressX;
        std::int32_t releaseX;
        char target;  // r(oot), a or b
        tIds expected;
    };
    const tCase cases[] = {
        {"click", false, 1, 10, 10, 'a', {100002, 100008, 100014}},
        {"right_click", false, 2, 110, 110, 'b', {100003, 100009, 100015}},
        {"disabled", true, 1, 10, 10, 'r', {100002, 100008, 100014}},
        {"released_elsewhere", false, 1, 10, 110, 'a', {100002, 100026, 100008}},
    };
    for (const tCase& c : cases) {
        a->setEnabled(!c.disableA);
        settle(pane);
        for (auto* widget : {root.get(), a.get(), b.get()}) widget->mouseIds.clear();
        press(c.pressX, 10, UIA::kPressed, c.button);
        if (c.releaseX != c.pressX)
            move(Id::kMouseMoveCaptured, c.releaseX, 10);
        release(c.releaseX, 10, c.button);
        RecordingWidget& target = c.target == 'a' ? *a : c.target == 'b' ? *b : *root;
        EXPECT_EQ(target.mouseIds, c.expected) << c.name;
        EXPECT_EQ(pane.getPressedWidget(), nullptr) << c.name;
        if (c.disableA) {
            EXPECT_TRUE(a->mouseIds.empty());
        }
    }
}

TEST_F(PaneMouseTest, DoubleClickIsReportedAndItsReleaseIsNoClick) {
    press(10, 10);
    release(10, 10);
    a->mouseIds.clear();
    press(10, 10, UIA::kDoubleClicked);
    release(10, 10);
    EXPECT_EQ(a->mouseIds, (tIds{100002, 100020, 100008}));
}

TEST_F(PaneMouseTest, WheelReachesTheWidgetInNotchesTowardsTheUser) {
    UIA::MouseWheelEvent wheel{110, 10, 0, 240, 1};
    pane.handleEvent(Id::kMouseWheel, &wheel);
    EXPECT_EQ(b->wheelNotches, (std::vector<std::int32_t>{-2}));
}

TEST_F(PaneMouseTest, MovesEnterAndLeaveWidgets) {
    move(Id::kMouseMove, 10, 10);
    move(Id::kMouseMove, 110, 10);
    EXPECT_EQ(a->mouseIds, (tIds{1004, 1002, 1005}));
    EXPECT_EQ(b->mouseIds, (tIds{1004, 1002}));
    EXPECT_EQ(pane.getHoverWidget(), b.get());
    move(Id::kMouseLeft, 0, 0);
    EXPECT_EQ(b->mouseIds.back(), 1005u);
    EXPECT_EQ(pane.getHoverWidget(), nullptr);
}

TEST_F(PaneMouseTest, WidgetRemovedInItsOwnPressHandlerThenReleaseOverNothing) {
    a->onMouse = [this](RecordingWidget& widget, std::uint32_t id) {
        if (id == 100002)
            root->removeChild(&widget);
    };
    std::weak_ptr<RecordingWidget> watch = a;
    a.reset();
    press(10, 10);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(pane.getPressedWidget(), nullptr);
    EXPECT_FALSE(pane.isButtonDown(1));
    root->setEnabled(false);  // nothing at all under the pointer now
    settle(pane);
    release(10, 10);
    move(Id::kMouseMoveCaptured, 75, 75);
    move(Id::kMouseMove, 75, 75);
    press(75, 75);
    UIA::RawMouseMotionEvent raw{};
    pane.handleEvent(Id::kMouseRawMotion, &raw);
    EXPECT_TRUE(root->mouseIds.empty());
}

TEST_F(PaneMouseTest, MouseEventsWithoutARootAreIgnored) {
    Pane empty;
    UIA::MouseButtonEvent event{1, 1, 0, 1, UIA::kPressed};
    EXPECT_FALSE(empty.handleEvent(Id::kMouseButton, &event));
}

TEST_F(PaneMouseTest, PressMovesFocusAndKeyWidget) {
    a->setFlags(WidgetFlag::kFocusable | WidgetFlag::kTakesKeys, true);
    a->takesKeys = true;
    press(10, 10);
    release(10, 10);
    EXPECT_EQ(pane.getFocusWidget(), a.get());
    EXPECT_EQ(pane.getKeyWidget(), a.get());
    UIA::KeyPressEvent key{'A', 30, 1};
    EXPECT_TRUE(pane.handleEvent(Id::kKeyPressed, &key));
    EXPECT_EQ(a->keyIds, (tIds{Id::kKeyPressed}));
    a->takesKeys = false;
    EXPECT_FALSE(pane.handleEvent(Id::kKeyPressed, &key));
}

TEST_F(PaneMouseTest, FocusMovesToAFocusableAncestorWhenTheFocusLeaves) {
    auto inner = makeWidget(0, 0, 10, 10);
    a->addChild(inner);
    root->setFlags(WidgetFlag::kFocusable, true);
    inner->setFlags(WidgetFlag::kFocusable, true);
    settle(pane);
    press(5, 5);
    release(5, 5);
    ASSERT_EQ(pane.getFocusWidget(), inner.get());
    a->removeChild(inner.get());
    EXPECT_EQ(pane.getFocusWidget(), root.get());
    EXPECT_EQ(pane.getPreviousFocusWidget(), nullptr);
}

}  // namespace
}  // namespace QX::NWL::Testing
