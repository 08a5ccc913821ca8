#pragma once
#include <memory>

namespace QX::GP {

// Per-thread Win32 event handles for overlapped I/O: every thread that asks
// gets its own manual-reset completion event, so that the UI thread and a
// worker can talk to one device at the same time. Handles are passed as
// opaque pointers (HANDLE) so that this header does not need <windows.h>.
class ThreadEventMap {
public:
    ThreadEventMap();
    // Closes the handles kept for every thread.
    ~ThreadEventMap();
    ThreadEventMap(const ThreadEventMap&) = delete;
    ThreadEventMap& operator=(const ThreadEventMap&) = delete;

    // The calling thread's event (created on first use), reset; null when
    // it cannot be created.
    void* getEventForCurrentThread();

private:
    struct OSImpl;
    std::unique_ptr<OSImpl> impl_;
};

}  // namespace QX::GP
