#include "EventTimerManagerWinBridge.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "GuardedCall.h"

namespace QX::UIA {

namespace {

// Thread timers carry no context: their ids lead back to the bridge.
std::vector<std::pair<UINT_PTR, EventTimerManagerWinBridge*>>& runningTimers() {
    static std::vector<std::pair<UINT_PTR, EventTimerManagerWinBridge*>> table;
    return table;
}

EventTimerManager* findManagerOf(UINT_PTR timerId) {
    auto& table = runningTimers();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [timerId](const auto& entry) { return entry.first == timerId; });
    return it == table.end() ? nullptr : &it->second->getManager();
}

}  // namespace

EventTimerManagerWinBridge::EventTimerManagerWinBridge(EventTimerManager& manager)
    : manager_(manager) {}

EventTimerManagerWinBridge::~EventTimerManagerWinBridge() { stopTimer(); }

void EventTimerManagerWinBridge::startTimer(std::int32_t periodMs) {
    if (timerId_ != 0)
        return;
    timerId_ = SetTimer(nullptr, 1, static_cast<UINT>(periodMs), &EventTimerManagerWinBridge::timerProc);
    if (timerId_ != 0)
        runningTimers().emplace_back(timerId_, this);
}

void EventTimerManagerWinBridge::stopTimer() {
    if (timerId_ == 0)
        return;
    KillTimer(nullptr, timerId_);
    auto& table = runningTimers();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [this](const auto& entry) { return entry.first == timerId_; });
    if (it != table.end())
        table.erase(it);
    timerId_ = 0;
}

void CALLBACK EventTimerManagerWinBridge::timerProc(HWND, UINT, UINT_PTR timerId, DWORD) {
    if (timerId == 0)
        return;
    if (EventTimerManager* manager = findManagerOf(timerId))
        DETAIL::callGuarded([manager] { manager->fireTimers(); });
}

EventTimerManager::EventTimerManager()
    : EventTimerManager(std::make_unique<EventTimerManagerWinBridge>(*this)) {}

}  // namespace QX::UIA
