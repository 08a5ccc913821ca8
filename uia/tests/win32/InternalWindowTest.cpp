#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include <mutex>
#include <regex>
#include <stdexcept>
#include <string>

#include "InternalWindow.h"
#include "WindowTestSupport.h"
#include "gp/Text.h"
#include "uia/Application.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

namespace {

struct Call {
    int worker;
    int sequence;
    DWORD thread;
};

class InternalWindowTest : public ::testing::Test {
protected:
    void SetUp() override { drainQueue(); }
    Application application;
};

TEST_F(InternalWindowTest, WindowIsNamedWithARandomUuid) {
    ASSERT_NE(application.getInternalWindow(), nullptr);
    EXPECT_TRUE(application.getInternalWindow()->isCreated());
    const std::string name = QX::GP::utf16ToUtf8(InternalWindow::getWindowName());
    EXPECT_TRUE(std::regex_match(
        name, std::regex("UIA_InternalWindow_[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}")))
        << name;
    char16_t className[128] = {};
    GetClassNameW(application.getInternalWindow()->getHandle(), className, 128);
    EXPECT_EQ(std::u16string(className), InternalWindow::getWindowName());
    // Once per process: a second application uses the same name.
    Application second;
    EXPECT_TRUE(second.getInternalWindow()->isCreated());
}

TEST_F(InternalWindowTest, CallsFromSeveralWorkerThreadsRunOnTheUiThreadInOrder) {
    constexpr int kWorkers = 3;
    constexpr int kCallsEach = 50;
    std::vector<Call> calls;  // touched on the UI thread only
    {
        std::vector<std::unique_ptr<Win32Thread>> workers;
        for (int worker = 0; worker < kWorkers; ++worker)
            workers.push_back(std::make_unique<Win32Thread>([&, worker] {
                for (int sequence = 0; sequence < kCallsEach; ++sequence)
                    application.postToMainThread(
                        [&calls, worker, sequence] { calls.push_back({worker, sequence, GetCurrentThreadId()}); });
            }));
        for (auto& worker : workers) {
            ASSERT_TRUE(worker->started());
            worker->join();
        }
    }
    ASSERT_TRUE(pumpUntil([&] { return calls.size() == kWorkers * kCallsEach; }));
    std::vector<int> next(kWorkers, 0);
    for (const Call& call : calls) {
        EXPECT_EQ(call.thread, GetCurrentThreadId());
        EXPECT_EQ(call.sequence, next[call.worker]++);
    }
}

TEST_F(InternalWindowTest, CallPostedFromACallbackRunsInTheNextBatch) {
    std::vector<std::string> journal;
    HWND window = application.getInternalWindow()->getHandle();
    application.postToMainThread([&] {
        journal.push_back("first");
        application.postToMainThread([&] { journal.push_back("posted inside"); });
    });
    application.postToMainThread([&] { journal.push_back("second"); });
    // One batch: both queued calls run, the one posted inside waits.
    SendMessageW(window, WM_USER, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"first", "second"}));
    SendMessageW(window, WM_USER, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"first", "second", "posted inside"}));
    SendMessageW(window, WM_USER, 0, 0);  // an empty queue runs nothing
    EXPECT_EQ(journal.size(), 3u);
    drainQueue();
}

TEST_F(InternalWindowTest, ThrowingCallbackDropsTheRestOfItsBatchOnly) {
    std::vector<std::string> journal;
    HWND window = application.getInternalWindow()->getHandle();
    application.postToMainThread([] { throw std::runtime_error("callback failed"); });
    application.postToMainThread([&] { journal.push_back("dropped with the batch"); });
    // Called directly: the exception comes back to this frame.
    EXPECT_THROW(InternalWindow::handleMessage(window, WM_USER, 0, 0), std::runtime_error);
    application.postToMainThread([&] { journal.push_back("next batch"); });
    InternalWindow::windowProc(window, WM_USER, 0, 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"next batch"}));

    application.postToMainThread(std::function<void()>());
    EXPECT_THROW(InternalWindow::handleMessage(window, WM_USER, 0, 0), std::bad_function_call);
    drainQueue();
}

TEST_F(InternalWindowTest, OtherMessagesGoToTheDefaultProcedure) {
    HWND window = application.getInternalWindow()->getHandle();
    EXPECT_EQ(InternalWindow::windowProc(window, WM_NCCREATE, 0, 0), TRUE);
    EXPECT_EQ(SendMessageW(window, WM_USER + 1, 0, 0), 0);
}

TEST_F(InternalWindowTest, DpiEntryPointsComeTogetherWithTheLibrary) {
    InternalWindow* window = application.getInternalWindow();
    // Present or absent, they never come half.
    EXPECT_EQ(window->getDpiForMonitor() == nullptr, window->setProcessDpiAwareness() == nullptr);
}

}  // namespace
