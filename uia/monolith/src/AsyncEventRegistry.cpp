#include <map>
#include <mutex>

#include "uia/AsyncEvents.h"
#include "uia/EventIds.h"
#include "uia/EventTarget.h"

namespace QX::UIA {

namespace {

struct Registry {
    std::recursive_mutex lock;
    std::map<std::uint32_t, EventTarget*> targets;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

void registerAsyncEventTarget(std::uint32_t key, EventTarget* target) {
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    r.targets[key] = target;
}

void unregisterAsyncEventTarget(std::uint32_t key) {
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    r.targets.erase(key);
}

bool dispatchAsyncEvent(std::uint32_t eventId, std::uint32_t key) {
    Registry& r = registry();
    std::lock_guard lock(r.lock);
    const auto found = r.targets.find(key);
    if (found == r.targets.end() || !found->second)
        return false;
    Answer unread = kAllowed;
    return found->second->sendEvent(eventId, &unread);
}

}  // namespace QX::UIA
