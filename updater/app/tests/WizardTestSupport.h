#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "nwl/core/Pane.h"
#include "nwl/style/ErrorHandlers.h"
#include "updater/app/UpdateWizardMainWidget.h"
#include "updater/app/UpdaterDescription.h"

namespace QX::NWL {
class Canvas;
}

namespace QX::Testing {

// The main window's client size.
inline constexpr std::int32_t kClientWidth = 627;
inline constexpr std::int32_t kClientHeight = 335;

inline std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}


// Answers the wizard's controller callbacks from fields a test sets, and
// counts the calls; no device, no thread.
struct FakeController {
    using SwitchResult = UpdaterCallbacks::SwitchResult;

    // What getDeviceInfo tells of a keyboard found after the first one.
    struct tKeyboard {
        std::string serialNumber;
        std::string installed;
        bool updateAvailable = true;
        std::uint16_t productId = 0x0A10;
    };

    // Answers of findDevice, enterUpdateMode and isDeviceReady in order; the last one repeats.
    std::deque<bool> findAnswers{true};
    std::deque<SwitchResult> enterAnswers{SwitchResult::Switched};
    std::deque<SwitchResult> readyAnswers{SwitchResult::Failed};
    bool startAnswer = true;
    std::uint16_t productId = 0x0A10;
    std::string serialNumber = "HVX49-000001";
    std::string installed = "0.5.8";
    std::string newest = "0.5.9";
    bool updateAvailable = true;
    // Each search that finds a keyboard after the first one finds the next
    // of these, when there is one.
    std::deque<tKeyboard> laterKeyboards;
    bool found = false;

    int findCalls = 0;
    int enterCalls = 0;
    int startCalls = 0;
    UpdaterCallbacks::tResultCell cell;

    UpdaterCallbacks callbacks() {
        UpdaterCallbacks c;
        c.findDevice = [this] {
            ++findCalls;
            const bool answer = next(findAnswers);
            if (answer && std::exchange(found, true) && !laterKeyboards.empty()) {
                productId = laterKeyboards.front().productId;
                serialNumber = laterKeyboards.front().serialNumber;
                installed = laterKeyboards.front().installed;
                updateAvailable = laterKeyboards.front().updateAvailable;
                laterKeyboards.pop_front();
            }
            return answer;
        };
        c.enterUpdateMode = [this] {
            ++enterCalls;
            return next(enterAnswers);
        };
        c.isDeviceReady = [this] { return next(readyAnswers); };
        c.startUpdate = [this](const UpdaterCallbacks::tResultCell& result) {
            ++startCalls;
            cell = result;
            if (!startAnswer) result->store(-1);
            return startAnswer;
        };
        c.getDeviceInfo = [this](NHL2::USBDeviceInfo& info, std::string& installedText, std::string& newestText,
                                 bool& available) {
            newestText = newest;
            info.productId = productId;
            info.serialNumber = serialNumber;
            installedText = installed;
            available = updateAvailable;
        };
        return c;
    }

    template <typename T>
    static T next(std::deque<T>& answers) {
        const T answer = answers.front();
        if (answers.size() > 1) answers.pop_front();
        return answer;
    }
};

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

    // Makes the wizard the root of a pane of the main window's client size.
    void showIn(NWL::Pane& pane) const {
        pane.setSize(kClientWidth, kClientHeight);
        pane.setRootWidget(wizard, "FirmwareUpdaterMainWidget");
    }

    UpdateWizardMainWidget* operator->() const { return wizard.get(); }
    const UpdateWizardMainWidget::tWidgets& widgets() const { return wizard->getWidgets(); }
    std::string message() const { return widgets().messageLabel->getText(); }
};

inline std::string attribute(const NWL::Widget& widget, const char* name) {
    const std::string* value = widget.findAttribute(qx::symbol(name));
    return value ? *value : "";
}

// Carries out a walk's actions after start: 'S' a step (a button press), 'T'
// a tick, and a digit or '-' followed by one the worker's outcome stored
// into the result cell.
void act(UpdateWizardMainWidget& wizard, FakeController& controller, const char* actions);

// Collects the widget library's reports while it lives.
class ReportCollector {
public:
    ReportCollector() : handler_(NWL::addErrorHandler([this](const std::string& m) { reports.push_back(m); })) {}
    ~ReportCollector() { NWL::removeErrorHandler(handler_); }
    ReportCollector(const ReportCollector&) = delete;
    ReportCollector& operator=(const ReportCollector&) = delete;

    std::vector<std::string> reports;
    std::string first() const { return reports.empty() ? "" : reports.front(); }

private:
    std::size_t handler_;
};

// Writes the canvas's pixels (0xAARRGGBB, straight alpha) as an RGBA PNG;
// false when the file cannot be written.
bool writeCanvasPng(const NWL::Canvas& canvas, std::int32_t width, std::int32_t height, const std::string& path);

// Registers, for the native build (which embeds nothing), the fonts, the
// pictures and the style sheet the program build embeds.
void registerProgramResources();

}  // namespace QX::Testing
