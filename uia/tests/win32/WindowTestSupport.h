#pragma once
#include <algorithm>
#include <cstring>
#include <functional>
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

#include "gp/Assertion.h"
#include "uia/Framework.h"
#include "uia/HMenu.h"
#include "uia/WindowBase.h"
#include "uia/WindowImpl.h"
#include "uia/WindowOptions.h"
#include "WindowImplWin32.h"
#include "Win32TestSupport.h"

namespace QX::UIA::Test {

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

// Handles the messages waiting for this thread, for about `milliseconds`.
inline void pumpMessages(int milliseconds = 50) {
    const DWORD end = GetTickCount() + DWORD(milliseconds);
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() < end);
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
