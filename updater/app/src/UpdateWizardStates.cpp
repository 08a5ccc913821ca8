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
        switchDevice();
        break;
    case eUpdateModeFailed:
        retry();
        break;
    default:
        // Final states wait for the user to quit; a step while updating (its
        // button is hidden by then) must not start a second worker.
        break;
    }
}

bool UpdateWizardMainWidget::tDeviceReading::showsLike(const tDeviceReading& other) const {
    return info.productId == other.info.productId && info.serialNumber == other.info.serialNumber &&
           installed == other.installed;
}

void UpdateWizardMainWidget::probe() {
    if (!callbacks_.findDevice()) return;
    offerUpdate(readDevice().updateAvailable);
}

// Reads the keyboard found last and shows what it tells.
const UpdateWizardMainWidget::tDeviceReading& UpdateWizardMainWidget::readDevice() {
    shown_ = {};
    callbacks_.getDeviceInfo(shown_.info, shown_.installed, shown_.newest, shown_.updateAvailable);
    setRevisionLabels(shown_.installed, shown_.newest, shown_.info.serialNumber);
    if (const char* picture = findProductPicture(shown_.info.productId))
        widgets_.deviceImage->setAttribute("product", picture);
    return shown_;
}

void UpdateWizardMainWidget::offerUpdate(bool updateAvailable) {
    if (updateAvailable) {
        showUpdateAvailablePage();
        setState(eUpdateAvailable);
    } else {
        showNoUpdatePage();
        setState(eNoNewerFirmware);
    }
}

// UPDATE, and RETRY of the keyboard the page shows.
void UpdateWizardMainWidget::switchDevice() {
    const SwitchResult switched = callbacks_.enterUpdateMode();
    if (switched == SwitchResult::Switched) {
        enterUpdatingState();
    } else {
        showSwitchFailure(switched);
    }
}

// RETRY. After a switch that failed, the keyboard may have come back in
// update mode late; the controller takes it only when it can prove that it
// is the one the user confirmed. Otherwise the keyboard is looked for anew
// and read before anything is sent to it: the user may have unplugged the
// one the page showed and kept another, perhaps with a newer firmware, or
// one in update mode. Only the keyboard the page showed (the same model,
// serial number and revision) is switched at once, and only after a switch
// that failed; any other gets the page of its readings first.
void UpdateWizardMainWidget::retry() {
    if (switchFailure_ == SwitchResult::Failed && callbacks_.isDeviceReady() == SwitchResult::Switched) {
        enterUpdatingState();
        return;
    }
    if (!callbacks_.findDevice()) return;
    const tDeviceReading shownBefore = shown_;
    const tDeviceReading& found = readDevice();
    if (callbacks_.isDeviceReady() == SwitchResult::CannotBeToldApart) {
        showSwitchFailure(SwitchResult::CannotBeToldApart);
    } else if (found.updateAvailable && switchFailure_ == SwitchResult::Failed && found.showsLike(shownBefore)) {
        switchDevice();
    } else {
        offerUpdate(found.updateAvailable);
    }
}

void UpdateWizardMainWidget::showSwitchFailure(SwitchResult failure) {
    // The page stays on a RETRY that fails the same way; a new reason gets its own message.
    if (state_ == eUpdateModeFailed && failure == switchFailure_) return;
    switchFailure_ = failure;
    if (failure == SwitchResult::CannotBeToldApart) {
        showKeyboardNotToldApartPage();
    } else {
        showUpdateModeFailedPage();
    }
    setState(eUpdateModeFailed);
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
    const tDeviceReading& updated = readDevice();
    if (updated.installed == updated.newest) {
        showSuccessPage();
        setState(eUpdateDone);
    } else {
        showErrorPage();
        setState(eUpdateFailed);
    }
}

}  // namespace QX
