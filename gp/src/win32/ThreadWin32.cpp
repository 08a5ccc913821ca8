#include <windows.h>

#include <stdexcept>
#include <system_error>

#include "../common/ThreadBody.h"
#include "gp/Thread.h"

namespace QX::GP {
namespace {

DWORD WINAPI threadMain(LPVOID parameter)
{
    std::unique_ptr<std::function<void()>> function(static_cast<std::function<void()>*>(parameter));
    DETAIL::runThreadFunction(*function);
    return 0;
}

}  // namespace

struct Thread::OSImpl {
    HANDLE handle = nullptr;
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
    auto parameter = std::make_unique<std::function<void()>>(std::move(function));
    auto impl = std::make_unique<OSImpl>();
    impl->handle = CreateThread(nullptr, 0, threadMain, parameter.get(), 0, nullptr);
    if (!impl->handle)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "CreateThread failed (error " + std::to_string(GetLastError()) + ")");
    parameter.release();  // the thread owns it now
    impl_ = std::move(impl);
}

bool Thread::joinable() const { return impl_ && impl_->handle; }

bool Thread::timedJoin(std::uint32_t milliseconds)
{
    if (!joinable())
        return true;
    if (WaitForSingleObject(impl_->handle, milliseconds) != WAIT_OBJECT_0)
        return false;
    CloseHandle(impl_->handle);
    impl_.reset();
    return true;
}

void Thread::join() { timedJoin(INFINITE); }

void sleepMilliseconds(std::uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace QX::GP
