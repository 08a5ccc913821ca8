#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace QX::UIA {

class Application;

// The application's hidden window that carries calls from any thread to the
// UI thread: callbacks are queued under a lock and the UI thread runs them,
// in order, when the window receives WM_USER. It also holds the system's
// per-monitor DPI entry points, loaded at run time.
class InternalWindow {
public:
    using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    using SetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(int);

    explicit InternalWindow(Application& application);
    ~InternalWindow();
    InternalWindow(const InternalWindow&) = delete;
    InternalWindow& operator=(const InternalWindow&) = delete;

    // "UIA_InternalWindow_" and a random UUID, made once per process; both
    // the class name and the title.
    static const std::u16string& getWindowName();

    // False when the window could not be registered or created.
    bool isCreated() const { return window_ != nullptr; }
    HWND getHandle() const { return window_; }

    // Any thread: queues the callback and wakes the window.
    void post(std::function<void()> callback);
    // Posts WM_COMMAND with the command to the application's main window,
    // when there is one.
    void postCommand(std::uint32_t command);

    GetDpiForMonitorFunction getDpiForMonitor() const { return getDpiForMonitor_; }
    SetProcessDpiAwarenessFunction setProcessDpiAwareness() const { return setProcessDpiAwareness_; }

    // The window procedure: an exception of a callback is reported and ends
    // the program, as in every window procedure.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The same without the guard; exceptions come back to the caller.
    static LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void loadDpiLibrary();
    void createWindow();
    // Runs the batch queued so far; later posts wait for the next WM_USER.
    void runPendingCallbacks();

    void* dpiLibrary_ = nullptr;
    GetDpiForMonitorFunction getDpiForMonitor_ = nullptr;
    SetProcessDpiAwarenessFunction setProcessDpiAwareness_ = nullptr;
    Application& application_;
    HWND window_ = nullptr;
    std::mutex queueLock_;
    std::vector<std::function<void()>> pending_;
};

}  // namespace QX::UIA
