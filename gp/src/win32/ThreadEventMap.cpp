#include <windows.h>

#include <map>

#include "gp/win32/ThreadEventMap.h"

namespace QX::GP {

struct ThreadEventMap::OSImpl {
    SRWLOCK lock = SRWLOCK_INIT;
    std::map<DWORD, HANDLE> events;
};

ThreadEventMap::ThreadEventMap() : impl_(std::make_unique<OSImpl>()) {}

ThreadEventMap::~ThreadEventMap()
{
    for (auto& [thread, event] : impl_->events)
        CloseHandle(event);
}

void* ThreadEventMap::getEventForCurrentThread()
{
    const DWORD thread = GetCurrentThreadId();
    AcquireSRWLockExclusive(&impl_->lock);
    HANDLE& event = impl_->events[thread];
    if (!event)
        event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE result = event;
    if (!event)
        impl_->events.erase(thread);
    ReleaseSRWLockExclusive(&impl_->lock);
    if (result)
        ResetEvent(result);
    return result;
}

}  // namespace QX::GP
