#pragma once
#include <cstdint>
#include <functional>
#include <list>
#include <memory>

namespace QX::UIA {

class EventTarget;

// One framework timer: a record in the manager's list, owned by a target.
struct TimerRecord {
    std::int32_t interval = 0;   // reload value, a whole multiple of the period (ms)
    std::int32_t remaining = 0;  // time to the next firing (ms)
    std::int32_t priority = 0;   // higher fires first
    EventTarget* owner = nullptr;
    std::int32_t busyCount = 0;  // above 0 while the record's event is being delivered
    bool removed = false;        // removed while busy: freed after the delivery
    std::uint64_t madeInPass = 0;  // a record made during a pass waits for the next one
};

// Data of the timer event (EventId::kTimer).
struct TimerEventData {
    TimerRecord* record = nullptr;
    std::int32_t interval = 0;
};

// The platform's periodic timer that drives a manager's firing passes.
class AbstractEventTimerManagerOsBridge {
public:
    virtual ~AbstractEventTimerManagerOsBridge() = default;
    // Starts the periodic timer when it does not run yet.
    virtual void startTimer(std::int32_t periodMs) = 0;
    // Stops it when it runs.
    virtual void stopTimer() = 0;
};

// All framework timers on one platform timer. Every tick counts each record
// down by one period and sends the timer event to the owner of each record
// that is due; a record more than half a period overdue is moved on to its
// next turn instead of firing late. The platform timer runs only while a
// record exists. UI thread only.
class EventTimerManager {
public:
    // The system tick clock in 100-ns units.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t readSteadyClock();

    static constexpr std::int32_t kDefaultPeriodMs = 40;

    // With the platform's timer bridge (program build).
    EventTimerManager();
    explicit EventTimerManager(std::unique_ptr<AbstractEventTimerManagerOsBridge> bridge,
                               Clock clock = &EventTimerManager::readSteadyClock);
    ~EventTimerManager();
    EventTimerManager(const EventTimerManager&) = delete;
    EventTimerManager& operator=(const EventTimerManager&) = delete;

    // The manager constructed last that still exists, or null.
    static EventTimerManager* getCurrent();
    // Removes every record of `owner` (a target that goes away); records
    // whose event is being delivered are only marked.
    void removeTimersOf(const EventTarget& owner);

    // Takes the new period only while no timer exists, and only a positive one.
    void setPeriod(std::int32_t periodMs);
    std::int32_t getPeriod() const { return period_; }

    // `interval` rounded to whole periods: a remainder above half a period
    // adds a period, a smaller one is dropped; at most one period gives one.
    static std::int32_t roundInterval(std::int32_t intervalMs, std::int32_t periodMs);

    // Inserts a new record before the first of lower priority (so records of
    // equal priority fire in start order); the first record starts the
    // platform timer. EventTarget::startTimer comes here.
    TimerRecord* addTimer(EventTarget& owner, std::int32_t intervalMs, std::int32_t priority);
    // Frees the record, or only marks it while its event is being delivered;
    // the last record stops the platform timer. Unknown records are ignored.
    void removeTimer(TimerRecord* record);
    // Whether `record` is a live record of this manager owned by `owner`.
    bool isTimerOf(const TimerRecord* record, const EventTarget& owner);

    // One firing pass over every record.
    void fireTimers();
    // Runs a pass when more than two periods have passed since the last one:
    // the platform delivers timer ticks only when its queue is otherwise
    // empty, so the message loop catches starved timers up this way.
    void fireTimersIfLate();

    bool hasTimers() const { return !records_.empty(); }
    // The records in firing order.
    const std::list<TimerRecord>& getRecords() const { return records_; }
    std::int64_t getLastTick() const { return lastTick_; }

private:
    using Iterator = std::list<TimerRecord>::iterator;

    void advance(TimerRecord& record);
    void removeIfMarked(Iterator it);
    Iterator find(const TimerRecord* record);

    std::unique_ptr<AbstractEventTimerManagerOsBridge> bridge_;
    Clock clock_;
    std::int32_t period_ = kDefaultPeriodMs;
    std::int64_t lastTick_ = 0;
    std::uint64_t passNumber_ = 0;
    int passDepth_ = 0;
    std::list<TimerRecord> records_;
};

}  // namespace QX::UIA
