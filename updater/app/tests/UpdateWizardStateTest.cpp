#include <gtest/gtest.h>

#include <cctype>
#include <future>
#include <thread>

#include "WizardTestSupport.h"
#include "nwl/core/Pane.h"

namespace QX {
namespace {

using State = UpdateWizardMainWidget::eState;
using Switch = UpdateWizardMainWidget::SwitchResult;
using Testing::FakeController;
using Testing::WizardUnderTest;

// One walk through the state machine: the controller's answers, then the
// wizard's start and the actions in order (see Testing::act).
struct tWalk {
    const char* name;
    void (*configure)(FakeController&);
    const char* actions;
    State state;
    const char* messagePart;
    int startCalls;
    int pauses;
    int enterCalls = -1;  // switches asked for; -1: not checked
};

// A failed row names itself instead of dumping its bytes.
void PrintTo(const tWalk& walk, std::ostream* out) { *out << walk.name; }

const tWalk kWalks[] = {
    {"absent at start", [](FakeController& c) { c.findAnswers = {false}; }, "", State::eLookingForDevice,
     "Please connect", 0, 0},
    {"rescan finds nothing", [](FakeController& c) { c.findAnswers = {false}; }, "SS", State::eLookingForDevice,
     "click RESCAN", 0, 0},
    {"rescan finds it", [](FakeController& c) { c.findAnswers = {false, true}; }, "S", State::eUpdateAvailable,
     "click UPDATE", 0, 0},
    {"no newer firmware", [](FakeController& c) { c.updateAvailable = false; }, "", State::eNoNewerFirmware,
     "no newer firmware", 0, 0},
    {"no newer firmware is final", [](FakeController& c) { c.updateAvailable = false; }, "SS",
     State::eNoNewerFirmware, "no newer firmware", 0, 0},
    {"update available", [](FakeController&) {}, "", State::eUpdateAvailable, "A firmware update is available", 0,
     0},
    {"update mode refused", [](FakeController& c) { c.enterAnswers = {Switch::Failed}; }, "S",
     State::eUpdateModeFailed, "power-cycle it and click RETRY", 0, 0},
    {"retry: not ready, not found",
     [](FakeController& c) { c.enterAnswers = {Switch::Failed}; c.findAnswers = {true, false}; }, "SS",
     State::eUpdateModeFailed, "power-cycle it and click RETRY", 0, 0},
    {"retry: found, refused again", [](FakeController& c) { c.enterAnswers = {Switch::Failed}; }, "SS",
     State::eUpdateModeFailed, "power-cycle it and click RETRY", 0, 0, 2},
    {"retry: ready", [](FakeController& c) { c.enterAnswers = {Switch::Failed}; c.readyAnswers = {Switch::Switched}; },
     "SS", State::eUpdating, "Please stand by", 1, 0},
    {"retry after a failed switch finds another keyboard",
     [](FakeController& c) { c.enterAnswers = {Switch::Failed}; c.laterKeyboards = {{"HVX49-000002", "0.5.8"}}; },
     "SS", State::eUpdateAvailable, "click UPDATE", 0, 0, 1},
    // Only the keyboard the page showed, with the same model, serial number
    // and revision, is switched at once after a failed switch.
    {"retry after a failed switch: our serial, another revision",
     [](FakeController& c) { c.enterAnswers = {Switch::Failed}; c.laterKeyboards = {{"HVX49-000001", "0.5.7"}}; },
     "SS", State::eUpdateAvailable, "click UPDATE", 0, 0, 1},
    {"retry after a failed switch: our serial, another model",
     [](FakeController& c) {
         c.enterAnswers = {Switch::Failed};
         c.laterKeyboards = {{"HVX49-000001", "0.5.8", true, 0x0A20}};
     },
     "SS", State::eUpdateAvailable, "click UPDATE", 0, 0, 1},
    // One in update mode that the controller cannot prove to be ours (isDeviceReady
    // fails) gets its page, installed "-"; only UPDATE writes it.
    {"retry after a failed switch: a stranger in update mode",
     [](FakeController& c) {
         c.enterAnswers = {Switch::Failed};
         c.laterKeyboards = {{"HVX49-000009", "-", true, 0x0A1D}};
     },
     "SS", State::eUpdateAvailable, "click UPDATE", 0, 0, 1},
    {"not told apart", [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart}; }, "S",
     State::eUpdateModeFailed, "disconnect the other keyboards and click RETRY", 0, 0},
    {"retry: still not told apart",
     [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart}; c.readyAnswers = {Switch::CannotBeToldApart}; },
     "SS", State::eUpdateModeFailed, "disconnect the other keyboards and click RETRY", 0, 0, 1},
    {"retry: still not told apart, the one found is newer",
     [](FakeController& c) {
         c.enterAnswers = {Switch::CannotBeToldApart};
         c.readyAnswers = {Switch::CannotBeToldApart};
         c.laterKeyboards = {{"HVX49-000001", "0.6.0", false}};
     },
     "SS", State::eUpdateModeFailed, "disconnect the other keyboards and click RETRY", 0, 0, 1},
    {"retry after the refusal: a newer keyboard stays",
     [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart}; c.laterKeyboards = {{"HVX49-000001", "0.6.0", false}}; },
     "SS", State::eNoNewerFirmware, "no newer firmware", 0, 0, 1},
    {"retry after the refusal: an older keyboard stays",
     [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart}; c.laterKeyboards = {{"", "0.5.7"}}; },
     "SS", State::eUpdateAvailable, "click UPDATE", 0, 0, 1},
    {"retry: told apart, confirmed, but the switch fails",
     [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart, Switch::Failed}; }, "SSS",
     State::eUpdateModeFailed, "power-cycle it and click RETRY", 0, 0, 2},
    {"retry: fails, then not told apart",
     [](FakeController& c) { c.enterAnswers = {Switch::Failed, Switch::CannotBeToldApart}; }, "SS",
     State::eUpdateModeFailed, "disconnect the other keyboards", 0, 0},
    {"retry: the others unplugged",
     [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart, Switch::Switched}; }, "SS",
     State::eUpdateAvailable, "click UPDATE", 0, 0, 1},
    {"retry: the others unplugged, then UPDATE",
     [](FakeController& c) { c.enterAnswers = {Switch::CannotBeToldApart, Switch::Switched}; }, "SSS",
     State::eUpdating, "Please stand by", 1, 0, 2},
    {"worker cannot start", [](FakeController& c) { c.startAnswer = false; }, "S", State::eUpdateFailed,
     "(error -1)", 1, 0},
    {"worker still running", [](FakeController&) {}, "STTT", State::eUpdating, "Please stand by", 1, 0},
    {"a step while updating starts nothing", [](FakeController&) {}, "SSS", State::eUpdating, "Please stand by",
     1, 0},
    {"worker found no device", [](FakeController&) {}, "S-1T", State::eUpdateFailed, "(error -1)", 1, 0},
    {"download failed", [](FakeController&) {}, "ST-2T", State::eUpdateFailed, "(error -2)", 1, 0},
    {"updated and back at once", [](FakeController& c) { c.installed = "0.5.9"; }, "ST1T", State::eUpdateDone,
     "successfully updated", 1, 0},
    {"updated and back after the pause",
     [](FakeController& c) { c.installed = "0.5.9"; c.findAnswers = {true, false, true}; }, "S1T",
     State::eUpdateDone, "successfully updated", 1, 1},
    {"updated but never back", [](FakeController& c) { c.findAnswers = {true, false}; }, "S1T",
     State::eUpdateFailed, "(error 1)", 1, 1},
    {"updated but old revision", [](FakeController&) {}, "S1T", State::eUpdateFailed, "(error 1)", 1, 0},
    {"final states ignore steps and ticks", [](FakeController& c) { c.installed = "0.5.9"; }, "S1TSST",
     State::eUpdateDone, "successfully updated", 1, 0},
};

class WizardWalk : public ::testing::TestWithParam<tWalk> {};

TEST_P(WizardWalk, EndsInItsStateAndPage) {
    const tWalk& walk = GetParam();
    FakeController controller;
    walk.configure(controller);
    WizardUnderTest wizard;
    wizard->start(controller.callbacks());
    Testing::act(*wizard.wizard, controller, walk.actions);
    EXPECT_EQ(wizard->getState(), walk.state);
    EXPECT_NE(wizard.message().find(walk.messagePart), std::string::npos) << wizard.message();
    EXPECT_EQ(controller.startCalls, walk.startCalls);
    if (walk.enterCalls >= 0) {
        EXPECT_EQ(controller.enterCalls, walk.enterCalls);
    }
    // The labels show the keyboard read last, not the first one.
    if (controller.found) {
        EXPECT_EQ(wizard.widgets().installedValue->getText(), controller.installed);
        EXPECT_EQ(wizard.widgets().serialNumberValue->getText(), controller.serialNumber);
    }
    ASSERT_EQ(int(wizard.pauses.size()), walk.pauses);
    for (const auto pause : wizard.pauses) EXPECT_EQ(pause, std::chrono::milliseconds(5000));
}

INSTANTIATE_TEST_SUITE_P(Transitions, WizardWalk, ::testing::ValuesIn(kWalks),
                         [](const ::testing::TestParamInfo<tWalk>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(UpdateWizard, ResultCellIsOneAndTheSameForEveryUpdate) {
    FakeController controller;
    WizardUnderTest wizard;
    const auto cell = wizard->getResultCell();
    ASSERT_TRUE(cell);
    wizard->start(controller.callbacks());
    wizard->step();
    EXPECT_EQ(controller.cell, cell);
    EXPECT_EQ(cell->load(), 0);
}

// The worker outlives the wizard when the user quits during an update: its
// last write goes to the cell it shares, not to the wizard.
TEST(UpdateWizard, WorkerMayWriteAfterTheWizardIsGone) {
    FakeController controller;
    std::thread worker;
    std::promise<void> wizardGone;
    {
        WizardUnderTest wizard;
        auto callbacks = controller.callbacks();
        callbacks.startUpdate = [&](const UpdaterCallbacks::tResultCell& result) {
            worker = std::thread([result, gone = wizardGone.get_future()]() mutable {
                gone.wait();
                result->store(HVXMK2UpdaterUpgradeLogic::kResultSuccess);
            });
            return true;
        };
        wizard->start(callbacks);
        wizard->step();
        ASSERT_EQ(wizard->getState(), State::eUpdating);
    }
    wizardGone.set_value();
    worker.join();
}

// In the window the pane runs the wizard's tick, one-shot: while the worker
// runs each tick must arm the next, or its outcome is never read and the
// stand-by page stays for good.
TEST(UpdateWizard, InAPaneTheTickPollsUntilTheWorkerEnds) {
    FakeController controller;
    controller.installed = "0.5.9";
    WizardUnderTest wizard;
    wizard->start(controller.callbacks());
    NWL::Pane pane;
    wizard.showIn(pane);
    wizard->step();
    ASSERT_EQ(wizard->getState(), State::eUpdating);

    const NWL::Widget* const wizardWidget = wizard.wizard.get();
    std::vector<std::string> wheelSteps;
    for (int pass = 1; pass <= 6; ++pass) {
        ASSERT_EQ(pane.getWidgetTimerCount(wizardWidget), 1) << "before pass " << pass;
        pane.dispatchTimers();
        wheelSteps.push_back(Testing::attribute(*wizard.widgets().wheel, "step"));
    }
    EXPECT_EQ(wheelSteps, (std::vector<std::string>{"", "S1", "S1", "S2", "S2", "S3"}));
    EXPECT_EQ(wizard->getState(), State::eUpdating);

    controller.cell->store(HVXMK2UpdaterUpgradeLogic::kResultSuccess);
    pane.dispatchTimers();
    EXPECT_EQ(wizard->getState(), State::eUpdateDone);
    EXPECT_EQ(pane.getWidgetTimerCount(wizardWidget), 0);
}

TEST(UpdateWizard, DevicePictureFollowsTheModelOfTheProductId) {
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0x0A10, "HVX49m2"}, {0x0A1D, "HVX49m2"}, {0x0A20, "HVX61m2"},
        {0x0A3D, "HVX88m2"}, {0x0B10, "HVXMK2"},  // no model of ours: unchanged
    };
    for (const auto& [productId, expected] : cases) {
        FakeController controller;
        controller.productId = productId;
        WizardUnderTest wizard;
        wizard->start(controller.callbacks());
        EXPECT_EQ(Testing::attribute(*wizard.widgets().deviceImage, "product"), expected) << productId;
    }
}

TEST(UpdateWizard, QuitIsIgnoredOnlyWhileUpdating) {
    FakeController controller;
    WizardUnderTest wizard;
    wizard->start(controller.callbacks());
    wizard->onQuitClicked();
    EXPECT_EQ(wizard.quitRequests, 1);
    wizard->step();
    ASSERT_EQ(wizard->getState(), State::eUpdating);
    wizard->onQuitClicked();
    EXPECT_EQ(wizard.quitRequests, 1);
}

}  // namespace
}  // namespace QX
