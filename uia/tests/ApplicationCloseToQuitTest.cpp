#include <gtest/gtest.h>

#include <memory>

#include "uia/AppModule.h"
#include "uia/Application.h"
#include "uia/EventIds.h"
#include "uia/WindowBase.h"

using namespace QX::UIA;

namespace {

// Answers the quit request as told and counts how it is asked to quit.
class DecidingApplication : public Application {
public:
    bool veto = false;
    int quitRequests = 0;
    int requestQuitCalls = 0;

    bool requestQuit() override {
        ++requestQuitCalls;
        return Application::requestQuit();
    }

protected:
    bool onEvent(std::uint32_t eventId, void* data) override {
        if (eventId != EventId::kQuitRequest)
            return Application::onEvent(eventId, data);
        ++quitRequests;
        if (veto)
            *static_cast<Answer*>(data) = kVetoed;
        return true;
    }
};

// The registered module's application and a standalone window without a
// native window: the test sends what the window procedure would send. Only
// the quit command needs the window as the main window; without one a quit
// request posts nothing, so the program build's queue stays empty.
class CloseToQuitTest : public ::testing::Test {
protected:
    void SetUp() override {
        module = AppModule::getInstance();
        ASSERT_NE(module, nullptr);
        module->stopApplication();
        auto owned = std::make_unique<DecidingApplication>();
        application = owned.get();
        ASSERT_TRUE(module->startApplication(std::move(owned)));
        window = std::make_unique<StandaloneWindow>();
    }
    void TearDown() override {
        window.reset();
        if (module)
            module->stopApplication();
    }

    AppModule* module = nullptr;
    DecidingApplication* application = nullptr;
    std::unique_ptr<StandaloneWindow> window;
};

TEST_F(CloseToQuitTest, CloseAndQuitCommandAskTheApplicationAndHonourItsVeto) {
    enum Path { kCloseButton, kQuitCommand };
    struct Case {
        const char* name;
        Path path;
        bool veto;
        bool quitting;
        int requestQuitCalls;  // a closed window asks to quit once it is gone
    };
    const Case cases[] = {
        {"close, vetoed", kCloseButton, true, false, 0},
        {"close, allowed", kCloseButton, false, true, 1},
        {"quit command, vetoed", kQuitCommand, true, false, 0},
        {"quit command, allowed", kQuitCommand, false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        application->veto = c.veto;
        if (c.path == kCloseButton) {
            Answer mayClose = kAllowed;
            EXPECT_TRUE(window->sendEvent(EventId::kWindowCloseRequest, &mayClose));
            EXPECT_EQ(mayClose, c.veto ? kVetoed : kAllowed);
            // Allowed, the system destroys the window.
            if (mayClose == kAllowed)
                window->sendEvent(EventId::kWindowDestroyed, nullptr);
        } else {
            application->setMainWindow(window.get());
            std::uint32_t command = CommandId::kQuit;
            EXPECT_TRUE(application->sendEvent(EventId::kCommand, &command));
            EXPECT_EQ(application->getMainWindow(), c.veto ? window.get() : nullptr);
            // Allowed, the main window was destroyed once quitting was decided.
            if (!c.veto)
                window->sendEvent(EventId::kWindowDestroyed, nullptr);
        }
        EXPECT_EQ(application->quitRequests, 1);
        EXPECT_EQ(application->isQuitting(), c.quitting);
        EXPECT_EQ(application->requestQuitCalls, c.requestQuitCalls);
    }
}

}  // namespace
