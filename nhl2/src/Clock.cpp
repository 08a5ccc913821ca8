#include "nhl2/Clock.h"

#include <chrono>

#include "gp/Thread.h"

namespace QX::NHL2 {

std::uint64_t SystemClock::getMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SystemClock::sleepMilliseconds(std::uint32_t milliseconds) {
    QX::GP::sleepMilliseconds(milliseconds);
}

std::shared_ptr<IClock> getSystemClock() {
    static const auto clock = std::make_shared<SystemClock>();
    return clock;
}

std::uint64_t VirtualClock::getMilliseconds() {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualClock::sleepMilliseconds(std::uint32_t milliseconds) {
    std::unique_lock lock(mutex_);
    if (held_) {
        blockedSleeper_ = true;
        released_.wait(lock, [this] { return !held_; });
    }
    now_ += milliseconds;
}

void VirtualClock::advance(std::uint64_t milliseconds) {
    std::lock_guard lock(mutex_);
    now_ += milliseconds;
}

void VirtualClock::holdSleeps() {
    std::lock_guard lock(mutex_);
    held_ = true;
    blockedSleeper_ = false;
}

void VirtualClock::releaseSleeps() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    released_.notify_all();
}

bool VirtualClock::hasBlockedSleeper() {
    std::lock_guard lock(mutex_);
    return blockedSleeper_;
}

}  // namespace QX::NHL2
