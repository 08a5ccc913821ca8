#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "nhl2/DFUStatus.h"
#include "nhl2/USBDescriptors.h"
#include "nhl2/USBDevice.h"

namespace QX::NHL2 {

// A USB device that speaks DFU through our driver's requests. In update mode
// its functional descriptor gives the transfer size.
class DFUDevice : public USBDevice {
public:
    // How long one block (or the manifestation) may keep the device busy; a
    // device's pause between status polls is honoured up to this.
    static constexpr std::uint32_t kMaxBusyPhaseMs = 60000;
    // The whole download may take one such busy phase (an erase, say) plus
    // this much for every block.
    static constexpr std::uint32_t kDownloadBudgetPerBlockMs = 20000;
    static constexpr std::uint16_t kDetachTimeoutMs = 1000;

    enum class DownloadResult {
        Success,
        NotReady,        // not open in update mode, transfer size 0, or no download capability
        RequestFailed,   // a request failed or timed out
        BadStatusReply,  // short reply or unknown state
        DeviceError,     // non-zero status or the error state
        UnexpectedState,
        PollTimeoutTooLong,
        BusyTooLong,
        DownloadTooLong,  // the budget of the whole download is spent
    };

    using USBDevice::USBDevice;

    // 0 when the device is not open in update mode or its functional
    // descriptor is missing or says 0.
    std::uint16_t getTransferSize() const { return functional_.transferSize; }

    bool switchToUpdateMode();
    DownloadResult download(std::span<const std::uint8_t> image);
    // Leaves an unfinished transfer with the one request the device's state
    // takes: CLRSTATUS in dfuERROR, ABORT where DFU allows it. Sends nothing
    // to a busy device or one that waits for its reset (false then).
    bool abort();
    bool sendClosingRequest();

    bool getStatus(tDFUStatus& status);
    bool clearStatus();

protected:
    bool onOpened() override;
    void onClosed() override;

private:
    bool sendRequest(std::uint32_t code, std::span<const std::uint8_t> input = {});
    DownloadResult ensureIdle();
    DownloadResult sendBlock(std::uint16_t blockNumber, std::span<const std::uint8_t> data);
    // Polls the status until the device has taken the last block (or, with
    // `manifestation`, has finished manifesting), waiting while it is busy.
    DownloadResult pollUntilSettled(bool manifestation, std::uint64_t downloadDeadline);
    DownloadResult waitWhileBusy(std::uint64_t busySince, std::uint64_t downloadDeadline,
                                 const tDFUStatus& status);

    tDFUFunctionalDescriptor functional_;
    // The device must not be asked for its status before this time.
    std::uint64_t nextStatusAt_ = 0;
};

std::string_view getDownloadResultName(DFUDevice::DownloadResult result);

}  // namespace QX::NHL2
