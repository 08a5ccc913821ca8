#include "HVXMK2UpdaterAppModule.h"

#include <exception>

#include "FirmwareUpdaterApp.h"
#include "TracingErrorHandler.h"
#include "updater/app/UpdaterDescription.h"
#include "engine/HVXMK2UpdaterUpgradeLogic.h"
#include "gp/Init.h"
#include "gp/Trace.h"
#include "nwl/core/Library.h"
#include "nwl/core/ManagerContainer.h"
#include "uia/Framework.h"

namespace QX {
namespace {

constexpr const char* kTraceTag = "HVXMK2UpdaterAppModule";
constexpr const char* kTitle = "HARMOVA VI2 FIRMWARE UPDATER";
constexpr std::uint32_t kFoundationVersion = 0x2030000;
constexpr std::uint32_t kLibraryFlags = 0xF0001;

}  // namespace

HVXMK2UpdaterAppModule::HVXMK2UpdaterAppModule() = default;
HVXMK2UpdaterAppModule::~HVXMK2UpdaterAppModule() = default;

void HVXMK2UpdaterAppModule::failStart(const char* what, const char* cause) {
    GP::traceFormat(kTraceTag, "start failed: %s: %s\n", what, cause);
    exitCode_ = kExitStartFailed;
}

// Each service that does not start ends the start: without windows the
// program would run its loop forever with nothing to show.
bool HVXMK2UpdaterAppModule::startServices() {
    try {
        GP::init(GP::fourCharCode("QHV2"), kTitle, kFoundationVersion, kLibraryFlags);
    } catch (const std::exception& error) {
        failStart("the foundation library did not start", error.what());
        return false;
    }
    // Before the widget library parses anything: its reports go to the trace.
    installTracingErrorHandler();
    if (!UIA::initializeLibraryOrThrow(UIA::kFrameworkVersion, UIA::kFrameworkFlags)) {
        failStart("the UI framework did not start", "no window classes or no display");
        return false;
    }
    NWL::init();
    if (!NWL::isInitialized()) {
        failStart("the widget library did not start", "its resource manager could not be made");
        return false;
    }
    NWL::setUseSkinFolder(true);
    return true;
}

bool HVXMK2UpdaterAppModule::init() {
    exitCode_ = kExitNormal;
    if (!startServices())
        return false;
    controller_ = std::make_unique<HVXMK2UpdaterUpgradeLogic>();
    description_ = makeHVXMK2UpdaterDescription(*controller_);
    auto application = std::make_unique<FirmwareUpdaterApp>(description_.get());
    FirmwareUpdaterApp* started = application.get();
    const bool running = startApplication(std::move(application));
    if (!running && getApplication() == started && started->hasStartFailed())
        exitCode_ = kExitStartFailed;
    return running;
}

void HVXMK2UpdaterAppModule::shutdown(bool) {
    stopApplication();
    description_.reset();
    if (controller_) {
        // The worker uses the controller and its device until its last step,
        // also after the user quit during an update.
        controller_->waitForWorker();
        controller_.reset();
    }
    NWL::exit();
    UIA::shutdownLibrary();
    GP::exit();
}

HVXMK2UpdaterAppModule& getUpdaterModule() {
    static HVXMK2UpdaterAppModule module;
    return module;
}

namespace {
// Registers the module before the entry function runs.
[[maybe_unused]] HVXMK2UpdaterAppModule& registeredModule = getUpdaterModule();
}  // namespace

}  // namespace QX
