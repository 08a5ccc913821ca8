#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "Win32TestSupport.h"
#include "uia/AppModule.h"
#include "uia/Application.h"
#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/Monitors.h"
#include "VetoingApplication.h"

using namespace QX::UIA;
using namespace QX::UIA::Testing;

namespace {

constexpr UINT kTimerMark = 0xFFFF;  // the journal's entry for a timer event

// Writes its timer events into the same journal as the recording window.
class JournalTimerTarget : public EventTarget {
public:
    explicit JournalTimerTarget(std::vector<UINT>* journal) : journal_(journal) {}

protected:
    bool onEvent(std::uint32_t eventId, void*) override {
        if (eventId != EventId::kTimer)
            return false;
        journal_->push_back(kTimerMark);
        return true;
    }

private:
    std::vector<UINT>* journal_;
};

// Runs the loop over one posted message; the quit flag ends it afterwards.
std::vector<UINT> runLoopOver(UINT message) {
    drainQueue();
    std::vector<UINT> journal;
    Application application;
    RecordingWindow window(&journal, 0x100, 0xFFFE);
    JournalTimerTarget target(&journal);
    target.startTimer(40, 0);  // never fired yet, so it is late at once
    PostMessageW(window.handle(), message, 0, 0);
    application.requestQuit();
    EXPECT_EQ(application.runMessageLoop(), 0);
    return journal;
}

TEST(ApplicationMessageLoopTest, ProgramMessagesCatchStarvedTimersUpFirst) {
    for (UINT message : {0x400u, 0x7FFFu}) {
        const std::vector<UINT> journal = runLoopOver(message);
        ASSERT_GE(journal.size(), 2u) << message;
        EXPECT_EQ(journal[0], kTimerMark) << message;
        EXPECT_EQ(journal[1], message);
    }
}

TEST(ApplicationMessageLoopTest, OtherMessagesDoNotCheckTheTimers) {
    for (UINT message : {0x3FFu, 0x8000u}) {
        const std::vector<UINT> journal = runLoopOver(message);
        ASSERT_FALSE(journal.empty()) << message;
        EXPECT_EQ(journal[0], message);
    }
}

TEST(ApplicationMessageLoopTest, RequestQuitWithoutMainWindowPostsNothingAndEndsAfterNextMessage) {
    drainQueue();
    std::vector<UINT> journal;
    Application application;
    RecordingWindow window(&journal, 0x100, 0xFFFE);
    EXPECT_TRUE(application.requestQuit());
    EXPECT_TRUE(application.isQuitting());
    MSG queued;
    EXPECT_FALSE(PeekMessageW(&queued, nullptr, 0, 0, PM_NOREMOVE));
    PostMessageW(window.handle(), 0x500, 0, 0);
    application.runMessageLoop();
    EXPECT_EQ(journal, (std::vector<UINT>{0x500}));
}

TEST(ApplicationMessageLoopTest, SystemTimerDrivesTimersInsideTheLoop) {
    drainQueue();
    std::vector<UINT> journal;
    Application application;
    JournalTimerTarget target(&journal);
    TimerRecord* record = target.startTimer(40, 0);
    // Quit from inside the third timer event.
    class Quitter : public EventTarget {
    public:
        Application* application = nullptr;
        int ticks = 0;

    protected:
        bool onEvent(std::uint32_t eventId, void*) override {
            if (eventId == EventId::kTimer && ++ticks == 3)
                application->requestQuit();
            return true;
        }
    } quitter;
    quitter.application = &application;
    quitter.startTimer(40, -1);
    application.runMessageLoop();
    EXPECT_EQ(quitter.ticks, 3);
    EXPECT_GE(journal.size(), 3u);
    target.stopTimer(record);
}

TEST(ApplicationQuitTest, UnvetoedQuitCommandDecidesToQuit) {
    VetoingApplication application;
    std::uint32_t command = CommandId::kQuit;
    EXPECT_TRUE(application.sendEvent(EventId::kCommand, &command));
    EXPECT_EQ(application.quitRequests, 1);
    EXPECT_TRUE(application.isQuitting());
}

TEST(ApplicationQuitTest, VetoedQuitCommandLeavesMainWindowAndFlag) {
    VetoingApplication application;
    application.veto = true;
    // Only carried around here: a vetoed quit never touches the main window.
    int stand_in = 0;
    auto* mainWindow = reinterpret_cast<WindowBase*>(&stand_in);
    application.setMainWindow(mainWindow);
    std::uint32_t command = CommandId::kQuit;
    EXPECT_TRUE(application.sendEvent(EventId::kCommand, &command));
    EXPECT_EQ(application.quitRequests, 1);
    EXPECT_FALSE(application.isQuitting());
    EXPECT_EQ(application.getMainWindow(), mainWindow);
}

TEST(ApplicationQuitTest, OtherCommandsAndEventsAreNotHandled) {
    Application application;
    std::uint32_t command = 30003;
    EXPECT_FALSE(application.sendEvent(EventId::kCommand, &command));
    EXPECT_FALSE(application.sendEvent(EventId::kCommand, nullptr));
    Answer answer = kAllowed;
    EXPECT_FALSE(application.sendEvent(EventId::kQuitRequest, &answer));
    EXPECT_EQ(answer, kAllowed);
    EXPECT_FALSE(application.isQuitting());
}

TEST(ApplicationTest, ConstructionSetsUpTheSharedParts) {
    Application application;
    EXPECT_STREQ(application.getTitle(), "");
    application.setTitle("Title");
    EXPECT_STREQ(application.getTitle(), "Title");
    application.setTitle(nullptr);
    EXPECT_STREQ(application.getTitle(), "");
    EXPECT_EQ(application.getMainWindow(), nullptr);
    EXPECT_EQ(application.getMenuBar().getHandle(), nullptr);
    ASSERT_NE(application.getAcceleratorManager(), nullptr);
    EXPECT_EQ(application.getAcceleratorManager()->findCommand('A'), 0);
    EXPECT_EQ(EventTimerManager::getCurrent(), &application.getTimerManager());
    EXPECT_EQ(application.getTimerPeriod(), 40);
    application.setTimerPeriod(20);
    EXPECT_EQ(application.getTimerPeriod(), 20);
    EXPECT_NE(dynamic_cast<WindowingDragDropDelegate*>(getDragDropDelegate()), nullptr);
    EXPECT_FALSE(application.isDpiChangeEnabled());
    EXPECT_STREQ(application.getApplicationKind(), "Standalone");
    EXPECT_EQ(application.getZero64(), 0u);
    EXPECT_EQ(application.getEmptyString(), "");
    EXPECT_EQ(getHostMode(), 0u);
}

TEST(ApplicationTest, InitializeFillsTheMonitorCacheAndShutdownTwiceIsSafe) {
    Application application;
    EXPECT_TRUE(application.initialize());
    EXPECT_TRUE(isMonitorCacheValid());
    EXPECT_FALSE(getMonitors().empty());
    application.shutdown(0);
    application.shutdown(0);
    EXPECT_FALSE(isMonitorCacheValid());
    EXPECT_TRUE(getMonitors().empty());
}

TEST(ApplicationTest, InstanceIsTheApplicationOfTheRegisteredModule) {
    AppModule* module = AppModule::getInstance();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(Application::getInstance(), nullptr);
    ASSERT_TRUE(module->startApplication(std::make_unique<Application>()));
    EXPECT_EQ(Application::getInstance(), module->getApplication());
    EXPECT_EQ(Application::getInstance()->getModule(), module);
    module->stopApplication();
    EXPECT_EQ(Application::getInstance(), nullptr);
}

TEST(ApplicationTest, DragDropDelegateInstallation) {
    setDragDropDelegate(nullptr);
    EXPECT_NE(dynamic_cast<NOPDragDropDelegate*>(getDragDropDelegate()), nullptr);
    Application application;
    EXPECT_NE(dynamic_cast<WindowingDragDropDelegate*>(getDragDropDelegate()), nullptr);
}

}  // namespace
