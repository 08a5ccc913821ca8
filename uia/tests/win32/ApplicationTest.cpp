#pragma push_macro("_WIN32")
#undef _WIN32
#include <gtest/gtest.h>
#pragma pop_macro("_WIN32")
#include <windows.h>

#include "WindowTestSupport.h"
#include "uia/AppModule.h"
#include "uia/Application.h"
#include "uia/DragDropDelegate.h"
#include "uia/EventIds.h"
#include "uia/Monitors.h"

using namespace QX::UIA;
using namespace QX::UIA::Test;

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
    MessageJournal window(&journal, 0x100, 0xFFFE);
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

TEST(ApplicationTest, ConstructionInstallsTheSharedParts) {
    Application application;
    application.setTitle(nullptr);
    EXPECT_STREQ(application.getTitle(), "");
    EXPECT_EQ(EventTimerManager::getCurrent(), &application.getTimerManager());
    EXPECT_NE(dynamic_cast<WindowingDragDropDelegate*>(getDragDropDelegate()), nullptr);
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

}  // namespace
