// Every page laid out by the style sheet in a pane of the main window's size
// and painted onto a canvas: the pictures go to the build tree, to be looked
// at and kept as the program's reference screens.
#include <gtest/gtest.h>

#include <functional>
#include <string_view>
#include <string>
#include <vector>

#include "WizardTestSupport.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Pane.h"

namespace QX {
namespace {

using Testing::FakeController;
using Testing::WizardUnderTest;

using Testing::kClientHeight;
using Testing::kClientWidth;

struct tScreen {
    const char* name;
    void (*configure)(FakeController&);
    // After start: steps, ticks and the worker's outcome as in the state walks.
    const char* actions;
    bool about;
};

const tScreen kScreens[] = {
    {"connect", [](FakeController& c) { c.findAnswers = {false}; }, "", false},
    {"no_update", [](FakeController& c) { c.updateAvailable = false; c.installed = "0.5.9"; }, "", false},
    {"update_available", [](FakeController&) {}, "", false},
    {"update_mode_failed", [](FakeController& c) { c.enterAnswers = {FakeController::SwitchResult::Failed}; }, "S",
     false},
    {"not_told_apart",
     [](FakeController& c) { c.enterAnswers = {FakeController::SwitchResult::CannotBeToldApart}; }, "S", false},
    {"updating", [](FakeController&) {}, "STTTTT", false},
    {"error", [](FakeController&) {}, "S-2T", false},
    {"success", [](FakeController& c) { c.installed = "0.5.9"; }, "S1T", false},
    {"keyboard_61", [](FakeController& c) { c.productId = 0x0A20; c.serialNumber = "HVX61-000123"; }, "", false},
    {"keyboard_88", [](FakeController& c) { c.productId = 0x0A30; c.serialNumber = "HVX88-004711"; }, "", false},
    {"about", [](FakeController& c) { c.findAnswers = {false}; }, "", true},
};

// Records every text a panel draws, and those its width would shorten.
struct tDrawnTexts {
    int count = 0;
    std::vector<std::string> shortened;
};

void watchShortening(NWL::Widget& widget, tDrawnTexts& texts) {
    for (const auto& child : widget.getChildren()) watchShortening(*child, texts);
    NWL::PanelDrawer* drawer = nullptr;
    if (auto* label = dynamic_cast<NWL::Label*>(&widget)) drawer = &label->getPanelDrawer();
    if (auto* button = dynamic_cast<NWL::Button*>(&widget)) drawer = &button->getPanelDrawer();
    if (auto* lines = dynamic_cast<NWL::MultilineLabel*>(&widget)) drawer = &lines->getPanelDrawer();
    if (!drawer) return;
    drawer->setTextShortener([&widget, drawer, &texts](std::string_view text, std::int32_t width) {
        ++texts.count;
        const UIA::Font* font = drawer->getStateFont(widget, 1.0f);
        if (font && font->getTextWidth(text) > width) {
            texts.shortened.push_back(std::string(widget.getName().c_str()) + ": " + std::string(text));
        }
        return std::string(text);
    });
}

class WizardRender : public ::testing::TestWithParam<tScreen> {
protected:
    // As the program loads it: through the resource manager, its fonts
    // opened, and nothing reported.
    static void SetUpTestSuite() {
        Testing::ReportCollector collector;
        EXPECT_TRUE(NWL::getManagerContainer()->loadStylesheet("FirmwareUpdaterStyles.txt"));
        EXPECT_TRUE(collector.reports.empty()) << collector.first();
    }
};

TEST_P(WizardRender, PageFitsTheWindowWithEveryTextWhole) {
    const tScreen& screen = GetParam();
    FakeController controller;
    screen.configure(controller);
    // The program's own texts: its long product name makes the longest lines.
    const UpdaterTexts programTexts = makeHVXMK2UpdaterTexts();
    WizardUnderTest wizard(programTexts.productName, programTexts);
    Testing::ReportCollector collector;
    wizard->start(controller.callbacks());

    NWL::Pane pane;
    wizard.showIn(pane);
    GP::Region damage;
    pane.getDirtyRegion(damage);
    Testing::act(*wizard.wizard, controller, screen.actions);
    if (screen.about) wizard->showAbout();
    pane.getDirtyRegion(damage);

    tDrawnTexts texts;
    watchShortening(*wizard.wizard, texts);
    NWL::BackgroundDrawingCanvas canvas;
    canvas.setSize(kClientWidth, kClientHeight);
    pane.render(canvas, GP::Region(), 3);
    EXPECT_TRUE(collector.reports.empty()) << collector.first();

    const std::string path = std::string(QX_TEST_RENDER_DIR) + "/" + screen.name + ".png";
    EXPECT_TRUE(Testing::writeCanvasPng(canvas, kClientWidth, kClientHeight, path)) << path;

    const auto& w = wizard.widgets();
    EXPECT_EQ(wizard->getSize(), (NWL::Size{628, 336}));
    const auto& message = *w.messageLabel;
    EXPECT_GE(message.getPosition().y, 0);
    EXPECT_LE(message.getPosition().y + message.getHeight(), w.infoPanel->getHeight()) << wizard.message();
    if (screen.about) {
        // The bar of the version and rights lines has a height of its own,
        // a contributor line's, so that both lines show.
        for (const auto* line : {w.aboutVersion.get(), w.aboutRights.get()}) {
            EXPECT_EQ(line->getVisibleRect().bottom - line->getVisibleRect().top, 16) << line->getText();
        }
    }
    EXPECT_GE(texts.count, 7);  // headline, three values, three captions at least
    EXPECT_TRUE(texts.shortened.empty()) << texts.shortened.front();
}

// On the stand-by page the wheel takes the status icon's place: the message
// stays where the update page had it, and the wheel is centred on the icon's
// row, so nothing jumps when the update starts.
TEST(WizardLayout, TheWheelTakesTheIconsPlaceWithoutMovingTheMessage) {
    ASSERT_TRUE(NWL::getManagerContainer()->loadStylesheet("FirmwareUpdaterStyles.txt"));
    FakeController controller;
    WizardUnderTest wizard;
    wizard->start(controller.callbacks());
    NWL::Pane pane;
    wizard.showIn(pane);
    GP::Region damage;
    pane.getDirtyRegion(damage);
    const auto& w = wizard.widgets();
    const GP::Rect icon = w.iconLabel->getAbsoluteRect();
    const GP::Rect messageBefore = w.messageLabel->getAbsoluteRect();
    ASSERT_GT(icon.right, icon.left);

    wizard->step();
    ASSERT_EQ(wizard->getState(), UpdateWizardMainWidget::eUpdating);
    pane.getDirtyRegion(damage);
    const GP::Rect wheel = w.wheel->getAbsoluteRect();
    const GP::Rect messageAfter = w.messageLabel->getAbsoluteRect();
    EXPECT_EQ(messageAfter.left, messageBefore.left);
    EXPECT_EQ(wheel.left, icon.left);
    EXPECT_EQ(wheel.top + wheel.bottom, icon.top + icon.bottom);
}

INSTANTIATE_TEST_SUITE_P(Screens, WizardRender, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<tScreen>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace QX
