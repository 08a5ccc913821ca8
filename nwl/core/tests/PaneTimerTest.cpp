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

// A timer fires once, at the dispatch its interval names; a negative
// interval or leaving the tree stops it.
TEST_F(PaneTimerTest, OneShotTimers) {
    struct tCase {
        const char* name;
        std::int32_t interval;
        std::int32_t then;  // a second interval, 0 for none
        bool removed;
        std::vector<int> fired;
    };
    const tCase cases[] = {
        {"third_dispatch", 3, 0, false, {3}},
        {"stopped", 2, -4, false, {}},
        {"removed", 1, 0, true, {}},
    };
    for (const tCase& c : cases) {
        widget->setTimerInterval(c.interval);
        if (c.then)
            widget->setTimerInterval(c.then);
        if (c.removed)
            root->removeChild(widget.get());
        EXPECT_EQ(run(8), c.fired) << c.name;
    }
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

// An interval asked before the widget is in a pane waits for the first
// pass; a newer positive value replaces a pending one, in a pane or not.
TEST_F(PaneTimerTest, PendingIntervalsStartAtTheNextPass) {
    auto early = makeWidget(0, 0, 5, 5);
    early->setTimerInterval(5);
    early->setTimerInterval(2);
    root->addChild(early);
    EXPECT_EQ(pane.getWidgetTimerCount(early.get()), 0);
    auto late = makeWidget(0, 0, 5, 5);
    late->setTimerInterval(9);
    root->addChild(late);
    late->setTimerInterval(2);
    settle(pane);
    for (auto* widget : {early.get(), late.get()}) {
        EXPECT_EQ(pane.getWidgetTimerCount(widget), 2);
        EXPECT_EQ(widget->getPendingTimerInterval(), 0);
    }
}

TEST_F(PaneTimerTest, IntervalTableAnswersZeroOutsideTheFive) {
    const std::vector<std::int32_t> expected{0, 5, 1, 5, 10, 5, 0};
    for (int index = -1; index <= 5; ++index)
        EXPECT_EQ(pane.getTimerInterval(index), expected[std::size_t(index + 1)]) << index;
}

}  // namespace
}  // namespace QX::NWL::Testing
