#pragma once
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace QX::NHL2 {

// Every wait of the device layer and the update engine goes through a clock,
// so that tests can run hours of device time in milliseconds.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::uint64_t getMilliseconds() = 0;
    virtual void sleepMilliseconds(std::uint32_t milliseconds) = 0;
};

// Real time.
class SystemClock final : public IClock {
public:
    std::uint64_t getMilliseconds() override;
    void sleepMilliseconds(std::uint32_t milliseconds) override;
};

std::shared_ptr<IClock> getSystemClock();

// Device time that moves only when someone sleeps: a sleep advances it at
// once. While held, sleeps block (in real time) until released, so that a
// test can keep a worker busy for as long as it needs.
class VirtualClock final : public IClock {
public:
    std::uint64_t getMilliseconds() override;
    void sleepMilliseconds(std::uint32_t milliseconds) override;
    void advance(std::uint64_t milliseconds);

    void holdSleeps();
    void releaseSleeps();
    // True once a sleep has been blocked by a hold.
    bool hasBlockedSleeper();

private:
    std::mutex mutex_;
    std::condition_variable released_;
    std::uint64_t now_ = 0;
    bool held_ = false;
    bool blockedSleeper_ = false;
};

}  // namespace QX::NHL2
