#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "uia/EventIds.h"
#include "uia/EventTarget.h"
#include "uia/EventTimerManager.h"

using namespace QX::UIA;

namespace {

struct FakeBridge : AbstractEventTimerManagerOsBridge {
    int* starts;
    int* stops;
    FakeBridge(int* s, int* t) : starts(s), stops(t) {}
    void startTimer(std::int32_t) override { ++*starts; }
    void stopTimer() override { ++*stops; }
};

// Records every timer event; an optional action runs inside the handler.
class TimerTarget : public EventTarget {
public:
    TimerTarget(std::vector<int>* log, int name) : log_(log), name_(name) {}
    std::function<void(TimerEventData&)> action;
    int lastInterval = 0;

protected:
    bool onEvent(std::uint32_t eventId, void* data) override {
        if (eventId != EventId::kTimer)
            return false;
        auto& timer = *static_cast<TimerEventData*>(data);
        lastInterval = timer.interval;
        log_->push_back(name_);
        if (action)
            action(timer);
        return true;
    }

private:
    std::vector<int>* log_;
    int name_;
};

class EventTimerManagerTest : public ::testing::Test {
protected:
    int starts = 0;
    int stops = 0;
    std::int64_t now = 0;
    EventTimerManager manager{std::make_unique<FakeBridge>(&starts, &stops), [this] { return now; }};
    std::vector<int> log;

    int countFirings(TimerTarget& target, int passes) {
        log.clear();
        for (int i = 0; i < passes; ++i)
            manager.fireTimers();
        return static_cast<int>(log.size());
    }
};

TEST(EventTargetTest, OverridingNothingLeavesEverythingUnhandled) {
    EventTarget target;
    Answer answer = kAllowed;
    EXPECT_FALSE(target.sendEvent(EventId::kQuitRequest, &answer));
    EXPECT_FALSE(target.sendEvent(123456789, nullptr));
    target.sendNotification(EventId::kCommand, nullptr);
    EXPECT_EQ(answer, kAllowed);  // an untouched answer counts as allowed
}

TEST(EventTimerRoundingTest, RoundsToWholePeriods) {
    struct Case { int interval; int expected; };
    for (const Case c : {Case{-5, 40}, {0, 40}, {1, 40}, {40, 40}, {60, 40}, {61, 80}, {79, 80},
                         {80, 80}, {100, 80}, {101, 120}, {1000, 1000}})
        EXPECT_EQ(EventTimerManager::roundInterval(c.interval, 40), c.expected) << c.interval;
    EXPECT_EQ(EventTimerManager::roundInterval(15, 10), 10);
    EXPECT_EQ(EventTimerManager::roundInterval(16, 10), 20);
    EXPECT_EQ(EventTimerManager::roundInterval(2147483647, 40) % 40, 0);
}

TEST_F(EventTimerManagerTest, StartTimerUsesTheCurrentManager) {
    TimerTarget target(&log, 1);
    EXPECT_EQ(EventTimerManager::getCurrent(), &manager);
    TimerRecord* record = target.startTimer(61, 0);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->interval, 80);
    EXPECT_EQ(record->remaining, 80);
    EXPECT_EQ(record->owner, &target);
    EXPECT_EQ(starts, 1);
    target.startTimer(40, 0);
    EXPECT_EQ(starts, 1);  // one platform timer for all records
}

TEST_F(EventTimerManagerTest, IntervalsUpToAPeriodFireEveryTick) {
    for (int interval : {0, 40, 60}) {
        TimerTarget target(&log, 1);
        TimerRecord* record = target.startTimer(interval, 0);
        EXPECT_EQ(countFirings(target, 4), 4) << interval;
        EXPECT_EQ(target.lastInterval, 40);
        target.stopTimer(record);
    }
    TimerTarget slow(&log, 2);
    slow.startTimer(61, 0);
    EXPECT_EQ(countFirings(slow, 4), 2);
}

TEST_F(EventTimerManagerTest, HigherPriorityFiresFirstAndEqualPrioritiesInStartOrder) {
    TimerTarget first(&log, 1), second(&log, 2), urgent(&log, 3), late(&log, 4);
    first.startTimer(40, 5);
    second.startTimer(40, 5);
    late.startTimer(40, -1);
    urgent.startTimer(40, 9);
    manager.fireTimers();
    EXPECT_EQ(log, (std::vector<int>{3, 1, 2, 4}));
}

TEST_F(EventTimerManagerTest, FarOverdueRecordIsSkippedNotFired) {
    TimerTarget target(&log, 1);
    TimerRecord* record = target.startTimer(80, 0);
    record->remaining = 15;  // falls to -25: more than half a period late
    manager.fireTimers();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(record->remaining, -25 + 80);
    record->remaining = 20;  // falls to -20: exactly half a period, still fires
    manager.fireTimers();
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(record->remaining, 80);
}

TEST_F(EventTimerManagerTest, SkippedRecordNeverLandsOnZero) {
    TimerTarget target(&log, 1);
    TimerRecord* record = target.startTimer(40, 0);
    record->remaining = -20 - 40 + 40;  // -60 after the tick; + interval 40 = -20
    manager.fireTimers();
    EXPECT_EQ(record->remaining, -20);
    record->remaining = 0 + 0;  // -40 after the tick; + 40 would be 0
    manager.fireTimers();
    EXPECT_EQ(record->remaining, 40);
}

TEST_F(EventTimerManagerTest, RemovingOwnRecordInHandlerFreesItAfterDelivery) {
    TimerTarget target(&log, 1);
    TimerRecord* record = target.startTimer(40, 0);
    target.action = [&](TimerEventData& data) {
        target.stopTimer(data.record);
        EXPECT_TRUE(data.record->removed);  // still valid inside the handler
        EXPECT_EQ(stops, 0);
    };
    manager.fireTimers();
    EXPECT_FALSE(manager.hasTimers());
    EXPECT_EQ(stops, 1);  // it was the last record
    EXPECT_FALSE(manager.isTimerOf(record, target));
}

TEST_F(EventTimerManagerTest, StoppedRecordGetsNoEventFromANestedTick) {
    TimerTarget target(&log, 1);
    target.startTimer(40, 0);
    target.action = [&](TimerEventData& data) {
        target.stopTimer(data.record);
        manager.fireTimers();  // a modal loop inside the handler ticks on
    };
    manager.fireTimers();
    EXPECT_EQ(log, std::vector<int>{1});
    EXPECT_FALSE(manager.hasTimers());
}

TEST_F(EventTimerManagerTest, RemovingTheNextRecordInHandlerSkipsIt) {
    TimerTarget first(&log, 1), second(&log, 2), third(&log, 3);
    first.startTimer(40, 3);
    TimerRecord* secondRecord = second.startTimer(40, 2);
    third.startTimer(40, 1);
    first.action = [&](TimerEventData&) { second.stopTimer(secondRecord); };
    manager.fireTimers();
    EXPECT_EQ(log, (std::vector<int>{1, 3}));
    EXPECT_EQ(manager.getRecords().size(), 2u);
}

TEST_F(EventTimerManagerTest, ThrowingHandlerLeavesTheListConsistent) {
    TimerTarget thrower(&log, 1), other(&log, 2);
    TimerRecord* record = thrower.startTimer(40, 1);
    other.startTimer(40, 0);
    thrower.action = [](TimerEventData&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(manager.fireTimers(), std::runtime_error);
    EXPECT_EQ(record->busyCount, 0);

    thrower.action = [&](TimerEventData& data) {
        thrower.stopTimer(data.record);
        throw std::runtime_error("handler failed after removing");
    };
    EXPECT_THROW(manager.fireTimers(), std::runtime_error);
    EXPECT_EQ(manager.getRecords().size(), 1u);  // the removed record was freed
    EXPECT_EQ(manager.getRecords().front().owner, &other);
}

TEST_F(EventTimerManagerTest, StopTimerIgnoresNullAndForeignRecords) {
    TimerTarget owner(&log, 1), stranger(&log, 2);
    TimerRecord* record = owner.startTimer(40, 0);
    stranger.stopTimer(record);
    stranger.stopTimer(nullptr);
    EXPECT_TRUE(manager.hasTimers());
    owner.stopTimer(record);
    EXPECT_FALSE(manager.hasTimers());
    EXPECT_EQ(stops, 1);
}

TEST_F(EventTimerManagerTest, PeriodChangesOnlyWhileNoTimerExists) {
    manager.setPeriod(0);
    manager.setPeriod(-10);
    EXPECT_EQ(manager.getPeriod(), 40);
    manager.setPeriod(20);
    EXPECT_EQ(manager.getPeriod(), 20);
    TimerTarget target(&log, 1);
    target.startTimer(50, 0);
    manager.setPeriod(40);
    EXPECT_EQ(manager.getPeriod(), 20);
}

TEST_F(EventTimerManagerTest, LateCheckFiresOnlyAfterTwoPeriods) {
    TimerTarget target(&log, 1);
    target.startTimer(40, 0);
    now = 1'000'000;
    manager.fireTimers();
    EXPECT_EQ(manager.getLastTick(), 1'000'000);
    now += 80 * 10000;  // exactly two periods
    manager.fireTimersIfLate();
    EXPECT_EQ(log.size(), 1u);
    now += 10000;
    manager.fireTimersIfLate();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(manager.getLastTick(), now);
}

TEST_F(EventTimerManagerTest, ATimerRestartedInItsHandlerWaitsForTheNextPass) {
    TimerTarget target(&log, 1);
    target.startTimer(40, 0);
    target.action = [&](TimerEventData& data) {
        target.stopTimer(data.record);
        target.startTimer(40, 0);
    };
    EXPECT_EQ(countFirings(target, 1), 1);
    EXPECT_EQ(countFirings(target, 3), 3);
}

TEST_F(EventTimerManagerTest, ADestroyedTargetLeavesNoTimerBehind) {
    TimerTarget kept(&log, 1);
    kept.startTimer(40, 0);
    auto gone = std::make_unique<TimerTarget>(&log, 2);
    gone->startTimer(40, 1);
    gone->startTimer(80, 0);
    gone.reset();
    EXPECT_EQ(manager.getRecords().size(), 1u);
    EXPECT_EQ(countFirings(kept, 2), 2);

    // Destroyed by its own handler: the record goes after the delivery.
    struct SelfDeleting : EventTarget {
        bool onEvent(std::uint32_t, void*) override {
            delete this;
            return true;
        }
    };
    (new SelfDeleting)->startTimer(40, 2);
    manager.fireTimers();
    EXPECT_EQ(manager.getRecords().size(), 1u);
}

TEST_F(EventTimerManagerTest, ASecondManagerGoingLeavesTheFirstCurrent) {
    {
        EventTimerManager second(std::make_unique<FakeBridge>(&starts, &stops));
        EXPECT_EQ(EventTimerManager::getCurrent(), &second);
    }
    EXPECT_EQ(EventTimerManager::getCurrent(), &manager);
}

TEST(EventTimerManagerLifetimeTest, DestroyedManagerStopsTimerAndTargetsCopeWithoutIt) {
    int starts = 0, stops = 0;
    std::vector<int> log;
    TimerTarget target(&log, 1);
    TimerRecord* record = nullptr;
    {
        EventTimerManager manager(std::make_unique<FakeBridge>(&starts, &stops));
        record = target.startTimer(40, 0);
    }
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(EventTimerManager::getCurrent(), nullptr);
    target.stopTimer(record);  // no manager: nothing is read
    EXPECT_EQ(target.startTimer(40, 0), nullptr);
}

}  // namespace
