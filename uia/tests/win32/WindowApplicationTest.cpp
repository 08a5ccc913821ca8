#include "WindowTestSupport.h"

#include <memory>

#include "uia/Monitors.h"

namespace QX::UIA::Test {
namespace {

class WindowApplicationTest : public WindowTest {
protected:
    void SetUp() override {
        scope = std::make_unique<ScopedApplication>();
        ASSERT_NE(&scope->get(), nullptr);
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(70, 70, 240, 160)));
        hwnd = window->hwnd();
    }
    void TearDown() override {
        window.reset();
        scope.reset();
        pumpMessages(10);
    }
    TestApplication& application() const { return scope->get(); }

    std::unique_ptr<ScopedApplication> scope;
    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
};

TEST_F(WindowApplicationTest, CreationRegistersTheMainWindowAndItsDeletionClearsIt) {
    EXPECT_EQ(application().getMainWindow(), window.get());
    window.reset();
    EXPECT_EQ(application().getMainWindow(), nullptr);
}

TEST_F(WindowApplicationTest, UnhandledCommandsAndKeysGoOnToTheApplication) {
    SendMessageW(hwnd, WM_COMMAND, 777, 0);
    SendMessageW(hwnd, WM_CHAR, u'q', 0);
    const auto& events = application().events;
    EXPECT_NE(std::find(events.begin(), events.end(), EventId::kCommand), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), EventId::kTextTyped), events.end());

    // What the owner handles stays with it.
    application().events.clear();
    window->handler = [](std::uint32_t id, void*) { return id == EventId::kCommand; };
    SendMessageW(hwnd, WM_COMMAND, 778, 0);
    EXPECT_TRUE(application().events.empty());
}

TEST_F(WindowApplicationTest, ApplicationActivationGoesToTheApplication) {
    SendMessageW(hwnd, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageW(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    const auto& events = application().events;
    EXPECT_NE(std::find(events.begin(), events.end(), EventId::kApplicationActivated), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), EventId::kApplicationDeactivated), events.end());
}

TEST_F(WindowApplicationTest, DisplayChangeRefreshesTheValidMonitorCache) {
    ASSERT_TRUE(isMonitorCacheValid());
    EXPECT_EQ(SendMessageW(hwnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768)), 1);
    const auto& events = application().events;
    EXPECT_NE(std::find(events.begin(), events.end(), EventId::kDisplayChanged), events.end());
}

TEST_F(WindowApplicationTest, SuspendAndResumeReachTheApplication) {
    EXPECT_EQ(SendMessageW(hwnd, WM_POWERBROADCAST, PBT_APMSUSPEND, 0), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), 0);
    EXPECT_EQ(application().suspends, 1);
    EXPECT_EQ(application().resumes, 1);
}

TEST_F(WindowApplicationTest, MenuBarOfTheApplicationIsApplied) {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 100, u"&File");
    application().getMenuBar().setHandle(bar);
    RecordingWindow second;
    ASSERT_TRUE(second.create(clientOptions(10, 10, 200, 100)));
    EXPECT_EQ(GetMenu(second.hwnd()), bar);
    RECT client{};
    GetClientRect(second.hwnd(), &client);
    EXPECT_EQ(client.bottom, 100);
    application().getMenuBar().setHandle(nullptr);
}

}  // namespace
}  // namespace QX::UIA::Test
