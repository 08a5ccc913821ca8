#include <windows.h>

#include <stdexcept>
#include <system_error>

#include "gp/Thread.h"
#include "gp/Trace.h"

namespace QX::GP {
namespace {

DWORD WINAPI threadMain(LPVOID parameter)
{
    std::unique_ptr<std::function<void()>> function(static_cast<std::function<void()>*>(parameter));
    try {
        if (*function)
            (*function)();
    } catch (const std::exception& e) {
        writeTrace(kTraceError, "Thread", std::string("uncaught exception: ") + e.what());
    } catch (...) {
        writeTrace(kTraceError, "Thread", "uncaught exception");
    }
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
    HANDLE handle = CreateThread(nullptr, 0, threadMain, parameter.get(), 0, nullptr);
    if (!handle)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "CreateThread failed (error " + std::to_string(GetLastError()) + ")");
    parameter.release();  // the thread owns it now
    impl_ = std::make_unique<OSImpl>();
    impl_->handle = handle;
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
