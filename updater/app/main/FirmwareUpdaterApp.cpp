#include "FirmwareUpdaterApp.h"

#include <boost/format.hpp>
#include <cstring>
#include <utility>

#include "updater/app/UpdateWizardMainWidget.h"
#include "updater/app/UpdaterDescription.h"
#include "gp/MessageBox.h"
#include "gp/Module.h"
#include "gp/Trace.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/window/Window.h"
#include "uia/EventIds.h"
#include "uia/SingleInstance.h"
#include "uia/WindowOptions.h"

namespace QX {
namespace {

constexpr const char* kTraceTag = "FirmwareUpdaterApp";
constexpr const char* kStyleSheet = "FirmwareUpdaterStyles.txt";
constexpr const char* kRootWidgetName = "FirmwareUpdaterMainWidget";
constexpr const char* kKnowledgeBaseUrl = "https://support.example.com/knowledge-base";
constexpr const char* kHomePageUrl = "https://www.example.com/";
constexpr int kIconResource = 1;

using MainWindow = NWL::Window<UIA::StandaloneWindow>;

}  // namespace

FirmwareUpdaterApp::FirmwareUpdaterApp(UpdaterDescription* description) : description_(description) {}

FirmwareUpdaterApp::~FirmwareUpdaterApp() = default;

bool FirmwareUpdaterApp::failStart(const char* cause) {
    GP::traceFormat(kTraceTag, "start failed: %s\n", cause);
    startFailed_ = true;
    return false;
}

bool FirmwareUpdaterApp::initialize() {
    setTitle(description_->title.c_str());
    if (!Application::initialize())
        return failStart("the application did not initialise");
    if (UIA::forwardToRunningInstance(description_->singleInstanceId.c_str(), 0)) {
        if (UIA::runningInstanceShowsNoWindow()) {
            tellAnotherInstanceShowsNoWindow();
        } else {
            GP::traceFormat(kTraceTag, "another instance runs; it has been brought to the front\n");
        }
        return false;
    }
    if (NWL::ManagerContainer* manager = NWL::getManagerContainer())
        manager->setStylesheet(kStyleSheet);
    std::shared_ptr<UpdateWizardMainWidget> wizard = makeWizard();
    aboutCallback_ = [wizard] { wizard->showAbout(); };
    wizard->start(*description_);
    return openMainWindow(wizard);
}

std::shared_ptr<UpdateWizardMainWidget> FirmwareUpdaterApp::makeWizard() {
    const UpdaterDescription& d = *description_;
    return std::make_shared<UpdateWizardMainWidget>(d.productName, static_cast<const UpdaterTexts&>(d));
}

bool FirmwareUpdaterApp::openMainWindow(const std::shared_ptr<UpdateWizardMainWidget>& wizard) {
    auto window = std::make_unique<MainWindow>();
    window->UIA::WindowBase::setDeleteOnDestroy(true);
    window->setRootWidget(wizard, kRootWidgetName);

    UIA::WindowOptions options;
    // Captioned with the application title: a second start finds the window
    // by that title to bring it to the front.
    options.setTitle(description_->title.c_str());
    options.rect = GP::Rect{0, 0, kClientWidth, kClientHeight};
    options.mask |= UIA::WindowOptions::kSizeGiven | UIA::WindowOptions::kClientSize;
    options.style = UIA::WindowOptions::kFixedSize;
    if (!window->UIA::StandaloneWindow::create(options)) {
        // Creation names the window the main window even when it failed.
        setMainWindow(nullptr);
        return failStart("the main window could not be created");
    }
    // From here the native window owns the object.
    MainWindow* shown = window.release();
    shown->UIA::WindowBase::setIcon(GP::getModuleHandle(), kIconResource);
    shown->UIA::WindowBase::setVisible(true);
    return true;
}

void FirmwareUpdaterApp::shutdown(int exitCode) { Application::shutdown(exitCode); }

bool FirmwareUpdaterApp::onEvent(std::uint32_t eventId, void* data) {
    if (eventId == UIA::EventId::kCommand && data && answerCommand(*static_cast<const std::uint32_t*>(data)))
        return true;
    if (eventId == UIA::EventId::kQuitRequest && data) {
        const auto isUpdateRunning = description_->isUpdateRunning;
        if (isUpdateRunning()) {
            answerQuitRequest(*static_cast<UIA::Answer*>(data));
            return true;
        }
    }
    return Application::onEvent(eventId, data);
}

// This start ends without a window of its own: the user hears why.
void FirmwareUpdaterApp::tellAnotherInstanceShowsNoWindow() {
    GP::traceFormat(kTraceTag, "another instance runs but shows no window; this start ends\n");
    const std::string text = (boost::format(kNoWindowText) % description_->updaterName).str();
    GP::showMessageBox(text.c_str(), text.size(), GP::kButtonsOk, GP::kResultNone, GP::kIconInformation, nullptr);
}

bool FirmwareUpdaterApp::answerCommand(std::uint32_t command) {
    switch (command) {
    case kCommandAbout:
        aboutCallback_();
        return true;
    case kCommandKnowledgeBase:
        openUrl(kKnowledgeBaseUrl);
        return true;
    case kCommandHomePage:
        openUrl(kHomePageUrl);
        return true;
    default:
        return false;
    }
}

void FirmwareUpdaterApp::answerQuitRequest(UIA::Answer& answer) {
    GP::traceFormat(kTraceTag, "quit requested while an update runs\n");
    const int choice = GP::showMessageBox(kQuitQuestion, std::strlen(kQuitQuestion), GP::kButtonsYesNo,
                                          GP::kResultNo, GP::kIconQuestion, nullptr);
    if (choice != GP::kResultYes) {
        GP::traceFormat(kTraceTag, "quitting refused; the update goes on\n");
        answer = UIA::kVetoed;
        return;
    }
    GP::traceFormat(kTraceTag, "quitting during the update\n");
    const auto stopWorker = description_->stopWorker;
    stopWorker();
}

}  // namespace QX
