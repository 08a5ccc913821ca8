#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "AsyncEventWindow.h"
#include "WindowTestSupport.h"
#include "uia/AsyncEvents.h"
#include "uia/EventTarget.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

class CountingTarget : public EventTarget {
public:
    int events = 0;
    std::uint32_t lastEvent = 0;
    DWORD thread = 0;
    std::function<void()> action;

protected:
    bool onEvent(std::uint32_t eventId, void* data) override {
        ++events;
        lastEvent = eventId;
        thread = GetCurrentThreadId();
        EXPECT_NE(data, nullptr);
        if (action)
            action();
        return true;
    }
};

// Starts every test without the window (the framework's start-up may have
// made it) and leaves the process as it found it.
class AsyncEventWindowState : public ::testing::Test {
protected:
    void SetUp() override {
        existedBefore_ = getAsyncEventWindowHandle() != nullptr;
        destroyAsyncEventWindow();
    }
    void TearDown() override {
        destroyAsyncEventWindow();
        if (existedBefore_)
            createAsyncEventWindow(false);
    }

private:
    bool existedBefore_ = false;
};

class AsyncEventWindowTest : public AsyncEventWindowState {
protected:
    void SetUp() override {
        AsyncEventWindowState::SetUp();
        ASSERT_TRUE(createAsyncEventWindow(false));
    }
    void TearDown() override {
        unregisterAsyncEventTarget(7);
        unregisterAsyncEventTarget(8);
        AsyncEventWindowState::TearDown();
    }
    HWND window() const { return static_cast<HWND>(getAsyncEventWindowHandle()); }
};

using AsyncEventWindowSkipTest = AsyncEventWindowState;
using AsyncEventWindowFailureTest = AsyncEventWindowState;

TEST_F(AsyncEventWindowSkipTest, SkippingCreatesNothing) {
    EXPECT_TRUE(createAsyncEventWindow(true));
    EXPECT_EQ(getAsyncEventWindowHandle(), nullptr);
    destroyAsyncEventWindow();  // nothing to destroy
}

TEST_F(AsyncEventWindowFailureTest, FailedRegistrationIsReported) {
    // Someone else holds the class name: the window cannot be made.
    const std::u16string name = getAsyncEventWindowClassName();
    WNDCLASSW squatter = {};
    squatter.lpfnWndProc = &DefWindowProcW;
    squatter.lpszClassName = name.c_str();
    ASSERT_NE(RegisterClassW(&squatter), 0);
    EXPECT_FALSE(createAsyncEventWindow(false));
    EXPECT_EQ(getAsyncEventWindowHandle(), nullptr);
    UnregisterClassW(name.c_str(), nullptr);
    EXPECT_TRUE(createAsyncEventWindow(false));
}

TEST_F(AsyncEventWindowTest, WindowIsMessageOnlyOfThisThread) {
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(getAsyncEventThreadId(), GetCurrentThreadId());
    char16_t className[256] = {};
    GetClassNameW(window(), className, 256);
    EXPECT_EQ(std::u16string(className).rfind(u"QXAsyncEventTargetWndClass", 0), 0u);
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, className, u"AsyncEventTargetWindow"), window());
    EXPECT_TRUE(createAsyncEventWindow(false));  // already there
}

TEST_F(AsyncEventWindowTest, UnknownKeyAnswersOneAndDeliversNothing) {
    CountingTarget target;
    registerAsyncEventTarget(7, &target);
    EXPECT_EQ(SendMessageW(window(), WM_COMMAND, 1200, 99), 1);
    EXPECT_EQ(target.events, 0);
    EXPECT_FALSE(dispatchAsyncEvent(1200, 99));
}

TEST_F(AsyncEventWindowTest, EventPostedFromWorkerArrivesOnTheUiThread) {
    CountingTarget target;
    registerAsyncEventTarget(7, &target);
    HWND destination = window();
    Win32Thread worker([destination] { PostMessageW(destination, WM_COMMAND, 1200, 7); });
    worker.join();
    ASSERT_TRUE(pumpUntil([&] { return target.events == 1; }));
    EXPECT_EQ(target.lastEvent, 1200u);
    EXPECT_EQ(target.thread, GetCurrentThreadId());
}

TEST_F(AsyncEventWindowTest, HandlerMayChangeTheRegistryOnItsThread) {
    CountingTarget first, second;
    first.action = [&] {
        unregisterAsyncEventTarget(7);
        registerAsyncEventTarget(8, &second);
    };
    registerAsyncEventTarget(7, &first);
    EXPECT_TRUE(dispatchAsyncEvent(5, 7));
    EXPECT_FALSE(dispatchAsyncEvent(5, 7));
    EXPECT_TRUE(dispatchAsyncEvent(5, 8));
    EXPECT_EQ(first.events, 1);
    EXPECT_EQ(second.events, 1);
}

TEST_F(AsyncEventWindowTest, OtherMessagesGoToTheDefaultProcedure) {
    EXPECT_EQ(SendMessageW(window(), WM_USER, 0, 0), 0);
}

}  // namespace
