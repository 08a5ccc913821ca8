#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "FakeController.h"
#include "updater/app/UpdateWizardMainWidget.h"

namespace QX::Testing {

inline UpdaterTexts makeWizardTexts(std::string title = "HARMOVA VI2 FIRMWARE UPDATER") {
    UpdaterTexts texts;
    texts.productTag = "HVXMK2";
    texts.seriesTag = "HVXMK2";
    texts.updaterName = "HVX VI2 Firmware Updater";
    texts.title = std::move(title);
    texts.rightsLine = "\xC2\xA9 2026";
    texts.version = "1.4.0 (R205)";
    texts.aboutLines = {"Firmware: the firmware team", "Updater: the software team", "Design: the design team",
                        "Testing: the test team", ""};
    return texts;
}

// A wizard whose pause and quit request are recorded instead of carried out.
struct WizardUnderTest {
    std::shared_ptr<UpdateWizardMainWidget> wizard;
    std::vector<std::chrono::milliseconds> pauses;
    int quitRequests = 0;

    WizardUnderTest(const std::string& productName = "Keyboard", UpdaterTexts texts = makeWizardTexts())
        : wizard(std::make_shared<UpdateWizardMainWidget>(productName, std::move(texts))) {
        wizard->setPause([this](std::chrono::milliseconds delay) { pauses.push_back(delay); });
        wizard->setQuitRequest([this] { ++quitRequests; });
    }

    UpdateWizardMainWidget* operator->() const { return wizard.get(); }
    const UpdateWizardMainWidget::tWidgets& widgets() const { return wizard->getWidgets(); }
    std::string message() const { return widgets().messageLabel->getText(); }
};

inline std::string attribute(const NWL::Widget& widget, const char* name) {
    const std::string* value = widget.findAttribute(qx::symbol(name));
    return value ? *value : "";
}

}  // namespace QX::Testing
