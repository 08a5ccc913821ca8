#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FirmwareUpdaterApp.h"
#include "gp/MessageBox.h"
#include "uia/EventIds.h"
#include "updater/app/UpdaterDescription.h"

namespace QX {
namespace {

// A description whose controller is a pair of switches.
struct FakeController {
    bool updateRunning = false;
    int stopWorkerCalls = 0;

    std::unique_ptr<UpdaterDescription> makeDescription() {
        UpdaterTexts texts;
        texts.title = "HARMOVA VI2 FIRMWARE UPDATER";
        UpdaterCallbacks callbacks;
        callbacks.findDevice = [] { return false; };
        callbacks.getDeviceInfo = [](NHL2::USBDeviceInfo&, std::string&, std::string& newest, bool&) {
            newest = "0.5.9";
        };
        callbacks.isUpdateRunning = [this] { return updateRunning; };
        callbacks.stopWorker = [this] { ++stopWorkerCalls; };
        return std::make_unique<UpdaterDescription>(std::move(texts), std::move(callbacks),
                                                    [](std::string&) { return false; });
    }
};

class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer)
        : previous_(GP::setMessageHandler([this, answer](const GP::MessageBoxRequest& request) {
              requests.push_back(request);
              return answer;
          })) {}
    ~MessageBoxRecorder() { GP::setMessageHandler(previous_); }

    std::vector<GP::MessageBoxRequest> requests;

private:
    GP::MessageHandler previous_;
};

struct tQuitCase {
    const char* name;
    bool updateRunning;
    int userAnswer;
    UIA::Answer expectedAnswer;
    std::size_t expectedQuestions;
    int expectedStopWorkerCalls;
};

TEST(FirmwareUpdaterAppTest, QuitRequestAsksOnlyWhileAnUpdateRuns) {
    const tQuitCase cases[] = {
        {"idle", false, GP::kResultYes, UIA::kAllowed, 0, 0},
        {"running, No", true, GP::kResultNo, UIA::kVetoed, 1, 0},
        {"running, Yes", true, GP::kResultYes, UIA::kAllowed, 1, 1},
    };
    for (const tQuitCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeController controller;
        controller.updateRunning = c.updateRunning;
        const auto description = controller.makeDescription();
        FirmwareUpdaterApp application(description.get());
        MessageBoxRecorder boxes(c.userAnswer);

        UIA::Answer answer = UIA::kAllowed;
        application.sendEvent(UIA::EventId::kQuitRequest, &answer);

        EXPECT_EQ(answer, c.expectedAnswer);
        ASSERT_EQ(boxes.requests.size(), c.expectedQuestions);
        EXPECT_EQ(controller.stopWorkerCalls, c.expectedStopWorkerCalls);
        if (c.expectedQuestions == 0)
            continue;
        const GP::MessageBoxRequest& question = boxes.requests.front();
        EXPECT_EQ(question.text, FirmwareUpdaterApp::kQuitQuestion);
        EXPECT_EQ(question.text.size(), 119u);
        EXPECT_EQ(question.buttons, GP::kButtonsYesNo);
        EXPECT_EQ(question.defaultButton, GP::kResultNo);
        EXPECT_EQ(question.icon, GP::kIconQuestion);
    }
}

// Without the framework's window classes no window can be made: the start
// fails (and says so) instead of running a loop with no window.
TEST(FirmwareUpdaterAppTest, AWindowThatCannotBeMadeFailsTheStart) {
    FakeController controller;
    const auto description = controller.makeDescription();
    FirmwareUpdaterApp application(description.get());

    EXPECT_FALSE(application.initialize());
    EXPECT_TRUE(application.hasStartFailed());
    EXPECT_EQ(application.getMainWindow(), nullptr);
    application.shutdown(0);
}

}  // namespace
}  // namespace QX
