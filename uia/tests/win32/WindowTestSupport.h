#pragma once
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <map>
#include <string>
#include <vector>

#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ole2.h>

#include "gp/Assertion.h"
#include "uia/Framework.h"
#include "uia/HMenu.h"
#include "uia/WindowBase.h"
#include "uia/WindowImpl.h"
#include "uia/WindowOptions.h"
#include "WindowImplWin32.h"

namespace QX::UIA::Test {


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

// A message-only window that writes down the numbers of the messages in a
// range that reach it.
class MessageJournal {
public:
    MessageJournal(std::vector<UINT>* journal, UINT low, UINT high) : journal_(journal), low_(low), high_(high) {
        static const ATOM windowClass = [] {
            WNDCLASSW description = {};
            description.lpfnWndProc = &MessageJournal::proc;
            description.lpszClassName = u"QXTestMessageJournal";
            return RegisterClassW(&description);
        }();
        (void)windowClass;
        handle_ = CreateWindowExW(0, u"QXTestMessageJournal", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
        SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageJournal() { DestroyWindow(handle_); }
    MessageJournal(const MessageJournal&) = delete;
    MessageJournal& operator=(const MessageJournal&) = delete;

    HWND handle() const { return handle_; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<MessageJournal*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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


// OLE for the test's thread, as the foundation library starts it for the
// program.
class OleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

// Whether a global block is still allocated.
inline bool isLiveBlock(HGLOBAL block) { return GlobalFlags(block) != GMEM_INVALID_HANDLE; }

// Counts references so that a test can see every one given back.
class CountingUnknown : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override { return --count; }
    LONG count = 1;
};

// One event as a window received it, with a copy of its data.
struct ReceivedEvent {
    std::uint32_t id = 0;
    std::vector<std::uint8_t> data;

    template <typename T>
    T as() const {
        T value{};
        std::memcpy(&value, data.data(), std::min(sizeof(T), data.size()));
        return value;
    }
};

// How many bytes of each event's data are worth keeping.
inline std::size_t dataSizeOf(std::uint32_t id) {
    switch (id) {
    case EventId::kMouseButton: return sizeof(MouseButtonEvent);
    case EventId::kMouseMoveCaptured: case EventId::kMouseMove:
    case EventId::kMouseEntered: case EventId::kMouseLeft: return sizeof(MousePositionEvent);
    case EventId::kMouseWheel: return sizeof(MouseWheelEvent);
    case EventId::kKeyPressed: return sizeof(KeyPressEvent);
    case EventId::kKeyReleased: return sizeof(KeyReleaseEvent);
    case EventId::kModifiersChanged: return sizeof(ModifiersEvent);
    case EventId::kCommand: case EventId::kWindowResized: return 4;
    case EventId::kMenuItemStateQuery: return sizeof(MenuItemQuery);
    default: return 0;
    }
}

// A standalone window that records what reaches it; a handler may answer
// and act on an event.
class RecordingWindow : public StandaloneWindow {
public:
    using Handler = std::function<bool(std::uint32_t id, void* data)>;

    ~RecordingWindow() override {
        if (destructions != nullptr) ++*destructions;
    }

    std::vector<ReceivedEvent> events;
    std::vector<std::string> texts;  // typed text and dead keys
    Handler handler;
    int* destructions = nullptr;

    std::vector<std::uint32_t> ids() const {
        std::vector<std::uint32_t> result;
        for (const auto& event : events) result.push_back(event.id);
        return result;
    }
    std::vector<ReceivedEvent> eventsWithId(std::uint32_t id) const {
        std::vector<ReceivedEvent> result;
        for (const auto& event : events)
            if (event.id == id) result.push_back(event);
        return result;
    }
    bool received(std::uint32_t id) const { return !eventsWithId(id).empty(); }
    HWND hwnd() const {
        return getImpl() != nullptr ? static_cast<HWND>(getImpl()->getNativeHandle()) : nullptr;
    }
    DETAIL::StandaloneWindowImpl* impl() const { return static_cast<DETAIL::StandaloneWindowImpl*>(getImpl()); }

protected:
    bool onEvent(std::uint32_t id, void* data) override {
        ReceivedEvent event{id, {}};
        const std::size_t size = dataSizeOf(id);
        if (size != 0 && data != nullptr) {
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            event.data.assign(bytes, bytes + size);
        }
        if ((id == EventId::kTextTyped || id == EventId::kDeadKey) && data != nullptr)
            texts.emplace_back(static_cast<const char*>(data));
        events.push_back(std::move(event));
        if (handler && handler(id, data)) return true;
        return StandaloneWindow::onEvent(id, data);
    }
};

// Handles the messages for this thread for about `milliseconds`, for the
// tests that check that nothing (more) arrives.
inline void pumpMessages(int milliseconds = 50) {
    pumpUntil([] { return false; }, milliseconds);
}

// Starts the framework for the window tests.
class WindowTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        GP::Assertion::setThrowsExceptions(true);
        if (!isLibraryInitialized()) initializeLibraryOrThrow(kFrameworkVersion, kFrameworkFlags);
    }

    static WindowOptions clientOptions(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                       std::uint32_t style = 0) {
        WindowOptions options;
        options.style = style;
        options.setPosition(x, y, true);
        options.setSize(width, height, true);
        options.setTitle("QX test window");
        return options;
    }
};

}  // namespace QX::UIA::Test

#include <memory>

#include "uia/AppModule.h"
#include "uia/Application.h"

namespace QX::UIA::Test {

// An application that records its events; it may veto the quit request.
class TestApplication : public Application {
public:
    std::vector<std::uint32_t> events;
    std::vector<std::string> paths;
    bool vetoQuit = false;
    bool takePaths = true;
    std::function<void()> onQuitRequest;  // runs when a quit request arrives
    int suspends = 0;
    int resumes = 0;

    void onSuspend() override { ++suspends; }
    void onResume() override { ++resumes; }

protected:
    bool onEvent(std::uint32_t id, void* data) override;
};

// Attaches a TestApplication to the test program's module for a scope.
class ScopedApplication {
public:
    ScopedApplication();
    ~ScopedApplication();
    ScopedApplication(const ScopedApplication&) = delete;
    ScopedApplication& operator=(const ScopedApplication&) = delete;
    TestApplication& get() const { return *application_; }

private:
    TestApplication* application_ = nullptr;
};

}  // namespace QX::UIA::Test
