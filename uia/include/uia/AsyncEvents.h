#pragma once
#include <cstdint>

namespace QX::UIA {

class EventTarget;

// Events for registered targets, posted from any thread to the process's
// hidden asynchronous event window as WM_COMMAND (event id, key) and
// delivered on the UI thread.

// Creates the window on the calling thread, which becomes the UI thread;
// with `skip` does nothing and answers true. Answers false when the window
// class or the window could not be made.
bool createAsyncEventWindow(bool skip);
// Destroys the window and unregisters its class, when they exist.
void destroyAsyncEventWindow();
// The window (an HWND) to post to, or null.
void* getAsyncEventWindowHandle();
// The thread that created the window (0 when there is none).
std::uint32_t getAsyncEventThreadId();

// The registry, guarded by a recursive lock that is held while a target's
// handler runs, so a handler may register or unregister on its own thread.
void registerAsyncEventTarget(std::uint32_t key, EventTarget* target);
void unregisterAsyncEventTarget(std::uint32_t key);
// Sends the event to the target of `key` with a one-byte answer that is not
// read; answers the target's result, false for an unknown key.
bool dispatchAsyncEvent(std::uint32_t eventId, std::uint32_t key);

}  // namespace QX::UIA
