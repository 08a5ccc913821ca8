#pragma once
// Included after GoogleTest and <windows.h>.
#include <functional>
#include <memory>
#include <vector>

namespace QX::UIA::Testing {

// Handles whatever is queued for the calling thread until `done` holds or
// the time runs out; answers `done()`.
inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() > deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

// Takes everything queued for the calling thread without handling it.
inline void drainQueue() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// A thread created by Win32, as every thread that calls Win32 must be.
class Win32Thread {
public:
    explicit Win32Thread(std::function<void()> function)
        : function_(std::make_unique<std::function<void()>>(std::move(function))) {
        handle_ = CreateThread(nullptr, 0, &Win32Thread::run, function_.get(), 0, nullptr);
    }
    ~Win32Thread() { join(); }
    Win32Thread(const Win32Thread&) = delete;
    Win32Thread& operator=(const Win32Thread&) = delete;

    bool started() const { return handle_ != nullptr; }
    void join() {
        if (!handle_)
            return;
        WaitForSingleObject(handle_, INFINITE);
        CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    static DWORD WINAPI run(void* context) {
        (*static_cast<std::function<void()>*>(context))();
        return 0;
    }

    std::unique_ptr<std::function<void()>> function_;
    HANDLE handle_ = nullptr;
};

// A message-only window that writes down every message in a range.
class RecordingWindow {
public:
    RecordingWindow(std::vector<UINT>* journal, UINT low, UINT high) : journal_(journal), low_(low), high_(high) {
        static const ATOM windowClass = [] {
            WNDCLASSW description = {};
            description.lpfnWndProc = &RecordingWindow::proc;
            description.lpszClassName = u"QXTestRecordingWindow";
            return RegisterClassW(&description);
        }();
        (void)windowClass;
        handle_ = CreateWindowExW(0, u"QXTestRecordingWindow", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
        SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { DestroyWindow(handle_); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND handle() const { return handle_; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message >= self->low_ && message <= self->high_) {
            self->journal_->push_back(message);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::vector<UINT>* journal_;
    UINT low_;
    UINT high_;
    HWND handle_ = nullptr;
};

}  // namespace QX::UIA::Testing
