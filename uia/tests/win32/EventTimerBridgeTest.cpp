#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "EventTimerManagerWinBridge.h"
#include "WindowTestSupport.h"
#include "uia/EventIds.h"
#include "uia/EventTarget.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

class TickCounter : public EventTarget {
public:
    int ticks = 0;

protected:
    bool onEvent(std::uint32_t eventId, void*) override {
        ticks += eventId == EventId::kTimer;
        return true;
    }
};

TEST(EventTimerBridgeTest, SystemTimerRunsOnlyWhileRecordsExist) {
    EventTimerManager manager;
    TickCounter counter;
    TimerRecord* record = counter.startTimer(40, 0);
    ASSERT_TRUE(pumpUntil([&] { return counter.ticks >= 2; }));
    counter.stopTimer(record);
    const int ticks = counter.ticks;
    Sleep(120);
    drainQueue();
    pumpUntil([] { return false; }, 100);
    EXPECT_EQ(counter.ticks, ticks);
}

TEST(EventTimerBridgeTest, TicksOfUnknownTimersAreIgnored) {
    EventTimerManager manager;
    TickCounter counter;
    TimerRecord* record = counter.startTimer(40, 0);
    EventTimerManagerWinBridge::timerProc(nullptr, WM_TIMER, 0, 0);
    EventTimerManagerWinBridge::timerProc(nullptr, WM_TIMER, 0x7FFF1234, 0);
    EXPECT_EQ(counter.ticks, 0);
    counter.stopTimer(record);
}

TEST(EventTimerBridgeTest, BridgeStartsOneSystemTimerAndStopsIt) {
    EventTimerManager manager(nullptr);
    EventTimerManagerWinBridge bridge(manager);
    EXPECT_FALSE(bridge.isRunning());
    bridge.startTimer(40);
    EXPECT_TRUE(bridge.isRunning());
    bridge.startTimer(40);  // already running: nothing more
    bridge.stopTimer();
    EXPECT_FALSE(bridge.isRunning());
    bridge.stopTimer();
}

}  // namespace
