#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gp/Init.h"
#include "uia/AppModule.h"

using namespace QX::UIA;

namespace {

std::vector<std::string> journal;

class RecordingApplication : public IApplication {
public:
    bool initializeAnswer = true;
    void setModule(AppModule* module) override { journal.push_back(module ? "setModule" : "setModule:null"); }
    int runMessageLoop() override { journal.push_back("loop"); return 0; }
    bool initialize() override { journal.push_back("initialize"); return initializeAnswer; }
    void shutdown(int code) override { journal.push_back("app.shutdown:" + std::to_string(code)); }
    bool requestQuit() override { return true; }
    void postToMainThread(std::function<void()>) override {}
    void setTimerPeriod(std::int32_t) override {}
    std::int32_t getTimerPeriod() const override { return 40; }
};

class RecordingModule : public AppModule {
public:
    bool initAnswer = false;
    bool attachApplication = false;
    bool storedLocale = false;

    bool init() override {
        journal.push_back("init");
        if (attachApplication)
            startApplication(std::make_unique<RecordingApplication>());
        return initAnswer;
    }
    void shutdown(bool initResult) override {
        journal.push_back(std::string("shutdown:") + (initResult ? "true" : "false"));
        stopApplication();
    }
    bool usesStoredLocale() override {
        journal.push_back("usesStoredLocale");
        return storedLocale;
    }
    std::string getLocale(bool useStored) override {
        journal.push_back(std::string("getLocale:") + (useStored ? "true" : "false"));
        return AppModule::getLocale(useStored);
    }
};

// Constructed before any test runs: the process's module.
RecordingModule theModule;

class LocaleStore : public QX::GP::IPreferenceStore {
public:
    bool readText(std::string_view name, std::string& out) override {
        if (name != "Locale")
            return false;
        out = "FRA";
        return true;
    }
};

class AppModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        journal.clear();
        theModule.initAnswer = false;
        theModule.attachApplication = false;
        theModule.storedLocale = false;
    }
    void TearDown() override {
        theModule.stopApplication();
        QX::GP::installPreferenceStore(nullptr);
    }
};

TEST_F(AppModuleTest, FirstModuleConstructedWins) {
    RecordingModule second;
    EXPECT_EQ(AppModule::getInstance(), &theModule);
}

TEST_F(AppModuleTest, FailedInitSkipsTheLoopAndShutsDownOnce) {
    DETAIL::runModule(AppModule::getInstance());
    EXPECT_EQ(journal, (std::vector<std::string>{"usesStoredLocale", "getLocale:false", "init",
                                                 "shutdown:false"}));
}

TEST_F(AppModuleTest, SuccessfulInitRunsTheApplicationsLoopThenShutsDown) {
    theModule.initAnswer = true;
    theModule.attachApplication = true;
    DETAIL::runModule(AppModule::getInstance());
    EXPECT_EQ(journal, (std::vector<std::string>{"usesStoredLocale", "getLocale:false", "init",
                                                 "setModule", "initialize", "loop", "shutdown:true",
                                                 "app.shutdown:1", "setModule:null"}));
    EXPECT_EQ(theModule.getApplication(), nullptr);
}

TEST_F(AppModuleTest, NoModuleRunsNothing) {
    DETAIL::runModule(nullptr);
    EXPECT_TRUE(journal.empty());
}

TEST_F(AppModuleTest, FailedStartKeepsTheApplicationAndShutsItDownOnlyOnce) {
    auto application = std::make_unique<RecordingApplication>();
    application->initializeAnswer = false;
    IApplication* raw = application.get();
    EXPECT_FALSE(theModule.startApplication(std::move(application)));
    EXPECT_EQ(theModule.getApplication(), raw);
    theModule.stopApplication();
    EXPECT_EQ(journal, (std::vector<std::string>{"setModule", "initialize", "app.shutdown:0",
                                                 "setModule:null"}));
}

TEST_F(AppModuleTest, SecondStartIsRefusedAndKeepsTheFirstApplication) {
    ASSERT_TRUE(theModule.startApplication(std::make_unique<RecordingApplication>()));
    IApplication* first = theModule.getApplication();
    journal.clear();
    EXPECT_FALSE(theModule.startApplication(std::make_unique<RecordingApplication>()));
    EXPECT_TRUE(journal.empty());  // the refused one was never started
    EXPECT_EQ(theModule.getApplication(), first);
}

TEST_F(AppModuleTest, LocaleIsReadOnlyWhenTheModuleAsks) {
    QX::GP::installPreferenceStore(std::make_shared<LocaleStore>());
    EXPECT_EQ(theModule.getLocale(false), "");
    EXPECT_EQ(theModule.getLocale(true), "FRA");
    QX::GP::installPreferenceStore(nullptr);
    EXPECT_EQ(theModule.getLocale(true), "");
}

TEST_F(AppModuleTest, InitializeModuleHandsTheLocaleToTheFoundation) {
    QX::GP::installPreferenceStore(std::make_shared<LocaleStore>());
    theModule.storedLocale = true;
    theModule.initAnswer = true;
    theModule.initializeModule();
    EXPECT_TRUE(theModule.getInitResult());
    EXPECT_EQ(QX::GP::getUserLanguageCode(), "FRA");
    EXPECT_TRUE(QX::GP::hasThreadLocalSlot());
}

}  // namespace
