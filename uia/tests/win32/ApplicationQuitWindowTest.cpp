#include "WindowTestSupport.h"
#include "uia/AppModule.h"
#include "uia/Application.h"
#include "VetoingApplication.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;
using QX::UIA::Testing::VetoingApplication;

namespace {

// The application attached to the test program's module, with a main window.
class ApplicationQuitWindowTest : public WindowTest {
protected:
    void SetUp() override {
        pumpMessages(10);
        ASSERT_TRUE(AppModule::getInstance()->startApplication(std::make_unique<VetoingApplication>()));
        application = static_cast<VetoingApplication*>(AppModule::getInstance()->getApplication());
        ASSERT_TRUE(window.create(clientOptions(20, 20, 200, 100)));
        application->setMainWindow(&window);
    }
    void TearDown() override {
        window.destroy();
        pumpMessages(10);
        AppModule::getInstance()->stopApplication();
    }

    VetoingApplication* application = nullptr;
    RecordingWindow window;
};

std::vector<std::uint32_t> commandsOf(const RecordingWindow& window) {
    std::vector<std::uint32_t> commands;
    for (const ReceivedEvent& event : window.eventsWithId(EventId::kCommand))
        commands.push_back(event.as<std::uint32_t>());
    return commands;
}

TEST_F(ApplicationQuitWindowTest, RequestQuitGoesThroughTheMainWindowAndEndsTheLoop) {
    HWND native = window.hwnd();
    ASSERT_NE(native, nullptr);
    EXPECT_TRUE(application->requestQuit());
    EXPECT_EQ(application->runMessageLoop(), 0);
    EXPECT_EQ(commandsOf(window), (std::vector<std::uint32_t>{CommandId::kQuit}));
    EXPECT_EQ(application->quitRequests, 1);
    EXPECT_EQ(application->getMainWindow(), nullptr);
    EXPECT_FALSE(IsWindow(native));  // the main window went
}

TEST_F(ApplicationQuitWindowTest, VetoedQuitCommandKeepsTheMainWindow) {
    application->veto = true;
    PostMessageW(window.hwnd(), WM_COMMAND, CommandId::kQuit, 0);
    pumpMessages(50);
    EXPECT_EQ(application->quitRequests, 1);
    EXPECT_FALSE(application->isQuitting());
    EXPECT_EQ(application->getMainWindow(), &window);
    EXPECT_TRUE(IsWindow(window.hwnd()));
}

TEST_F(ApplicationQuitWindowTest, MainWindowWithoutNativeWindowPostsToTheThread) {
    RecordingWindow unborn;
    application->setMainWindow(&unborn);
    pumpMessages(10);
    application->requestQuit();
    MSG message = {};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.wParam, CommandId::kQuit);
    application->setMainWindow(&window);
}

}  // namespace
