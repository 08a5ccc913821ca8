#include <gtest/gtest.h>

#include <thread>

#include "nwl/core/Signal.h"

namespace QX::NWL {
namespace {

TEST(SignalTest, SlotsRunInOrderUntilDisconnected) {
    Signal<int> signal;
    std::vector<int> seen;
    SignalConnection first = signal.connect([&seen](int v) { seen.push_back(v); });
    {
        ScopedSignalConnection second = signal.connect([&seen](int v) { seen.push_back(v * 10); });
        signal(1);
    }
    signal(2);
    first.disconnect();
    signal(3);
    EXPECT_EQ(seen, (std::vector<int>{1, 10, 2}));
    EXPECT_EQ(signal.slotCount(), 0u);
    EXPECT_FALSE(first.connected());
}

TEST(SignalTest, SlotMayDisconnectItselfAndConnectOthers) {
    Signal<> signal;
    int calls = 0;
    SignalConnection self;
    self = signal.connect([&] {
        ++calls;
        self.disconnect();
        signal.connect([&calls] { calls += 100; });
    });
    signal();
    signal();
    EXPECT_EQ(calls, 101);
}

TEST(SignalTest, ConnectionOutlivingItsSignalDisconnectsQuietly) {
    SignalConnection connection;
    {
        Signal<bool> signal;
        connection = signal.connect([](bool) {});
        EXPECT_TRUE(connection.connected());
    }
    EXPECT_FALSE(connection.connected());
    connection.disconnect();
}

TEST(SignalTest, EmittingFromSeveralThreadsCallsEverySlotOnce) {
    Signal<int> signal;
    std::atomic<int> total{0};
    ScopedSignalConnection connection = signal.connect([&total](int v) { total += v; });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&signal] {
            for (int i = 0; i < 1000; ++i)
                signal(1);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(total.load(), 4000);
}

}  // namespace
}  // namespace QX::NWL
