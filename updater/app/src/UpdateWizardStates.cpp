// The wizard's state machine: a step per action, a tick while the update runs.
#include "gp/Trace.h"
#include "nhl2/ProductDataBase.h"
#include "updater/app/UpdateWizardMainWidget.h"

namespace QX {

namespace {

constexpr const char* kTraceTag = "UpdateWizardMainWidget";

// The device picture of a model, by its product id without the mode bits.
const char* findProductPicture(std::uint16_t productId) {
    switch (productId & NHL2::kModelMask) {
    case NHL2::kHVX49MK2:
        return "HVX49m2";
    case NHL2::kHVX61MK2:
        return "HVX61m2";
    case NHL2::kHVX88MK2:
        return "HVX88m2";
    default:
        return nullptr;
    }
}

}  // namespace

void UpdateWizardMainWidget::start(const UpdaterCallbacks& callbacks) {
    callbacks_.findDevice = callbacks.findDevice;
    callbacks_.enterUpdateMode = callbacks.enterUpdateMode;
    callbacks_.isDeviceReady = callbacks.isDeviceReady;
    callbacks_.startUpdate = callbacks.startUpdate;
    callbacks_.getDeviceInfo = callbacks.getDeviceInfo;
    showConnectPage();
    setState(eLookingForDevice);
    step();
}

void UpdateWizardMainWidget::setState(eState state) {
    if (state != state_) GP::traceFormat(kTraceTag, "state %d -> %d\n", int(state_), int(state));
    state_ = state;
}

void UpdateWizardMainWidget::tracePage(const char* page) const {
    GP::traceFormat(kTraceTag, "page: %s\n", page);
}

void UpdateWizardMainWidget::step() {
    GP::traceFormat(kTraceTag, "step in state %d\n", int(state_));
    switch (state_) {
    case eLookingForDevice:
        probe();
        break;
    case eUpdateAvailable:
    case eUpdateModeFailed:
        trySwitch();
        break;
    default:
        // Final states wait for the user to quit; a step while updating (its
        // button is hidden by then) must not start a second worker.
        break;
    }
}

void UpdateWizardMainWidget::probe() {
    if (!callbacks_.findDevice()) return;
    NHL2::USBDeviceInfo info;
    std::string installed, newest;
    bool updateAvailable = false;
    callbacks_.getDeviceInfo(info, installed, newest, updateAvailable);
    setRevisionLabels(installed, newest, info.serialNumber);
    if (const char* picture = findProductPicture(info.productId)) widgets_.deviceImage->setAttribute("product", picture);
    if (updateAvailable) {
        showUpdateAvailablePage();
        setState(eUpdateAvailable);
    } else {
        showNoUpdatePage();
        setState(eNoNewerFirmware);
    }
}

// UPDATE, and RETRY after a switch that failed or was refused. RETRY takes a
// keyboard that came back in update mode late, or looks for the keyboard and
// switches it again.
void UpdateWizardMainWidget::trySwitch() {
    if (state_ == eUpdateModeFailed) {
        if (callbacks_.isDeviceReady()) {
            enterUpdatingState();
            return;
        }
        if (!callbacks_.findDevice()) return;
    }
    const SwitchResult switched = callbacks_.enterUpdateMode();
    if (switched == SwitchResult::Switched) {
        enterUpdatingState();
        return;
    }
    // The page stays on a RETRY that fails the same way; a new reason gets its own message.
    if (state_ == eUpdateModeFailed && switched == switchFailure_) return;
    showSwitchFailure(switched);
    setState(eUpdateModeFailed);
}

void UpdateWizardMainWidget::showSwitchFailure(SwitchResult failure) {
    switchFailure_ = failure;
    if (failure == SwitchResult::CannotBeToldApart) {
        showKeyboardNotToldApartPage();
    } else {
        showUpdateModeFailedPage();
    }
}

void UpdateWizardMainWidget::enterUpdatingState() {
    showUpdatingPage();
    setState(eUpdating);
    startWorker();
}

void UpdateWizardMainWidget::startWorker() {
    result_->store(HVXMK2UpdaterUpgradeLogic::kResultRunning);
    if (!callbacks_.startUpdate(result_)) {
        showErrorPage();
        setState(eUpdateFailed);
        return;
    }
    setTimerInterval(1);
}

void UpdateWizardMainWidget::onTimer() {
    if (state_ != eUpdating) return;
    const std::int32_t result = result_->load();
    if (result == HVXMK2UpdaterUpgradeLogic::kResultRunning) {
        widgets_.wheel->onTimer();
        setTimerInterval(1);
    } else if (result < 0) {
        showErrorPage();
        setState(eUpdateFailed);
    } else {
        checkUpdatedDevice();
    }
}

// The worker reported success: the keyboard must come back with the carried
// revision.
void UpdateWizardMainWidget::checkUpdatedDevice() {
    bool found = callbacks_.findDevice();
    if (!found) {
        pause_(kSecondSearchDelay);
        found = callbacks_.findDevice();
    }
    if (!found) {
        showErrorPage();
        setState(eUpdateFailed);
        return;
    }
    NHL2::USBDeviceInfo info;
    std::string installed, newest;
    bool updateAvailable = false;
    callbacks_.getDeviceInfo(info, installed, newest, updateAvailable);
    setRevisionLabels(installed, newest, info.serialNumber);
    if (installed == newest) {
        showSuccessPage();
        setState(eUpdateDone);
    } else {
        showErrorPage();
        setState(eUpdateFailed);
    }
}

}  // namespace QX
