#include "gp/DeviceNotification.h"

#include <map>
#include <mutex>
#include <vector>

#include "DeviceNotificationDispatch.h"

namespace QX::GP {
namespace {

struct Listeners {
    std::mutex mutex;
    int nextId = 1;
    std::map<int, DeviceChangeListener> byId;
};

Listeners& listeners()
{
    static Listeners* instance = new Listeners;
    return *instance;
}

}  // namespace

int addDeviceChangeListener(DeviceChangeListener listener)
{
    Listeners& l = listeners();
    std::lock_guard lock(l.mutex);
    const int id = l.nextId++;
    l.byId.emplace(id, std::move(listener));
    return id;
}

void removeDeviceChangeListener(int id)
{
    Listeners& l = listeners();
    std::lock_guard lock(l.mutex);
    l.byId.erase(id);
}

void DETAIL::notifyDeviceChange(int change, const std::u16string& devicePath)
{
    // Called without the lock held, so that a listener may remove itself.
    std::vector<DeviceChangeListener> current;
    {
        Listeners& l = listeners();
        std::lock_guard lock(l.mutex);
        for (const auto& [id, listener] : l.byId)
            current.push_back(listener);
    }
    for (const DeviceChangeListener& listener : current)
        if (listener)
            listener(change, devicePath);
}

}  // namespace QX::GP
