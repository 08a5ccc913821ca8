// The wizard's pages: each sets the message, the buttons, the status looks
// and the wheel; the style sheet turns the attributes into pictures.
#include <boost/format.hpp>
#include <string>

#include "updater/app/UpdateWizardMainWidget.h"

namespace QX {

namespace {

const char* const kConnectText = "Please connect your %1% and click RESCAN.";
const char* const kNoUpdateText = "Currently there is no newer firmware for your %1%.";
const char* const kUpdateModeFailedText =
    "Your %1% failed to boot into firmware update mode and could not be properly updated. To boot your %1% into "
    "firmware update mode, please power-cycle it and click RETRY.";
const char* const kNotToldApartText =
    "More than one keyboard is connected, and your %1% cannot be told apart from the other ones. To update your "
    "%1%, please disconnect the other keyboards and click RETRY.";
const char* const kUpdateAvailableText =
    "A firmware update is available for your %1%. To update the firmware now, click UPDATE. To update the "
    "firmware later, click QUIT.";
const char* const kErrorText =
    "An error occurred while updating your %1% (error %2%). Please disconnect the %1%, unpower it and quit the "
    "%3%. Then reconnect the %1%, restart %3% and try performing the update again. Alternatively contact the QX "
    "Technical Support.";
const char* const kSuccessText = "The firmware of your %1% was successfully updated.";
const char* const kUpdatingText =
    "Please stand by while your %1% is being updated and do not disconnect it from USB.";

// Every argument fills one placeholder; a text must name exactly these.
template <typename... Args>
std::string formatPage(const char* text, const Args&... args) {
    boost::format format(text);
    (format % ... % args);
    return format.str();
}

}  // namespace

void UpdateWizardMainWidget::showErrorMessage(const std::string& text) {
    widgets_.infoPanel->setAttribute("background", "error");
    widgets_.iconLabel->setAttribute("icon", "error");
    widgets_.messageLabel->setText(text);
}

// Information keeps the attention icon: there is no separate one.
void UpdateWizardMainWidget::showInfoMessage(const std::string& text) {
    widgets_.infoPanel->setAttribute("background", "info");
    widgets_.iconLabel->setAttribute("icon", "error");
    widgets_.messageLabel->setText(text);
}

void UpdateWizardMainWidget::showOkMessage(const std::string& text) {
    widgets_.infoPanel->setAttribute("background", "ok");
    widgets_.iconLabel->setAttribute("icon", "ok");
    widgets_.messageLabel->setText(text);
}

void UpdateWizardMainWidget::hideActionButton() {
    widgets_.actionButton->setText("<disabled>");
    widgets_.actionButton->setVisible(false);
}

void UpdateWizardMainWidget::showActionButton(const char* text) {
    widgets_.actionButton->setText(text);
    widgets_.actionButton->setVisible(true);
}

void UpdateWizardMainWidget::setFocusedButton(NWL::Button* button) {
    for (NWL::Button* candidate : {widgets_.actionButton.get(), widgets_.quitButton.get()}) {
        candidate->setAttribute("hasFocus", candidate == button ? "true" : "false");
    }
}

void UpdateWizardMainWidget::setRevisionLabels(const std::string& installed, const std::string& newest,
                                               const std::string& serialNumber) {
    widgets_.serialNumberValue->setText(serialNumber);
    widgets_.installedValue->setText(installed);
    widgets_.newestValue->setText(newest);
}

void UpdateWizardMainWidget::resetDeviceFields() {
    NHL2::USBDeviceInfo info;
    std::string installed, newest;
    bool updateAvailable = false;
    callbacks_.getDeviceInfo(info, installed, newest, updateAvailable);
    setRevisionLabels("-", newest, "-");
}

void UpdateWizardMainWidget::showQuitPage(NWL::Button* focused) {
    widgets_.quitButton->setVisible(true);
    widgets_.iconLabel->setVisible(true);
    widgets_.wheel->setVisible(false);
    widgets_.wheel->setSpinning(false);
    setFocusedButton(focused);
}

void UpdateWizardMainWidget::showConnectPage() {
    tracePage("connect");
    resetDeviceFields();
    showInfoMessage(formatPage(kConnectText, productName_));
    showActionButton("RESCAN");
    showQuitPage(widgets_.actionButton.get());
}

void UpdateWizardMainWidget::showNoUpdatePage() {
    tracePage("no update");
    showOkMessage(formatPage(kNoUpdateText, productName_));
    hideActionButton();
    widgets_.installedValue->setAttribute("state", "success");
    widgets_.deviceImageOverlay->setVisible(false);
    showQuitPage(widgets_.quitButton.get());
}

void UpdateWizardMainWidget::showRetryPage(const char* page, const char* text) {
    tracePage(page);
    showErrorMessage(formatPage(text, productName_));
    showActionButton("RETRY");
    widgets_.installedValue->setAttribute("state", "neutral");
    showQuitPage(widgets_.actionButton.get());
}

void UpdateWizardMainWidget::showUpdateModeFailedPage() {
    showRetryPage("update mode failed", kUpdateModeFailedText);
}

void UpdateWizardMainWidget::showKeyboardNotToldApartPage() {
    showRetryPage("update mode failed (the keyboard cannot be told apart)", kNotToldApartText);
}

void UpdateWizardMainWidget::showUpdateAvailablePage() {
    tracePage("update available");
    showInfoMessage(formatPage(kUpdateAvailableText, productName_));
    showActionButton("UPDATE");
    widgets_.installedValue->setAttribute("state", "fail");
    widgets_.deviceImageOverlay->setVisible(false);
    showQuitPage(widgets_.actionButton.get());
}

void UpdateWizardMainWidget::showErrorPage() {
    tracePage(("error (error " + std::to_string(result_->load()) + ")").c_str());
    showErrorMessage(formatPage(kErrorText, productName_, result_->load(), texts_.updaterName));
    hideActionButton();
    showQuitPage(widgets_.quitButton.get());
}

void UpdateWizardMainWidget::showSuccessPage() {
    tracePage("success");
    showOkMessage(formatPage(kSuccessText, productName_));
    hideActionButton();
    widgets_.quitButton->setText("FINISH");
    widgets_.installedValue->setAttribute("state", "success");
    showQuitPage(widgets_.quitButton.get());
}

void UpdateWizardMainWidget::showUpdatingPage() {
    tracePage("updating");
    showInfoMessage(formatPage(kUpdatingText, productName_));
    hideActionButton();
    widgets_.quitButton->setVisible(false);
    widgets_.installedValue->setAttribute("state", "neutral");
    widgets_.iconLabel->setVisible(false);
    widgets_.wheel->setVisible(true);
    widgets_.wheel->setSpinning(true);
}

}  // namespace QX
