#include "uia/EventObservers.h"

#include <algorithm>
#include <vector>

#include "uia/EventTarget.h"

namespace QX::UIA {
namespace {

std::vector<EventTarget*>& observers() {
    static std::vector<EventTarget*> list;
    return list;
}

}  // namespace

bool sendEventToTargetAndObservers(EventTarget* target, std::uint32_t eventId, void* data) {
    const bool handled = target != nullptr && target->sendEvent(eventId, data);
    // A copy: an observer may leave the list while it is told.
    const std::vector<EventTarget*> current = observers();
    for (EventTarget* observer : current) observer->sendNotification(eventId, data);
    return handled;
}

void addEventObserver(EventTarget* observer) {
    if (observer != nullptr && std::find(observers().begin(), observers().end(), observer) == observers().end())
        observers().push_back(observer);
}

void removeEventObserver(EventTarget* observer) {
    observers().erase(std::remove(observers().begin(), observers().end(), observer), observers().end());
}

}  // namespace QX::UIA
