#include "WindowTestSupport.h"

#include <algorithm>
#include <memory>

namespace QX::UIA::Test {
namespace {

// The test program's application with a main window: every way of asking to
// quit ends in the application's vetoable quit request.
class ApplicationQuitTest : public WindowTest {
protected:
    void SetUp() override {
        scope = std::make_unique<ScopedApplication>();
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(20, 20, 200, 100)));
        hwnd = window->hwnd();
        ASSERT_EQ(application().getMainWindow(), window.get());  // the first window is the main one
    }
    void TearDown() override {
        window.reset();
        scope.reset();
        drainQueue();
    }
    TestApplication& application() const { return scope->get(); }
    long quitRequests() const {
        return std::count(application().events.begin(), application().events.end(), EventId::kQuitRequest);
    }

    std::unique_ptr<ScopedApplication> scope;
    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
};

TEST_F(ApplicationQuitTest, EveryPathAsksTheApplicationAndHonoursItsVeto) {
    struct Path {
        const char* name;
        std::function<void(HWND)> ask;
    };
    const Path paths[] = {
        {"quit command to the main window", [](HWND w) { SendMessageW(w, WM_COMMAND, CommandId::kQuit, 0); }},
        {"close request of the main window", [](HWND w) { SendMessageW(w, WM_CLOSE, 0, 0); }},
        {"quit command to the application",
         [](HWND) {
             std::uint32_t command = CommandId::kQuit;
             EXPECT_TRUE(Application::getInstance()->sendEvent(EventId::kCommand, &command));
         }},
    };
    for (const Path& path : paths) {
        for (bool veto : {true, false}) {
            SCOPED_TRACE(std::string(path.name) + (veto ? ", vetoed" : ", allowed"));
            TearDown();
            SetUp();
            application().vetoQuit = veto;
            path.ask(hwnd);
            EXPECT_GE(quitRequests(), 1);
            EXPECT_EQ(application().isQuitting(), !veto);
            EXPECT_EQ(IsWindow(hwnd) != FALSE, veto);
            if (veto)
                EXPECT_EQ(application().getMainWindow(), window.get());
            else
                EXPECT_EQ(window->getImpl(), nullptr);
        }
    }
}

TEST_F(ApplicationQuitTest, RequestQuitGoesThroughTheMainWindowAndEndsTheLoop) {
    EXPECT_TRUE(application().requestQuit());
    EXPECT_EQ(application().runMessageLoop(), 0);
    std::vector<std::uint32_t> commands;
    for (const ReceivedEvent& event : window->eventsWithId(EventId::kCommand))
        commands.push_back(event.as<std::uint32_t>());
    EXPECT_EQ(commands, (std::vector<std::uint32_t>{CommandId::kQuit}));
    EXPECT_EQ(quitRequests(), 1);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(ApplicationQuitTest, MainWindowWithoutNativeWindowPostsToTheThread) {
    RecordingWindow unborn;
    application().setMainWindow(&unborn);
    drainQueue();
    application().requestQuit();
    MSG message = {};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.wParam, CommandId::kQuit);
    application().setMainWindow(window.get());
}

TEST_F(ApplicationQuitTest, WindowDestroyedWhileItsCloseRequestIsDecidedGoesAfterwards) {
    int destructions = 0;
    auto* closing = new RecordingWindow;
    closing->destructions = &destructions;
    closing->setDeleteOnDestroy(true);
    ASSERT_TRUE(closing->create(clientOptions(90, 90, 200, 120)));
    application().onQuitRequest = [&] {
        closing->destroy();
        EXPECT_EQ(destructions, 0);  // still deciding: the object stays
    };
    // Sent directly, not from inside one of the window's messages.
    Answer mayClose = kAllowed;
    EXPECT_TRUE(closing->sendEvent(EventId::kWindowCloseRequest, &mayClose));
    EXPECT_EQ(destructions, 1);
}

TEST(ApplicationQuitWithoutWindowTest, OtherCommandsAndEventsAreNotHandled) {
    Application application;
    std::uint32_t command = 30003;
    EXPECT_FALSE(application.sendEvent(EventId::kCommand, &command));
    EXPECT_FALSE(application.sendEvent(EventId::kCommand, nullptr));
    Answer answer = kAllowed;
    EXPECT_FALSE(application.sendEvent(EventId::kQuitRequest, &answer));
    EXPECT_EQ(answer, kAllowed);
    EXPECT_FALSE(application.isQuitting());
}

TEST(ApplicationQuitWithoutWindowTest, RequestQuitPostsNothingAndEndsAfterTheNextMessage) {
    drainQueue();
    std::vector<UINT> journal;
    Application application;
    MessageJournal window(&journal, 0x100, 0xFFFE);
    EXPECT_TRUE(application.requestQuit());
    EXPECT_TRUE(application.isQuitting());
    MSG queued;
    EXPECT_FALSE(PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE));
    PostMessageW(window.handle(), 0x500, 0, 0);
    application.runMessageLoop();
    EXPECT_EQ(journal, (std::vector<UINT>{0x500}));
}

}  // namespace
}  // namespace QX::UIA::Test
