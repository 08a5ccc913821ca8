#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ConfirmedKeyboard.h"
#include "gp/Thread.h"
#include "nhl2/Clock.h"
#include "nhl2/DFUDevice.h"
#include "nhl2/USBDeviceFilter.h"
#include "nhl2/USBDeviceInfo.h"

namespace QX {

struct FirmwareEntry;

// The update controller: finds the keyboard, tells its revision from the
// carried one, switches it into update mode and downloads the firmware on a
// worker thread.
class HVXMK2UpdaterUpgradeLogic {
public:
    // The worker's outcome: 0 while it runs, then 1 success, -1 no device (or
    // not in update mode, or no firmware for it), -2 download failed. Both
    // the worker and its caller hold the cell, so that either may go first.
    using tResultCell = std::shared_ptr<std::atomic<std::int32_t>>;
    static constexpr std::int32_t kResultRunning = 0;
    static constexpr std::int32_t kResultSuccess = 1;
    static constexpr std::int32_t kResultNoDevice = -1;
    static constexpr std::int32_t kResultDownloadFailed = -2;

    enum Mode { kModeNone = 0, kModeNormal = 1, kModeUpdate = 2 };

    // What enterUpdateMode did, and whether isDeviceReady finds the keyboard
    // ready. A keyboard that cannot be told from another one asks the user
    // for something else (disconnect the others) than a switch that failed.
    enum class SwitchResult {
        Switched,           // in update mode and attached again
        Failed,             // no keyboard open, the request failed, or it did not come back usable
        CannotBeToldApart,  // it could not be told from another keyboard, in normal or in update mode
    };

    // The keyboard needs time to start its new firmware after the update.
    static constexpr std::uint32_t kSettleTimeMs = 5000;
    static constexpr std::uint32_t kWorkerJoinTimeoutMs = 500;
    // How long a keyboard may take to come back in update mode.
    static constexpr std::uint32_t kReattachTimeoutMs = 10000;
    static constexpr std::uint32_t kReattachPollMs = 250;

    // The program's: the driver chosen by the environment, real time.
    HVXMK2UpdaterUpgradeLogic();
    HVXMK2UpdaterUpgradeLogic(std::shared_ptr<NHL2::IUSBDriver> driver, std::shared_ptr<NHL2::IClock> clock);
    // Waits for a worker that still runs.
    ~HVXMK2UpdaterUpgradeLogic();
    HVXMK2UpdaterUpgradeLogic(const HVXMK2UpdaterUpgradeLogic&) = delete;
    HVXMK2UpdaterUpgradeLogic& operator=(const HVXMK2UpdaterUpgradeLogic&) = delete;

    // Opens a keyboard in update mode (one that needs the update and does not
    // work as a keyboard meanwhile) or, when there is none, one in normal
    // mode. After an update only the updated keyboard is taken, and none when
    // another keyboard told its serial number while it was still in update
    // mode. A search that takes a keyboard forgets what getDeviceInfo read of
    // the keyboard before and what the user confirmed: its page comes next.
    bool findDevice();
    // The user's UPDATE: confirms the keyboard read last (see mayWrite) and
    // switches it into update mode, or takes it as it stands there.
    // enterUpdateMode, isDeviceReady and startUpdate refuse a keyboard whose
    // serial number another one in normal mode tells too, one in update mode
    // whose serial number another one in update mode tells (unless that one
    // was there before our switch), and one that tells no serial number
    // unless it is the only keyboard connected: the check after the update
    // could not tell it from the others.
    SwitchResult enterUpdateMode();
    // Switched when the open keyboard in update mode is the confirmed one, or
    // when the confirmed keyboard is proven back in update mode since (see
    // ConfirmedKeyboard); Failed or CannotBeToldApart (also for a keyboard in
    // normal mode) when not.
    SwitchResult isDeviceReady();
    bool startUpdate(const tResultCell& result);
    // The worker's body; stores its outcome into `result` as its last act.
    void runUpdate(const tResultCell& result);
    void getDeviceInfo(NHL2::USBDeviceInfo& info, std::string& installed, std::string& newest,
                       bool& updateAvailable);
    bool isUpdateRunning();
    // Gives the worker 500 ms; one still running stays joinable.
    void stopWorker();
    // Waits without a time limit (the module's shut-down).
    void waitForWorker();

    int getMode() const { return mode_; }
    std::uint16_t getTransferSize() const { return transferSize_; }

    static NHL2::USBDeviceFilter makeKeyboardFilter();
    static NHL2::USBDeviceFilter makeUpdateModeFilter();

private:
    enum class Attach { Attached, NotThere, Unusable, NotToldApart };
    struct tCandidate {
        NHL2::USBDeviceOSHandle handle;
        NHL2::USBDeviceInfo info;
    };
    Attach attachInUpdateMode(bool whileSwitching);
    std::vector<tCandidate> listKeyboards(const NHL2::USBDeviceFilter& filter);
    bool openCandidate(const tCandidate& candidate, const NHL2::USBDeviceFilter& filter);
    bool openKeyboard(const NHL2::USBDeviceFilter& filter);
    bool openUpdatedKeyboard(const NHL2::USBDeviceFilter& filter);
    std::size_t countKeyboards() const;
    bool hasTwin(const NHL2::USBDeviceFilter& filter, const std::string& serialNumber,
                 const std::vector<std::u16string>& pathsToldApart) const;
    bool hasTwinInNormalMode(const std::string& serialNumber, const std::u16string& ownPath) const;
    bool hasTwinInUpdateMode(const std::string& serialNumber, const std::u16string& ownPath) const;
    bool canBeToldApart() const;
    void confirmOpenKeyboard();
    bool isConfirmedKeyboardOpen() const;
    bool mayWrite() const;
    bool takeUpdateModeDevice();
    bool isUpdatedKeyboardKnown();
    void resetDevice();
    void lookForLateTwin();
    std::int32_t downloadFirmware(const FirmwareEntry& entry);
    std::int32_t performUpdate();

    std::shared_ptr<NHL2::IUSBDriver> driver_;
    std::shared_ptr<NHL2::IClock> clock_;
    NHL2::DFUDevice device_;
    std::atomic<int> mode_{kModeNone};
    std::atomic<std::uint16_t> transferSize_{0};
    QX::GP::Thread worker_;
    // Set while the worker uses the device: the calls of the UI thread then
    // leave it alone instead of closing or reading it under the worker.
    std::atomic<bool> deviceWithWorker_{false};
    // Whether the open keyboard's revision was read as older than the carried
    // one since it was found (a keyboard found in update mode needs the
    // update anyway); every close forgets it. The user's UPDATE takes it
    // into the confirmation.
    std::atomic<bool> readAsOlder_{false};
    // The keyboard the user confirmed, from UPDATE until a search takes a
    // keyboard or the update takes it.
    std::optional<ConfirmedKeyboard> confirmed_;
    // Set once an update has run: the updated keyboard, the only one the
    // later searches take.
    std::optional<tKeyboardIdentity> updated_;
    // Set when a keyboard in normal mode told the updated keyboard's serial
    // number while that one was still in update mode: the check after the
    // update could take it for the updated one, so it takes none.
    std::atomic<bool> updateUnconfirmed_{false};
};

}  // namespace QX
