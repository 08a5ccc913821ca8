#include <gtest/gtest.h>

#include "WizardTestSupport.h"

namespace QX {
namespace {

using Testing::attribute;
using Testing::FakeController;
using Testing::WizardUnderTest;

// What a page shows; an empty installed state or focus means the page leaves
// it as the connect page set it.
struct tPage {
    const char* name;
    void (UpdateWizardMainWidget::*show)();
    const char* messageStart;
    const char* background;
    const char* icon;
    const char* actionText;  // null: hidden
    const char* quitText;    // null: hidden
    const char* installedState;
    bool iconShown;
    bool spinning;
    const char* focus;  // "action", "quit"
    bool veilShown;
};

const tPage kPages[] = {
    {"connect", &UpdateWizardMainWidget::showConnectPage, "Please connect your Keyboard and click RESCAN.", "info",
     "error", "RESCAN", "QUIT", "", true, false, "action", true},
    {"no update", &UpdateWizardMainWidget::showNoUpdatePage,
     "Currently there is no newer firmware for your Keyboard.", "ok", "ok", nullptr, "QUIT", "success", true, false,
     "quit", false},
    {"update mode failed", &UpdateWizardMainWidget::showUpdateModeFailedPage,
     "Your Keyboard failed to boot into firmware update mode and could not be properly updated. To boot your "
     "Keyboard into",
     "error", "error", "RETRY", "QUIT", "neutral", true, false, "action", true},
    {"not told apart", &UpdateWizardMainWidget::showKeyboardNotToldApartPage,
     "More than one keyboard is connected, and your Keyboard cannot be told apart from the other ones. To update "
     "your Keyboard, please disconnect the other keyboards and click RETRY.",
     "error", "error", "RETRY", "QUIT", "neutral", true, false, "action", true},
    {"update available", &UpdateWizardMainWidget::showUpdateAvailablePage,
     "A firmware update is available for your Keyboard. To update the firmware now, click UPDATE.", "info", "error",
     "UPDATE", "QUIT", "fail", true, false, "action", false},
    {"error", &UpdateWizardMainWidget::showErrorPage,
     "An error occurred while updating your Keyboard (error 0). Please disconnect the Keyboard, unpower it and quit "
     "the HVX VI2 Firmware Updater. Then reconnect the Keyboard, restart HVX VI2 Firmware Updater and",
     "error", "error", nullptr, "QUIT", "", true, false, "quit", true},
    {"success", &UpdateWizardMainWidget::showSuccessPage, "The firmware of your Keyboard was successfully updated.",
     "ok", "ok", nullptr, "FINISH", "success", true, false, "quit", true},
    {"updating", &UpdateWizardMainWidget::showUpdatingPage,
     "Please stand by while your Keyboard is being updated and do not disconnect it from USB.", "info", "error",
     nullptr, nullptr, "neutral", false, true, "action", true},
};

class WizardPage : public ::testing::TestWithParam<tPage> {};

TEST_P(WizardPage, ShowsItsTextsLooksAndButtons) {
    const tPage& page = GetParam();
    FakeController controller;
    controller.findAnswers = {false};
    WizardUnderTest wizard;
    wizard->start(controller.callbacks());
    ((*wizard.wizard).*page.show)();

    const auto& w = wizard.widgets();
    EXPECT_EQ(wizard.message().rfind(page.messageStart, 0), 0u) << wizard.message();
    EXPECT_EQ(attribute(*w.infoPanel, "background"), page.background);
    EXPECT_EQ(attribute(*w.iconLabel, "icon"), page.icon);
    EXPECT_EQ(w.actionButton->isVisible(), page.actionText != nullptr);
    EXPECT_EQ(w.actionButton->getText(), page.actionText ? page.actionText : "<disabled>");
    EXPECT_EQ(w.quitButton->isVisible(), page.quitText != nullptr);
    if (page.quitText) {
        EXPECT_EQ(w.quitButton->getText(), page.quitText);
    }
    EXPECT_EQ(attribute(*w.installedValue, "state"), page.installedState);
    EXPECT_EQ(w.iconLabel->isVisible(), page.iconShown);
    EXPECT_EQ(w.wheel->isVisible(), page.spinning);
    EXPECT_EQ(w.wheel->isSpinning(), page.spinning);
    const bool actionFocused = std::string(page.focus) == "action";
    EXPECT_EQ(attribute(*w.actionButton, "hasFocus"), actionFocused ? "true" : "false");
    EXPECT_EQ(attribute(*w.quitButton, "hasFocus"), actionFocused ? "false" : "true");
    EXPECT_EQ(w.deviceImageOverlay->isVisible(), page.veilShown);
}

INSTANTIATE_TEST_SUITE_P(Pages, WizardPage, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<tPage>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (c == ' ') c = '_';
                             }
                             return name;
                         });

TEST(UpdateWizardPages, ConnectPageShowsDashesAndTheCarriedRevision) {
    FakeController controller;
    controller.findAnswers = {false};
    WizardUnderTest wizard;
    wizard->start(controller.callbacks());
    EXPECT_EQ(wizard.widgets().installedValue->getText(), "-");
    EXPECT_EQ(wizard.widgets().serialNumberValue->getText(), "-");
    EXPECT_EQ(wizard.widgets().newestValue->getText(), "0.5.9");
}

TEST(UpdateWizardPages, AboutOverlayIsCentredAndClosesOnClick) {
    WizardUnderTest wizard;
    wizard->setSize(628, 336);
    wizard->showAbout();
    const auto& overlay = *wizard.widgets().overlayButton;
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.getSize(), (NWL::Size{628, 336}));
    EXPECT_EQ(overlay.getMargins(), (NWL::Margins{89, 31, 89, 31}));
    EXPECT_EQ(wizard.widgets().aboutVersion->getText(), "HVX VI2 Firmware Updater 1.4.0 (R205)");
    wizard->hideAbout();
    EXPECT_FALSE(overlay.isVisible());
}

TEST(UpdateWizardPages, OnlyALongTitleTakesTheSmallerAboutTitle) {
    for (const auto& [title, expected] : {std::pair<std::string, const char*>{std::string(36, 'T'), ""},
                                          {std::string(37, 'T'), "large"}}) {
        UpdateWizardMainWidget wizard("Keyboard", Testing::makeWizardTexts(title));
        EXPECT_EQ(attribute(*wizard.getWidgets().aboutTitle, "titleLength"), expected) << title.size();
    }
}

// '+' starts the wheel, '-' stops it, each 'T' is a tick.
TEST(SpinningProgressWheel, MovesOnEverySecondTickWhileSpinning) {
    const std::pair<std::string, const char*> cases[] = {
        {"+T", ""}, {"+TT", "S1"}, {"+TTT", "S1"}, {"+" + std::string(22, 'T'), "S11"},
        {"+" + std::string(24, 'T'), "S0"}, {"TTTTT+", ""}, {"TTTTT+TT", "S1"},
        {"+TTTTTT-T+T", "S3"}, {"+TTTTTT-T+TT", "S4"},  // a second spin goes on where the first stopped
    };
    for (const auto& [actions, step] : cases) {
        auto wheel = std::make_shared<SpinningProgressWheel>();
        for (const char action : actions) {
            if (action == 'T') wheel->onTimer();
            else wheel->setSpinning(action == '+');
        }
        EXPECT_EQ(attribute(*wheel, "step"), step) << actions;
    }
}

}  // namespace
}  // namespace QX
