// A device whose every answer comes from the fuzzer: the download must end
// (no hang, no crash) and may report success only when the device really
// walked through the protocol.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "nhl2/Clock.h"
#include "nhl2/DFUDevice.h"
#include "nhl2/DFUStatus.h"
#include "nhl2/DriverRequests.h"

using namespace QX::NHL2;

namespace {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t take() { return empty() ? 0 : data_[at_++]; }
    std::span<const std::uint8_t> take(std::size_t count) {
        count = std::min(count, size_ - std::min(at_, size_));
        const auto bytes = std::span(data_ + at_, count);
        at_ += count;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Replies: one control byte (fail, time out, or how many bytes follow).
class FuzzConnection final : public IUSBConnection {
public:
    explicit FuzzConnection(std::shared_ptr<FuzzInput> input) : input_(std::move(input)) {}
    bool readHidAttributes(tHidAttributes&) override { return false; }
    bool readHidString(HidString, std::u16string&) override { return false; }
    tIoResult deviceIoControl(std::uint32_t code, std::span<const std::uint8_t>, std::span<std::uint8_t> output,
                              std::uint32_t) override {
        if (code == kIoctlDfuDownload) ++downloadRequests;
        requests.push_back({code, std::nullopt});
        if (input_->empty()) return {IoStatus::Failed, 0};
        const std::uint8_t control = input_->take();
        if (control == 0xFF) return {IoStatus::Failed, 0};
        if (control == 0xFE) return {IoStatus::TimedOut, 0};
        const auto bytes = input_->take(std::min<std::size_t>(control, output.size()));
        std::copy(bytes.begin(), bytes.end(), output.begin());
        if (code == kIoctlDfuGetStatus) requests.back().status = parseDFUStatus(output.first(bytes.size()));
        return {IoStatus::Success, static_cast<std::uint32_t>(bytes.size())};
    }

    struct Request {
        std::uint32_t code;
        std::optional<tDFUStatus> status;  // the valid status reply, if any
    };
    int downloadRequests = 0;
    std::vector<Request> requests;

private:
    std::shared_ptr<FuzzInput> input_;
};

class FuzzDriver final : public IUSBDriver {
public:
    explicit FuzzDriver(std::shared_ptr<FuzzInput> input) : input_(std::move(input)) {}
    std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter&) override { return {u"x"}; }
    std::unique_ptr<IUSBConnection> openPath(const std::u16string&) override {
        auto connection = std::make_unique<FuzzConnection>(input_);
        lastConnection = connection.get();
        return connection;
    }

    const FuzzConnection* lastConnection = nullptr;

private:
    std::shared_ptr<FuzzInput> input_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto input = std::make_shared<FuzzInput>(data, size);
    const auto clock = std::make_shared<VirtualClock>();
    const auto driver = std::make_shared<FuzzDriver>(input);
    DFUDevice device(driver, clock);
    if (!device.open({USBDeviceKind::DriverInterface, u"x"})) return 0;
    std::vector<std::uint8_t> image(3000, 0x5A);
    const auto result = device.download(image);
    if (result != DFUDevice::DownloadResult::Success) return 0;
    // Success means every block went out, and then the empty one that ends
    // the download.
    const std::size_t transferSize = device.getTransferSize();
    const std::size_t blocks = (image.size() + transferSize - 1) / transferSize;
    if (driver->lastConnection->downloadRequests != static_cast<int>(blocks) + 1) __builtin_trap();
    // ...and each block, the last empty one too, was followed by status
    // polls that all answered "no error" outside the error state.
    bool downloading = false;
    int pollsSinceBlock = 0;
    for (const auto& request : driver->lastConnection->requests) {
        if (request.code == kIoctlDfuDownload) {
            if (downloading && pollsSinceBlock == 0) __builtin_trap();
            downloading = true;
            pollsSinceBlock = 0;
        } else if (request.code == kIoctlDfuGetStatus && downloading) {
            if (!request.status || !request.status->isOk() || request.status->getState() == DFUState::Error)
                __builtin_trap();
            ++pollsSinceBlock;
        }
    }
    if (pollsSinceBlock == 0) __builtin_trap();
    return 0;
}
