#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "nhl2/DFUStatus.h"
#include "nhl2/USBDriver.h"
#include "nhl2/simulated/KeyboardDescription.h"

namespace QX::NHL2 {

class IClock;

struct tLoggedRequest {
    std::uint32_t code = 0;
    std::vector<std::uint8_t> input;
    IoStatus status = IoStatus::Failed;
    bool cancelled = false;  // timed out; the host cancelled it
};

// An in-process keyboard: a HID device in normal mode, a DFU device behind
// our driver in update mode. It leaves and comes back as a real one does,
// on the given clock, and keeps a log of every driver request.
class SimulatedKeyboard {
public:
    // `index` counts the keyboards of its description from 0; `number` counts
    // all keyboards of the driver from 1 (device paths and the trace).
    SimulatedKeyboard(const tKeyboardDescription& description, int index, int number,
                      std::shared_ptr<IClock> clock);

    enum class Phase { Absent, Normal, Update };
    Phase getPhase();
    std::u16string getDevicePath();
    // Changes whenever the keyboard leaves or comes back; a handle opened
    // before answers nothing afterwards.
    std::uint32_t getGeneration();

    bool readHidAttributes(std::uint32_t generation, tHidAttributes& attributes);
    bool readHidString(std::uint32_t generation, HidString which, std::u16string& text);
    tIoResult handleRequest(std::uint32_t generation, std::uint32_t code, std::span<const std::uint8_t> input,
                            std::span<std::uint8_t> output, std::uint32_t timeoutMs);

    std::vector<tLoggedRequest> getRequestLog();
    // On by default; long runs (benchmarks) switch it off.
    void setRequestLogging(bool enabled);
    // The bytes of the last download, block by block as received.
    std::vector<std::uint8_t> getReceivedImage();
    std::uint16_t getReleaseNumber();
    // Status requests that came before the device's poll time-out had passed.
    int getPollViolations();

private:
    struct tReply {
        IoStatus status = IoStatus::Failed;
        std::uint32_t bytes = 0;
        bool hang = false;
    };

    void updatePhase();
    void leave(Phase next, std::optional<std::uint32_t> afterMs);
    std::u16string getString(HidString which) const;
    std::uint16_t getProductId() const;

    tReply dispatch(std::uint32_t code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    tReply handleSwitch();
    tReply handleDownload(std::span<const std::uint8_t> input);
    tReply handleGetStatus(std::span<std::uint8_t> output);
    tReply handleDownloadStatus(std::span<std::uint8_t> output);
    tReply handleManifestStatus(std::span<std::uint8_t> output);
    tReply handleClose();
    tReply handleDescriptor(std::uint32_t code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    tReply replyStatus(std::span<std::uint8_t> output, std::uint32_t pollTimeoutMs = 0);
    tReply stall(DFUStatusCode code);
    void manifestOnItsOwn();
    void finishManifestation();

    const tKeyboardDescription description_;
    const int index_;
    const int number_;
    const std::shared_ptr<IClock> clock_;

    std::mutex mutex_;
    Phase phase_ = Phase::Absent;
    Phase nextPhase_ = Phase::Absent;
    std::optional<std::uint64_t> comeBackAt_;
    std::optional<std::uint64_t> unplugAt_;
    std::uint32_t generation_ = 0;
    std::uint16_t release_;

    DFUState state_ = DFUState::Idle;
    DFUStatusCode status_ = DFUStatusCode::Ok;
    int nextBlock_ = 0;
    std::uint64_t busyUntil_ = 0;
    std::uint64_t pollAllowedAt_ = 0;
    std::vector<std::uint8_t> received_;
    std::optional<std::uint16_t> manifestedVersion_;
    int pollViolations_ = 0;
    bool logging_ = true;
    std::vector<tLoggedRequest> log_;
};

// The driver of simulated keyboards: enumerates and opens them. The
// keyboards of several descriptions follow each other in their order.
class SimulatedDriver final : public IUSBDriver {
public:
    SimulatedDriver(const tKeyboardDescription& description, std::shared_ptr<IClock> clock);
    SimulatedDriver(const std::vector<tKeyboardDescription>& descriptions, std::shared_ptr<IClock> clock);

    std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter& filter) override;
    std::unique_ptr<IUSBConnection> openPath(const std::u16string& devicePath) override;

    SimulatedKeyboard& getKeyboard(std::size_t index) { return *keyboards_.at(index); }

private:
    std::vector<std::u16string> extraPaths_;
    std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards_;
};

}  // namespace QX::NHL2
