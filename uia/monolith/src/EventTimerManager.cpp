#include "uia/EventTimerManager.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

#include "uia/DragDrop.h"
#include "uia/EventIds.h"
#include "uia/EventTarget.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {

namespace {

// Managers in construction order; the last one is the current one.
std::vector<EventTimerManager*>& liveManagers() {
    static std::vector<EventTimerManager*> managers;
    return managers;
}

// Counts the passes that run, also when one is left by an exception.
class PassScope {
public:
    explicit PassScope(int& depth) : depth_(depth) { ++depth_; }
    ~PassScope() { --depth_; }
    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

private:
    int& depth_;
};

constexpr std::int64_t kTicksPerMillisecond = 10000;

// Lowers a record's busy count when the delivery ends, also by an exception.
class BusyScope {
public:
    explicit BusyScope(TimerRecord& record) : record_(record) { ++record_.busyCount; }
    ~BusyScope() { --record_.busyCount; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TimerRecord& record_;
};

}  // namespace

std::int64_t EventTimerManager::readSteadyClock() {
    using HundredNanoseconds = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;
    return std::chrono::duration_cast<HundredNanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

EventTimerManager::EventTimerManager(std::unique_ptr<AbstractEventTimerManagerOsBridge> bridge,
                                     Clock clock)
    : bridge_(std::move(bridge)), clock_(std::move(clock)) {
    liveManagers().push_back(this);
}

EventTimerManager::~EventTimerManager() {
    if (!records_.empty() && bridge_)
        bridge_->stopTimer();
    std::erase(liveManagers(), this);
}

EventTimerManager* EventTimerManager::getCurrent() {
    return liveManagers().empty() ? nullptr : liveManagers().back();
}

void EventTimerManager::removeTimersOf(const EventTarget& owner) {
    for (auto it = records_.begin(); it != records_.end();) {
        const auto next = std::next(it);
        if (it->owner == &owner && !it->removed)
            removeTimer(&*it);
        it = next;
    }
}

void EventTimerManager::setPeriod(std::int32_t periodMs) {
    if (records_.empty() && periodMs > 0)
        period_ = periodMs;
}

std::int32_t EventTimerManager::roundInterval(std::int32_t intervalMs, std::int32_t periodMs) {
    if (intervalMs <= periodMs)
        return periodMs;
    const std::int64_t period = periodMs;
    std::int64_t reload = period * (intervalMs / period);
    if (period / 2 + reload < intervalMs)
        reload += period;
    // Keep the reload a multiple of the period that still fits.
    while (reload > std::numeric_limits<std::int32_t>::max())
        reload -= period;
    return static_cast<std::int32_t>(reload);
}

TimerRecord* EventTimerManager::addTimer(EventTarget& owner, std::int32_t intervalMs,
                                         std::int32_t priority) {
    const bool wasEmpty = records_.empty();
    TimerRecord record;
    record.interval = roundInterval(intervalMs, period_);
    record.remaining = record.interval;
    record.priority = priority;
    record.owner = &owner;
    if (passDepth_ > 0)
        record.madeInPass = passNumber_;
    const auto before = std::find_if(records_.begin(), records_.end(),
                                     [&](const TimerRecord& r) { return r.priority < priority; });
    TimerRecord& added = *records_.insert(before, record);
    if (wasEmpty && bridge_)
        bridge_->startTimer(period_);
    return &added;
}

EventTimerManager::Iterator EventTimerManager::find(const TimerRecord* record) {
    return std::find_if(records_.begin(), records_.end(),
                        [&](const TimerRecord& r) { return &r == record; });
}

void EventTimerManager::removeTimer(TimerRecord* record) {
    const auto it = find(record);
    if (it == records_.end())
        return;
    if (it->busyCount < 1)
        records_.erase(it);
    else
        it->removed = true;
    if (records_.empty() && bridge_)
        bridge_->stopTimer();
}

bool EventTimerManager::isTimerOf(const TimerRecord* record, const EventTarget& owner) {
    const auto it = find(record);
    return it != records_.end() && it->owner == &owner;
}

void EventTimerManager::removeIfMarked(Iterator it) {
    if (it->removed)
        removeTimer(&*it);
}

void EventTimerManager::fireTimers() {
    lastTick_ = clock_();
    ++passNumber_;
    PassScope pass(passDepth_);
    for (auto it = records_.begin(); it != records_.end();) {
        try {
            advance(*it);
        } catch (...) {
            removeIfMarked(it);
            throw;
        }
        // Read the link only now: the owner's handler may have changed it.
        const auto next = std::next(it);
        removeIfMarked(it);
        it = next;
    }
}

void EventTimerManager::advance(TimerRecord& record) {
    // Stopped while its event is still being delivered: a nested tick (a
    // modal loop in the handler) must not reach an owner that may be gone.
    if (record.removed || (record.madeInPass != 0 && record.madeInPass == passNumber_))
        return;
    BusyScope busy(record);
    record.remaining -= period_;
    if (record.remaining >= 1)
        return;
    if (-2 * static_cast<std::int64_t>(record.remaining) > period_) {
        // Too late to be worth firing now: wait for the next turn instead.
        record.remaining += record.interval;
        if (record.remaining == 0)
            record.remaining = record.interval;
        return;
    }
    record.remaining = record.interval;
    TimerEventData data{&record, record.interval};
    DETAIL::DeliveryScope delivery;
    record.owner->sendEvent(EventId::kTimer, &data);
}

void EventTimerManager::fireTimersIfLate() {
    const std::int64_t elapsedMs = (clock_() - lastTick_) / kTicksPerMillisecond;
    if (elapsedMs > 2 * static_cast<std::int64_t>(period_))
        fireTimers();
}

EventTarget::~EventTarget() {
    for (EventTimerManager* manager : liveManagers())
        manager->removeTimersOf(*this);
    DETAIL::forgetDragTarget(this);
}

TimerRecord* EventTarget::startTimer(std::int32_t intervalMs, std::int32_t priority) {
    EventTimerManager* manager = EventTimerManager::getCurrent();
    if (!manager)
        return nullptr;
    return manager->addTimer(*this, intervalMs, priority);
}

void EventTarget::stopTimer(TimerRecord* record) {
    // The manager may already be gone (and with it every record).
    EventTimerManager* manager = EventTimerManager::getCurrent();
    if (!manager || !manager->isTimerOf(record, *this))
        return;
    manager->removeTimer(record);
}

}  // namespace QX::UIA
