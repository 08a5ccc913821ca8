#include "nhl2/DFUDevice.h"

#include <algorithm>
#include <array>
#include <vector>

#include "gp/Trace.h"
#include "nhl2/Clock.h"
#include "nhl2/DriverRequests.h"

namespace QX::NHL2 {
namespace {

using DownloadResult = DFUDevice::DownloadResult;

constexpr const char* kTraceTag = "DFUDevice";
constexpr std::size_t kMaxConfigurationSize = 1024;

bool isFailure(DownloadResult result) {
    return result != DownloadResult::Success;
}

enum class PollStep { Settled, Wait, WaitThenSettled, Unexpected };

// After a block: the device writes it, then waits for the next one.
PollStep classifyBlockState(DFUState state) {
    switch (state) {
        case DFUState::DownloadIdle: return PollStep::Settled;
        case DFUState::DownloadSync:
        case DFUState::DownloadBusy: return PollStep::Wait;
        default: return PollStep::Unexpected;
    }
}

// After the zero-length block: the device installs the image.
PollStep classifyManifestState(DFUState state, bool manifestationTolerant) {
    switch (state) {
        case DFUState::Idle:
        case DFUState::ManifestWaitReset: return PollStep::Settled;
        case DFUState::ManifestSync: return PollStep::Wait;
        // A device that is not manifestation tolerant answers no more status
        // requests: it waits for the reset.
        case DFUState::Manifest: return manifestationTolerant ? PollStep::Wait : PollStep::WaitThenSettled;
        default: return PollStep::Unexpected;
    }
}

}  // namespace

bool DFUDevice::onOpened() {
    functional_ = {};
    nextStatusAt_ = 0;
    if (getHandle().kind != USBDeviceKind::DriverInterface) return true;
    std::array<std::uint8_t, kMaxConfigurationSize> bytes{};
    const tIoResult result = deviceIoControl(kIoctlGetConfigurationDescriptor, {}, bytes);
    if (!result.succeeded()) return true;  // no transfer size: the caller decides
    if (const auto functional = findDFUFunctionalDescriptor(std::span(bytes).first(result.bytesReturned)))
        functional_ = *functional;
    return true;
}

void DFUDevice::onClosed() {
    functional_ = {};
}

bool DFUDevice::sendRequest(std::uint32_t code, std::span<const std::uint8_t> input) {
    return deviceIoControl(code, input, {}).succeeded();
}

bool DFUDevice::switchToUpdateMode() {
    const std::array<std::uint8_t, 2> timeout = {kDetachTimeoutMs & 0xFF, kDetachTimeoutMs >> 8};
    return sendRequest(kIoctlSwitchToUpdateMode, timeout);
}

bool DFUDevice::abort() {
    const std::uint64_t now = getClock().getMilliseconds();
    if (nextStatusAt_ > now + kMaxBusyPhaseMs) return false;
    if (nextStatusAt_ > now) getClock().sleepMilliseconds(static_cast<std::uint32_t>(nextStatusAt_ - now));
    tDFUStatus status;
    if (!getStatus(status)) return false;
    switch (status.getState()) {
        case DFUState::Idle:
            return true;
        case DFUState::Error:
            return clearStatus();
        case DFUState::DownloadSync:
        case DFUState::DownloadIdle:
        case DFUState::ManifestSync:
        case DFUState::UploadIdle:
            return sendRequest(kIoctlDfuAbort);
        default:
            return false;
    }
}

bool DFUDevice::sendClosingRequest() {
    return sendRequest(kIoctlCloseUpdate);
}

bool DFUDevice::clearStatus() {
    return sendRequest(kIoctlDfuClearStatus);
}

bool DFUDevice::getStatus(tDFUStatus& status) {
    std::array<std::uint8_t, kDFUStatusSize> bytes{};
    const tIoResult result = deviceIoControl(kIoctlDfuGetStatus, {}, bytes);
    if (!result.succeeded()) return false;
    const auto parsed = parseDFUStatus(std::span(bytes).first(result.bytesReturned));
    if (!parsed) return false;
    status = *parsed;
    nextStatusAt_ = getClock().getMilliseconds() + status.pollTimeoutMs;
    return true;
}

DownloadResult DFUDevice::download(std::span<const std::uint8_t> image) {
    const std::size_t blockSize = functional_.transferSize;
    if (!isOpen() || blockSize == 0 || !functional_.canDownload() || image.empty())
        return DownloadResult::NotReady;
    if (const auto result = ensureIdle(); isFailure(result)) return result;
    const std::uint64_t blockCount = (image.size() + blockSize - 1) / blockSize;
    const std::uint64_t deadline =
        getClock().getMilliseconds() + kMaxBusyPhaseMs + blockCount * kDownloadBudgetPerBlockMs;
    std::uint16_t block = 0;
    for (std::size_t offset = 0; offset < image.size(); offset += blockSize, ++block) {
        const auto data = image.subspan(offset, std::min(blockSize, image.size() - offset));
        auto result = sendBlock(block, data);
        if (!isFailure(result)) result = pollUntilSettled(false, deadline);
        if (isFailure(result)) {
            QX::GP::traceFormat(kTraceTag, "download failed at block %u: %s\n",
                                static_cast<unsigned>(block), getDownloadResultName(result).data());
            return result;
        }
    }
    // A zero-length block ends the download and starts the manifestation.
    auto result = sendBlock(block, {});
    if (!isFailure(result)) result = pollUntilSettled(true, deadline + kMaxBusyPhaseMs);
    if (isFailure(result)) {
        QX::GP::traceFormat(kTraceTag, "manifestation failed: %s\n",
                            getDownloadResultName(result).data());
    }
    return result;
}

// A device left in the error state or in the middle of an earlier transfer
// must be brought back to dfuIDLE before block 0.
DownloadResult DFUDevice::ensureIdle() {
    tDFUStatus status;
    if (!getStatus(status)) return DownloadResult::BadStatusReply;
    if (status.getState() != DFUState::Idle) {
        if (!abort() || !getStatus(status)) return DownloadResult::RequestFailed;
    }
    return status.getState() == DFUState::Idle ? DownloadResult::Success : DownloadResult::UnexpectedState;
}

DownloadResult DFUDevice::sendBlock(std::uint16_t blockNumber, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> request(2 + data.size());
    request[0] = static_cast<std::uint8_t>(blockNumber);
    request[1] = static_cast<std::uint8_t>(blockNumber >> 8);
    std::copy(data.begin(), data.end(), request.begin() + 2);
    return sendRequest(kIoctlDfuDownload, request) ? DownloadResult::Success : DownloadResult::RequestFailed;
}

DownloadResult DFUDevice::waitWhileBusy(std::uint64_t busySince, std::uint64_t downloadDeadline,
                                        const tDFUStatus& status) {
    if (status.pollTimeoutMs > kMaxBusyPhaseMs) return DownloadResult::PollTimeoutTooLong;
    const std::uint64_t now = getClock().getMilliseconds();
    if (now - busySince + status.pollTimeoutMs > kMaxBusyPhaseMs) return DownloadResult::BusyTooLong;
    if (now + status.pollTimeoutMs > downloadDeadline) return DownloadResult::DownloadTooLong;
    // The device must not be asked again before its poll time-out; a busy
    // device that asks for no pause still gets a short one.
    getClock().sleepMilliseconds(std::max<std::uint32_t>(status.pollTimeoutMs, 1));
    return DownloadResult::Success;
}

DownloadResult DFUDevice::pollUntilSettled(bool manifestation, std::uint64_t downloadDeadline) {
    const std::uint64_t busySince = getClock().getMilliseconds();
    for (;;) {
        tDFUStatus status;
        if (!getStatus(status)) return DownloadResult::BadStatusReply;
        if (!status.isOk() || status.getState() == DFUState::Error) return DownloadResult::DeviceError;
        const PollStep step = manifestation
                                  ? classifyManifestState(status.getState(), functional_.isManifestationTolerant())
                                  : classifyBlockState(status.getState());
        if (step == PollStep::Settled) return DownloadResult::Success;
        if (step == PollStep::Unexpected) return DownloadResult::UnexpectedState;
        if (const auto result = waitWhileBusy(busySince, downloadDeadline, status); isFailure(result))
            return result;
        if (step == PollStep::WaitThenSettled) return DownloadResult::Success;
    }
}

std::string_view getDownloadResultName(DFUDevice::DownloadResult result) {
    switch (result) {
        case DownloadResult::Success: return "success";
        case DownloadResult::NotReady: return "device not ready";
        case DownloadResult::RequestFailed: return "request failed";
        case DownloadResult::BadStatusReply: return "no valid status reply";
        case DownloadResult::DeviceError: return "device reported an error";
        case DownloadResult::UnexpectedState: return "unexpected state";
        case DownloadResult::PollTimeoutTooLong: return "poll time-out out of range";
        case DownloadResult::BusyTooLong: return "device busy for too long";
        case DownloadResult::DownloadTooLong: return "download took too long";
    }
    return "unknown";
}

}  // namespace QX::NHL2
