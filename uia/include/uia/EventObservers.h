#pragma once
#include <cstdint>

namespace QX::UIA {

class EventTarget;

// Sends the event to the target (false without one), then passes it to every
// observer of the process-wide list as a notification; answers the target's
// result. UI thread only.
bool sendEventToTargetAndObservers(EventTarget* target, std::uint32_t eventId, void* data);
// The list is filled by those who want to watch such events (drag and drop).
void addEventObserver(EventTarget* observer);
void removeEventObserver(EventTarget* observer);

}  // namespace QX::UIA
