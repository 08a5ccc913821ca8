#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "engine/HVXMK2UpdaterUpgradeLogic.h"
#include "nhl2/USBDeviceInfo.h"

namespace QX {

namespace UIA {
class StandaloneWindow;
}

// The texts that tell the generic user interface which product it updates.
struct UpdaterTexts {
    std::string productName;
    std::string productTag;
    std::string seriesTag;
    std::string updaterName;
    std::string title;
    std::string rightsLine;
    std::string version;  // replaced by the program's file version when it has one
    std::array<std::string, 5> aboutLines;
    std::string singleInstanceId;
};

// How the user interface reaches the update controller. Calling an empty
// callback throws std::bad_function_call.
struct UpdaterCallbacks {
    using tResultCell = HVXMK2UpdaterUpgradeLogic::tResultCell;
    using SwitchResult = HVXMK2UpdaterUpgradeLogic::SwitchResult;

    std::function<bool()> findDevice;
    // Switched, or why not: the wizard tells the user what to do about it.
    std::function<SwitchResult()> enterUpdateMode;
    // Whether the keyboard is in update mode and may be updated (Switched),
    // or why not.
    std::function<SwitchResult()> isDeviceReady;
    // The controller and its worker share the result cell with the caller, so
    // the worker's last write never reaches memory that is gone.
    std::function<bool(const tResultCell&)> startUpdate;
    std::function<void(NHL2::USBDeviceInfo&, std::string& installed, std::string& newest, bool& updateAvailable)>
        getDeviceInfo;
    std::function<bool()> isUpdateRunning;
    std::function<void(UIA::StandaloneWindow*)> setMainWindow;
    std::function<void()> stopWorker;
};

// The record the application module builds once: the product's texts and the
// controller's callbacks. Readers use the fields directly.
class UpdaterDescription : public UpdaterTexts, public UpdaterCallbacks {
public:
    // Answers the program's file version; false (with "?.??.???" appended to
    // its argument) when it has none.
    using tVersionReader = std::function<bool(std::string&)>;

    UpdaterDescription(UpdaterTexts texts, UpdaterCallbacks callbacks,
                       const tVersionReader& readVersion = readProgramVersion);

    static bool readProgramVersion(std::string& out);

    std::string windowCaption;  // the main window's caption: the updater name
};

// This program's texts, as its description carries them (before the version
// is read from the program file).
UpdaterTexts makeHVXMK2UpdaterTexts();

// The description of this program: its texts and the callbacks bound to
// `controller`, which must outlive the description.
std::unique_ptr<UpdaterDescription> makeHVXMK2UpdaterDescription(HVXMK2UpdaterUpgradeLogic& controller);

}  // namespace QX
