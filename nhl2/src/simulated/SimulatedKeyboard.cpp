#include "nhl2/simulated/SimulatedKeyboard.h"

#include <algorithm>
#include <array>

#include "gp/Trace.h"
#include "nhl2/Clock.h"
#include "nhl2/DriverRequests.h"
#include "nhl2/USBDescriptors.h"
#include "nhl2/USBDeviceFilter.h"
#include "nhl2/FirmwareImage.h"

namespace QX::NHL2 {
namespace {

constexpr std::uint32_t kMaxPollTimeoutOnWire = 0xFFFFFF;

std::u16string widenAscii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::string toHex4(std::uint16_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 15];
    return text;
}

std::u16string lowerAscii(std::string_view text) {
    std::u16string out;
    for (const char c : text) out.push_back(static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    return out;
}

std::size_t copyOut(std::span<const std::uint8_t> bytes, std::span<std::uint8_t> output) {
    const std::size_t count = std::min(bytes.size(), output.size());
    std::copy_n(bytes.begin(), count, output.begin());
    return count;
}

// What a request asks, as the trace shows it.
std::string describeRequest(std::uint32_t code, std::span<const std::uint8_t> input) {
    switch (code) {
        case kIoctlSwitchToUpdateMode: return "switch to update mode";
        case kIoctlDfuDownload: {
            if (input.size() < 2) return "DNLOAD without block number";
            const unsigned block = input[0] | (input[1] << 8);
            return "DNLOAD block " + std::to_string(block) + " length " + std::to_string(input.size() - 2);
        }
        case kIoctlDfuGetStatus: return "GETSTATUS";
        case kIoctlDfuClearStatus: return "CLRSTATUS";
        case kIoctlDfuGetState: return "GETSTATE";
        case kIoctlDfuAbort: return "ABORT";
        case kIoctlCloseUpdate: return "closing request";
        case kIoctlGetDeviceDescriptor: return "device descriptor";
        case kIoctlGetConfigurationDescriptor: return "configuration descriptor";
        case kIoctlGetStringDescriptor:
            return "string descriptor " + std::to_string(input.empty() ? 0 : input[0]);
        default: return "unknown request " + std::to_string(code);
    }
}

// The states in which a DFU device takes ABORT; elsewhere it stalls it.
bool acceptsAbort(DFUState state) {
    switch (state) {
        case DFUState::Idle:
        case DFUState::DownloadSync:
        case DFUState::DownloadIdle:
        case DFUState::ManifestSync:
        case DFUState::UploadIdle:
            return true;
        default:
            return false;
    }
}

std::string_view describeOutcome(IoStatus status, bool hang) {
    if (hang) return "no answer";
    return status == IoStatus::Success ? "ok" : "stalled";
}

}  // namespace

SimulatedKeyboard::SimulatedKeyboard(const tKeyboardDescription& description, int index, int number,
                                     std::shared_ptr<IClock> clock)
    : description_(description),
      index_(index),
      number_(number),
      clock_(std::move(clock)),
      release_(description.releaseNumber) {
    if (!description_.present) return;
    if (description_.leaveMs) unplugAt_ = clock_->getMilliseconds() + *description_.leaveMs;
    const bool inUpdateMode = index_ >= description_.keyboardCount - description_.keyboardsInUpdateMode;
    leave(inUpdateMode ? Phase::Update : Phase::Normal, description_.arrivalMs);
    updatePhase();
}

void SimulatedKeyboard::leave(Phase next, std::optional<std::uint32_t> afterMs) {
    phase_ = Phase::Absent;
    ++generation_;
    nextPhase_ = next;
    comeBackAt_.reset();
    if (afterMs) comeBackAt_ = clock_->getMilliseconds() + *afterMs;
}

void SimulatedKeyboard::updatePhase() {
    if (unplugAt_ && clock_->getMilliseconds() >= *unplugAt_) {
        unplugAt_.reset();
        leave(Phase::Absent, std::nullopt);
        if (description_.traceRequests) QX::GP::traceFormat("SimulatedKeyboard", "keyboard %d: unplugged\n", number_);
    }
    if (!comeBackAt_ || clock_->getMilliseconds() < *comeBackAt_) return;
    comeBackAt_.reset();
    phase_ = nextPhase_;
    ++generation_;
    if (phase_ == Phase::Update) {
        state_ = DFUState::Idle;
        status_ = DFUStatusCode::Ok;
        nextBlock_ = 0;
        received_.clear();
        manifestedVersion_.reset();
    }
}

SimulatedKeyboard::Phase SimulatedKeyboard::getPhase() {
    std::lock_guard lock(mutex_);
    updatePhase();
    return phase_;
}

std::uint32_t SimulatedKeyboard::getGeneration() {
    std::lock_guard lock(mutex_);
    updatePhase();
    return generation_;
}

std::uint16_t SimulatedKeyboard::getProductId() const {
    return phase_ == Phase::Update ? ProductDataBase::getUpdateModeProductId(description_.modelProductId)
                                   : description_.modelProductId;
}

std::u16string SimulatedKeyboard::getDevicePath() {
    std::lock_guard lock(mutex_);
    updatePhase();
    const std::string ids = "vid_" + toHex4(kHarmovaVendorId) + "&pid_" + toHex4(getProductId());
    const std::string instance = std::to_string(number_);
    switch (phase_) {
        case Phase::Normal:
            return widenAscii("\\\\?\\hid#" + ids + "&rev_" + toHex4(release_) + "#7&2f1c0a3b&" + instance +
                              "&0000#") + lowerAscii(kHidInterfaceClass);
        case Phase::Update:
            return widenAscii("\\\\?\\usb#" + ids + "&rev_" + toHex4(description_.updateModeRelease) + "#" +
                              description_.serialNumber + "-" + instance + "#") +
                   lowerAscii(kDriverInterfaceClass);
        case Phase::Absent:
            break;
    }
    return {};
}

std::u16string SimulatedKeyboard::getString(HidString which) const {
    using Strings = tKeyboardDescription::Strings;
    std::string serial = description_.serialNumber;
    if (index_ > 0 && !description_.sameSerial) serial += "-" + std::to_string(index_ + 1);
    const auto* record = ProductDataBase::findProduct(kHarmovaVendorId, getProductId());
    const std::string product = record ? std::string(record->name) : "Keyboard";
    switch (which) {
        case HidString::Manufacturer:
            return description_.strings == Strings::NonAscii ? u"Harmova Klänge GmbH" : u"Harmova";
        case HidString::Product:
            return widenAscii(product) + (description_.strings == Strings::NonAscii ? u" \u266B" : u"");
        case HidString::SerialNumber:
            if (description_.strings == Strings::NonAscii) return u"\u00C4\u00D6\u00DC-" + widenAscii(serial);
            if (description_.strings == Strings::InvalidUtf16)
                return widenAscii(serial) + std::u16string(1, char16_t(0xD800)) + u"!";
            return widenAscii(serial);
    }
    return {};
}

bool SimulatedKeyboard::readHidAttributes(std::uint32_t generation, tHidAttributes& attributes) {
    std::lock_guard lock(mutex_);
    updatePhase();
    if (generation != generation_ || phase_ != Phase::Normal) return false;
    attributes = {kHarmovaVendorId, getProductId(), release_};
    return true;
}

bool SimulatedKeyboard::readHidString(std::uint32_t generation, HidString which, std::u16string& text) {
    std::lock_guard lock(mutex_);
    updatePhase();
    if (generation != generation_ || phase_ != Phase::Normal) return false;
    if (description_.strings == tKeyboardDescription::Strings::Failing) return false;
    text = getString(which);
    return true;
}

tIoResult SimulatedKeyboard::handleRequest(std::uint32_t generation, std::uint32_t code,
                                           std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                                           std::uint32_t timeoutMs) {
    tReply reply;
    {
        std::lock_guard lock(mutex_);
        updatePhase();
        if (generation == generation_ && phase_ != Phase::Absent) {
            manifestOnItsOwn();
            reply = dispatch(code, input, output);
        }
        if (logging_) {
            tLoggedRequest entry{code, {input.begin(), input.end()}, reply.status, reply.hang};
            if (reply.hang) entry.status = IoStatus::TimedOut;
            log_.push_back(std::move(entry));
        }
    }
    if (description_.traceRequests) {
        QX::GP::traceFormat("SimulatedKeyboard", "keyboard %d: %s: %s\n", number_,
                            describeRequest(code, input).c_str(), describeOutcome(reply.status, reply.hang).data());
    }
    if (reply.hang) {
        // The request never completes: the host waits out its time-out and cancels.
        clock_->sleepMilliseconds(timeoutMs);
        return {IoStatus::TimedOut, 0};
    }
    return {reply.status, reply.bytes};
}

SimulatedKeyboard::tReply SimulatedKeyboard::dispatch(std::uint32_t code, std::span<const std::uint8_t> input,
                                                      std::span<std::uint8_t> output) {
    if (phase_ == Phase::Normal) return code == kIoctlSwitchToUpdateMode ? handleSwitch() : tReply{};
    switch (code) {
        case kIoctlGetDeviceDescriptor:
        case kIoctlGetConfigurationDescriptor:
        case kIoctlGetStringDescriptor:
            return handleDescriptor(code, input, output);
        case kIoctlDfuDownload:
            return handleDownload(input);
        case kIoctlDfuGetStatus:
            return handleGetStatus(output);
        case kIoctlDfuClearStatus:
            // Only dfuERROR takes it.
            if (state_ != DFUState::Error) return stall(DFUStatusCode::ErrStalledPacket);
            state_ = DFUState::Idle;
            status_ = DFUStatusCode::Ok;
            return {IoStatus::Success};
        case kIoctlDfuGetState:
            if (output.empty()) return {};
            output[0] = static_cast<std::uint8_t>(state_);
            return {IoStatus::Success, 1};
        case kIoctlDfuAbort:
            if (!acceptsAbort(state_)) return stall(DFUStatusCode::ErrStalledPacket);
            state_ = DFUState::Idle;
            status_ = DFUStatusCode::Ok;
            nextBlock_ = 0;
            received_.clear();
            return {IoStatus::Success};
        case kIoctlCloseUpdate:
            return handleClose();
        default:
            return {};
    }
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleSwitch() {
    if (description_.switchFails) return {};
    leave(Phase::Update, description_.reenumerationMs);
    return {IoStatus::Success};
}

SimulatedKeyboard::tReply SimulatedKeyboard::stall(DFUStatusCode code) {
    state_ = DFUState::Error;
    status_ = code;
    return {};
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleDownload(std::span<const std::uint8_t> input) {
    if (input.size() < 2) return stall(DFUStatusCode::ErrStalledPacket);
    const std::uint16_t blockNumber = static_cast<std::uint16_t>(input[0] | (input[1] << 8));
    const auto data = input.subspan(2);
    if (state_ == DFUState::Idle) {  // a new transfer
        nextBlock_ = 0;
        received_.clear();
    }
    if (!data.empty() && nextBlock_ == description_.removeAtBlock) {
        leave(Phase::Absent, std::nullopt);
        return {};
    }
    if (!data.empty() && nextBlock_ == description_.hangAtBlock) return {IoStatus::Failed, 0, true};
    if (state_ != DFUState::Idle && state_ != DFUState::DownloadIdle) return stall(DFUStatusCode::ErrStalledPacket);
    if (data.empty()) {
        if (state_ != DFUState::DownloadIdle) return stall(DFUStatusCode::ErrStalledPacket);
        state_ = DFUState::ManifestSync;
        return {IoStatus::Success};
    }
    if (data.size() > description_.transferSize || blockNumber != static_cast<std::uint16_t>(nextBlock_))
        return stall(DFUStatusCode::ErrStalledPacket);
    received_.insert(received_.end(), data.begin(), data.end());
    state_ = DFUState::DownloadSync;
    ++nextBlock_;
    return {IoStatus::Success};
}

SimulatedKeyboard::tReply SimulatedKeyboard::replyStatus(std::span<std::uint8_t> output, std::uint32_t pollTimeoutMs) {
    if (output.size() < kDFUStatusSize) return {};
    tDFUStatus status;
    status.status = static_cast<std::uint8_t>(status_);
    status.pollTimeoutMs = std::min(pollTimeoutMs, kMaxPollTimeoutOnWire);
    status.state = static_cast<std::uint8_t>(state_);
    writeDFUStatus(status, output.first<kDFUStatusSize>());
    return {IoStatus::Success, kDFUStatusSize};
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleGetStatus(std::span<std::uint8_t> output) {
    switch (state_) {
        case DFUState::DownloadSync:
        case DFUState::DownloadBusy:
            return handleDownloadStatus(output);
        case DFUState::ManifestSync:
        case DFUState::Manifest:
            return handleManifestStatus(output);
        case DFUState::ManifestWaitReset:
            return {};  // waits for the reset and answers nothing
        default:
            return replyStatus(output);
    }
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleDownloadStatus(std::span<std::uint8_t> output) {
    const int block = nextBlock_ - 1;
    if (block == description_.shortStatusAtBlock) {
        replyStatus(output);
        return {IoStatus::Success, 3};
    }
    if (block == description_.rejectAtBlock) {
        state_ = DFUState::Error;
        status_ = DFUStatusCode::ErrWrite;
        return replyStatus(output);
    }
    if (block == description_.errorStateAtBlock) {
        state_ = DFUState::Error;
        return replyStatus(output);
    }
    if (block == description_.errorStatusAtBlock) {
        state_ = DFUState::DownloadIdle;
        status_ = DFUStatusCode::ErrVerify;
        return replyStatus(output);
    }
    const std::uint64_t now = clock_->getMilliseconds();
    const bool busy = description_.busyMs > 0 || description_.busyForever;
    if (state_ == DFUState::DownloadSync) {
        if (!busy) {
            state_ = DFUState::DownloadIdle;
            return replyStatus(output);
        }
        state_ = DFUState::DownloadBusy;
        busyUntil_ = now + description_.busyMs;
        pollAllowedAt_ = now + description_.pollTimeoutMs;
        return replyStatus(output, description_.pollTimeoutMs);
    }
    if (now < pollAllowedAt_) {
        ++pollViolations_;
        return stall(DFUStatusCode::ErrStalledPacket);
    }
    if (description_.busyForever || now < busyUntil_) {
        pollAllowedAt_ = now + description_.pollTimeoutMs;
        return replyStatus(output, description_.pollTimeoutMs);
    }
    state_ = DFUState::DownloadIdle;
    return replyStatus(output);
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleManifestStatus(std::span<std::uint8_t> output) {
    using Fault = tKeyboardDescription::ManifestationFault;
    const std::uint64_t now = clock_->getMilliseconds();
    if (state_ == DFUState::ManifestSync) {
        if (description_.manifestationFault == Fault::Remove) {
            leave(Phase::Absent, std::nullopt);
            return {};
        }
        if (description_.manifestationFault == Fault::Hang) return {IoStatus::Failed, 0, true};
        state_ = DFUState::Manifest;
        pollAllowedAt_ = now + description_.manifestMs;
        return replyStatus(output, description_.manifestMs);
    }
    if (now < pollAllowedAt_) {
        ++pollViolations_;
        return stall(DFUStatusCode::ErrStalledPacket);
    }
    finishManifestation();
    return replyStatus(output);
}

// A device that is not manifestation tolerant is not asked again: it ends
// the manifestation when its time has passed and waits for the reset.
void SimulatedKeyboard::manifestOnItsOwn() {
    if (state_ == DFUState::Manifest && !description_.manifestationTolerant &&
        clock_->getMilliseconds() >= pollAllowedAt_)
        finishManifestation();
}

void SimulatedKeyboard::finishManifestation() {
    const auto header = verifyFirmwareImage(received_);
    if (!header || header->productId != description_.modelProductId) {
        state_ = DFUState::Error;
        status_ = DFUStatusCode::ErrFirmware;
        return;
    }
    manifestedVersion_ = header->version;
    state_ = description_.manifestationTolerant ? DFUState::Idle : DFUState::ManifestWaitReset;
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleClose() {
    using AfterClose = tKeyboardDescription::AfterClose;
    if (description_.afterClose == AfterClose::Never) {
        leave(Phase::Absent, std::nullopt);
        return {IoStatus::Success};
    }
    if (manifestedVersion_ && description_.afterClose == AfterClose::NewRevision) release_ = *manifestedVersion_;
    leave(Phase::Normal, description_.returnMs);
    return {IoStatus::Success};
}

SimulatedKeyboard::tReply SimulatedKeyboard::handleDescriptor(std::uint32_t code, std::span<const std::uint8_t> input,
                                                              std::span<std::uint8_t> output) {
    const std::uint16_t vendor = kHarmovaVendorId;
    const std::uint16_t product = getProductId();
    const std::uint16_t release = description_.updateModeRelease;
    if (code == kIoctlGetDeviceDescriptor) {
        const std::array<std::uint8_t, 18> bytes = {
            18, kDescriptorTypeDevice, 0x10, 0x01, 0, 0, 0, 64,
            std::uint8_t(vendor), std::uint8_t(vendor >> 8), std::uint8_t(product), std::uint8_t(product >> 8),
            std::uint8_t(release), std::uint8_t(release >> 8), 1, 2, 3, 1};
        return {IoStatus::Success, static_cast<std::uint32_t>(copyOut(bytes, output))};
    }
    if (code == kIoctlGetConfigurationDescriptor) {
        const std::uint16_t size = description_.transferSize;
        const std::uint8_t attributes = 0x01 | 0x08 | (description_.manifestationTolerant ? 0x04 : 0x00);
        const std::array<std::uint8_t, 27> bytes = {
            9, kDescriptorTypeConfiguration, 27, 0, 1, 1, 0, 0x80, 50,
            9, kDescriptorTypeInterface, 0, 0, 0, kInterfaceClassApplicationSpecific, kInterfaceSubclassDFU, 2, 0,
            9, kDescriptorTypeDFUFunctional, attributes, 0xE8, 0x03, std::uint8_t(size), std::uint8_t(size >> 8),
            0x10, 0x01};
        return {IoStatus::Success, static_cast<std::uint32_t>(copyOut(bytes, output))};
    }
    if (input.empty() || description_.strings == tKeyboardDescription::Strings::Failing) return {};
    std::u16string text;
    switch (input[0]) {
        case 0: text = u"\u0409"; break;  // the one language: English (US)
        case 1: text = getString(HidString::Manufacturer); break;
        case 2: text = getString(HidString::Product); break;
        case 3: text = getString(HidString::SerialNumber); break;
        default: return {};
    }
    text.resize(std::min<std::size_t>(text.size(), 126));
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(2 + 2 * text.size()), kDescriptorTypeString};
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return {IoStatus::Success, static_cast<std::uint32_t>(copyOut(bytes, output))};
}

std::vector<tLoggedRequest> SimulatedKeyboard::getRequestLog() {
    std::lock_guard lock(mutex_);
    return log_;
}

void SimulatedKeyboard::setRequestLogging(bool enabled) {
    std::lock_guard lock(mutex_);
    logging_ = enabled;
}

std::vector<std::uint8_t> SimulatedKeyboard::getReceivedImage() {
    std::lock_guard lock(mutex_);
    return received_;
}

std::uint16_t SimulatedKeyboard::getReleaseNumber() {
    std::lock_guard lock(mutex_);
    return release_;
}

int SimulatedKeyboard::getPollViolations() {
    std::lock_guard lock(mutex_);
    return pollViolations_;
}

}  // namespace QX::NHL2
