#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "../common/ThreadBody.h"
#include "gp/Thread.h"

namespace QX::GP {

struct Thread::OSImpl {
    std::thread thread;
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
};

Thread::Thread() = default;

Thread::~Thread()
{
    if (joinable())
        join();
}

void Thread::start(std::function<void()> function)
{
    if (joinable())
        throw std::logic_error("Thread::start: a thread is already attached");
    auto impl = std::make_unique<OSImpl>();
    OSImpl* state = impl.get();
    impl->thread = std::thread([state, function = std::move(function)] {
        DETAIL::runThreadFunction(function);
        std::lock_guard lock(state->mutex);
        state->done = true;
        state->ended.notify_all();
    });
    impl_ = std::move(impl);
}

bool Thread::joinable() const { return impl_ && impl_->thread.joinable(); }

bool Thread::timedJoin(std::uint32_t milliseconds)
{
    if (!joinable())
        return true;
    {
        std::unique_lock lock(impl_->mutex);
        if (!impl_->ended.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return impl_->done; }))
            return false;
    }
    impl_->thread.join();
    impl_.reset();
    return true;
}

void Thread::join()
{
    if (!joinable())
        return;
    impl_->thread.join();
    impl_.reset();
}

void sleepMilliseconds(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace QX::GP
