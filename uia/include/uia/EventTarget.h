#pragma once
#include <cstdint>

namespace QX::UIA {

struct TimerRecord;

// A receiver of framework events and notifications. An event may be handled
// (the answer means "handled"); a notification only informs. The data
// pointer's form is fixed by the event id (see EventIds.h) and is valid only
// during the call. Targets live on the UI thread.
class EventTarget {
public:
    EventTarget() = default;
    // Stops this target's timers: a later tick must not reach it.
    virtual ~EventTarget();
    EventTarget(const EventTarget&) = delete;
    EventTarget& operator=(const EventTarget&) = delete;

    // Forwards to onEvent and answers what it answers.
    virtual bool sendEvent(std::uint32_t eventId, void* data) { return onEvent(eventId, data); }
    // Forwards to onNotification.
    virtual void sendNotification(std::uint32_t eventId, void* data) { onNotification(eventId, data); }

    // Starts a framework timer owned by this target on the current timer
    // manager: event 2 arrives every `intervalMs` rounded to whole periods
    // (at least one period); records of higher priority fire first. Answers
    // null when there is no timer manager.
    TimerRecord* startTimer(std::int32_t intervalMs, std::int32_t priority);
    // Stops a timer this target started; null, a record of another owner or
    // a missing timer manager leave everything unchanged.
    void stopTimer(TimerRecord* record);

protected:
    // Not handled unless a derived target says so.
    virtual bool onEvent(std::uint32_t eventId, void* data) { return false; }
    virtual void onNotification(std::uint32_t eventId, void* data) {}
};

}  // namespace QX::UIA
