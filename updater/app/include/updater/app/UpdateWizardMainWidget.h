#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "nwl/widgets/Bar.h"
#include "nwl/widgets/Button.h"
#include "nwl/widgets/Label.h"
#include "nwl/widgets/MultilineLabel.h"
#include "updater/app/SpinningProgressWheel.h"
#include "updater/app/UpdaterDescription.h"

namespace QX {

// The one-window wizard: it looks for the keyboard, shows its revisions and
// serial number, offers the update, runs it with a spinning wheel and shows
// the outcome. One styled widget tree whose pages change only texts,
// attributes and visibility; the style sheet maps the attributes to pictures
// and frames. It reaches the update controller only through the callbacks
// handed to start.
class UpdateWizardMainWidget : public NWL::Bar {
public:
    enum eState : std::int32_t {
        eLookingForDevice = 0,
        eNoNewerFirmware = 1,
        eUpdateAvailable = 2,
        eUpdating = 3,
        eUpdateModeFailed = 4,
        eUpdateDone = 5,
        eUpdateFailed = 6,
    };
    using tResultCell = UpdaterCallbacks::tResultCell;
    using SwitchResult = UpdaterCallbacks::SwitchResult;
    using tPause = std::function<void(std::chrono::milliseconds)>;
    using tQuitRequest = std::function<void()>;

    // How long a keyboard may take to come back after its update before the
    // wizard looks for it a second time.
    static constexpr std::chrono::milliseconds kSecondSearchDelay{5000};
    // The About card's area, centred in the overlay.
    static constexpr std::int32_t kAboutWidth = 450;
    static constexpr std::int32_t kAboutHeight = 274;

    // The texts are the description's (its instance id is not used).
    UpdateWizardMainWidget(const std::string& productName, UpdaterTexts texts);
    ~UpdateWizardMainWidget() override;

    // Keeps copies of the controller callbacks, shows the connect page and
    // takes the first step, which already looks for the keyboard.
    void start(const UpdaterCallbacks& callbacks);
    // One transition of the state machine; the action button's slot.
    void step();
    void onTimer() override;
    void onLayout() override;

    void showConnectPage();
    void showNoUpdatePage();
    void showUpdateModeFailedPage();
    // The same page when the switch was refused: the keyboard could not be
    // told from another one connected beside it.
    void showKeyboardNotToldApartPage();
    void showUpdateAvailablePage();
    void showErrorPage();
    void showSuccessPage();
    void showUpdatingPage();

    void showErrorMessage(const std::string& text);
    void showInfoMessage(const std::string& text);
    void showOkMessage(const std::string& text);
    void hideActionButton();
    // Styles one button as the page's default ("hasFocus"); null: neither.
    void setFocusedButton(NWL::Button* button);
    void resetDeviceFields();
    void setRevisionLabels(const std::string& installed, const std::string& newest, const std::string& serialNumber);
    void onQuitClicked();
    void showAbout();
    void hideAbout();

    eState getState() const { return state_; }
    const tResultCell& getResultCell() const { return result_; }

    // Tests replace the blocking pause and the application's quit request.
    void setPause(tPause pause) { pause_ = std::move(pause); }
    void setQuitRequest(tQuitRequest quit) { quitRequest_ = std::move(quit); }

    // The widgets the pages change, for the window around and for tests.
    struct tWidgets {
        std::shared_ptr<NWL::Bar> titlePanel;
        std::shared_ptr<NWL::Label> headline;
        std::shared_ptr<NWL::Button> aboutButton;
        std::shared_ptr<NWL::Bar> bodyPanel;
        std::shared_ptr<NWL::Label> newestValue;
        std::shared_ptr<NWL::Label> installedValue;
        std::shared_ptr<NWL::Label> serialNumberValue;
        std::shared_ptr<NWL::Bar> deviceImage;
        std::shared_ptr<NWL::Label> deviceImageOverlay;
        std::shared_ptr<NWL::Bar> infoPanel;
        std::shared_ptr<NWL::Label> iconLabel;
        std::shared_ptr<SpinningProgressWheel> wheel;
        std::shared_ptr<NWL::Bar> labelBar;
        std::shared_ptr<NWL::MultilineLabel> messageLabel;
        std::shared_ptr<NWL::Bar> buttonPanel;
        std::shared_ptr<NWL::Button> actionButton;
        std::shared_ptr<NWL::Button> quitButton;
        std::shared_ptr<NWL::Button> overlayButton;
        std::shared_ptr<NWL::Bar> overlayPanel;
        std::shared_ptr<NWL::Label> aboutTitle;
        std::shared_ptr<NWL::Label> aboutVersion;
        std::shared_ptr<NWL::Label> aboutRights;
        std::shared_ptr<NWL::Label> aboutFirmwareRevision;
        std::shared_ptr<NWL::Label> aboutLines[5];
    };
    const tWidgets& getWidgets() const { return widgets_; }

private:
    void buildTitlePanel();
    void buildBodyPanel();
    void buildFirmwarePanel(NWL::Bar& body);
    void buildInfoPanel(NWL::Bar& body);
    void buildButtonPanel(NWL::Bar& body);
    void buildAboutOverlay();

    // What the page shows of the keyboard found last.
    struct tDeviceReading {
        NHL2::USBDeviceInfo info;
        std::string installed;
        std::string newest;
        bool updateAvailable = false;
        // The same model, serial number and installed revision.
        bool showsLike(const tDeviceReading& other) const;
    };

    void probe();
    const tDeviceReading& readDevice();
    void offerUpdate(bool updateAvailable);
    void switchDevice();
    void retry();
    void showSwitchFailure(SwitchResult failure);
    void enterUpdatingState();
    void startWorker();
    void checkUpdatedDevice();
    // The page frame shared by every page but the stand-by one.
    void showQuitPage(NWL::Button* focused);
    void showRetryPage(const char* page, const char* text);
    void showActionButton(const char* text);
    // Traced, so that a run of the program shows its way through the pages.
    void setState(eState state);
    void tracePage(const char* page) const;

    std::string productName_;
    UpdaterTexts texts_;
    tWidgets widgets_;

    UpdaterCallbacks callbacks_;
    eState state_ = eLookingForDevice;
    // Why the RETRY page shows: its message follows the latest reason.
    SwitchResult switchFailure_ = SwitchResult::Failed;
    tDeviceReading shown_;
    // Shared with the update worker, which may write it after the wizard is gone.
    const tResultCell result_;
    tPause pause_;
    tQuitRequest quitRequest_;
};

}  // namespace QX
