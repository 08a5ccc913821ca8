#include <gtest/gtest.h>

#include "CoreTestSupport.h"

namespace QX::NWL::Testing {
namespace {

class PaneTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane.setSize(100, 100);
        root->addChild(widget);
        pane.setRootWidget(root);
        settle(pane);
    }

    // The dispatch (1-based) at which each onTimer came.
    std::vector<int> run(int dispatches) {
        std::vector<int> fired;
        for (int i = 1; i <= dispatches; ++i) {
            const int before = widget->timerCalls;
            pane.dispatchTimers();
            if (widget->timerCalls != before)
                fired.push_back(i);
        }
        return fired;
    }

    Pane pane;
    std::shared_ptr<RecordingWidget> root = std::make_shared<RecordingWidget>();
    std::shared_ptr<RecordingWidget> widget = makeWidget(0, 0, 10, 10);
};

TEST_F(PaneTimerTest, OneShotFiresOnTheThirdDispatch) {
    widget->setTimerInterval(3);
    EXPECT_EQ(run(8), (std::vector<int>{3}));
}

TEST_F(PaneTimerTest, HiddenWidgetKeepsItsCount) {
    widget->setTimerInterval(2);
    pane.dispatchTimers();
    widget->setVisible(false);
    EXPECT_TRUE(run(4).empty());
    EXPECT_EQ(pane.getWidgetTimerCount(widget.get()), 1);
    widget->setVisible(true);
    EXPECT_EQ(run(3), (std::vector<int>{1}));
}

TEST_F(PaneTimerTest, ReArmedFromOnTimerIsPeriodic) {
    widget->onTick = [this](RecordingWidget& w) {
        EXPECT_EQ(pane.getWidgetTimerCount(&w), 0);
        w.setTimerInterval(2);
    };
    widget->setTimerInterval(2);
    EXPECT_EQ(run(7), (std::vector<int>{2, 4, 6}));
}

TEST_F(PaneTimerTest, NegativeIntervalStops) {
    widget->setTimerInterval(2);
    widget->setTimerInterval(-4);
    EXPECT_TRUE(run(4).empty());
}

TEST_F(PaneTimerTest, IntervalAskedBeforeJoiningStartsAtTheFirstPass) {
    auto late = makeWidget(0, 0, 5, 5);
    late->setTimerInterval(5);
    late->setTimerInterval(2);  // the newer value wins
    root->addChild(late);
    EXPECT_EQ(pane.getWidgetTimerCount(late.get()), 0);
    settle(pane);
    EXPECT_EQ(pane.getWidgetTimerCount(late.get()), 2);
    EXPECT_EQ(late->getPendingTimerInterval(), 0);
}

TEST_F(PaneTimerTest, PositiveIntervalClearsAnOlderPendingOne) {
    auto late = makeWidget(0, 0, 5, 5);
    late->setTimerInterval(9);
    root->addChild(late);  // in the pane, but the pass has not run yet
    late->setTimerInterval(2);
    settle(pane);
    EXPECT_EQ(pane.getWidgetTimerCount(late.get()), 2);
}

TEST_F(PaneTimerTest, RemovedWidgetNeverFires) {
    widget->setTimerInterval(1);
    root->removeChild(widget.get());
    EXPECT_TRUE(run(3).empty());
}

TEST_F(PaneTimerTest, IntervalTableAnswersZeroOutsideTheFive) {
    const std::vector<std::int32_t> expected{0, 5, 1, 5, 10, 5, 0};
    for (int index = -1; index <= 5; ++index)
        EXPECT_EQ(pane.getTimerInterval(index), expected[std::size_t(index + 1)]) << index;
}

}  // namespace
}  // namespace QX::NWL::Testing
