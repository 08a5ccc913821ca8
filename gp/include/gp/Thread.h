#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace QX::GP {

// A worker thread with a timed join. In the program build it is created by
// Win32 (threads that call Win32 must be); natively it is a plain thread.
// The thread stays joinable until it has been joined: destroying a Thread
// whose function still runs waits for it.
class Thread {
public:
    Thread();
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts `function` on a new thread. Throws std::system_error
    // (resource_unavailable_try_again) when no thread can be created, and
    // std::logic_error when a thread is already attached.
    void start(std::function<void()> function);

    // True when a thread is attached (started and not yet joined).
    bool joinable() const;
    // Waits up to `milliseconds` for the thread to end; when it ended, it is
    // joined and released and the answer is true.
    bool timedJoin(std::uint32_t milliseconds);
    // Waits for the thread to end and releases it.
    void join();

private:
    struct OSImpl;
    std::unique_ptr<OSImpl> impl_;
};

void sleepMilliseconds(std::uint32_t milliseconds);

}  // namespace QX::GP
