// The download engine's own cost: a 256 KiB image through a simulated
// keyboard that is never busy. The time spent inside the simulated keyboard
// (copying blocks, checking the image) is measured apart and left out.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "nhl2/Clock.h"
#include "nhl2/DFUDevice.h"
#include "nhl2/USBDeviceFactory.h"
#include "nhl2/FirmwareImage.h"
#include "nhl2/simulated/SimulatedKeyboard.h"

namespace {

using namespace QX::NHL2;

constexpr std::size_t kImageSize = 256 * 1024;

std::vector<std::uint8_t> makeImage() {
    std::vector<std::uint8_t> payload(kImageSize - kFirmwareImageHeaderSize);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 13 + 5);
    return buildFirmwareImage(kHVX49MK2, 0x0059, payload);
}

using Clock = std::chrono::steady_clock;

// Passes requests on and adds up how long the device side took.
class DeviceTime {
public:
    Clock::duration total{};
};

class TimedConnection final : public IUSBConnection {
public:
    TimedConnection(std::unique_ptr<IUSBConnection> inner, std::shared_ptr<DeviceTime> time)
        : inner_(std::move(inner)), time_(std::move(time)) {}
    bool readHidAttributes(tHidAttributes& attributes) override { return inner_->readHidAttributes(attributes); }
    bool readHidString(HidString which, std::u16string& text) override { return inner_->readHidString(which, text); }
    tIoResult deviceIoControl(std::uint32_t code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                              std::uint32_t timeoutMs) override {
        const auto start = Clock::now();
        const auto result = inner_->deviceIoControl(code, input, output, timeoutMs);
        time_->total += Clock::now() - start;
        return result;
    }

private:
    std::unique_ptr<IUSBConnection> inner_;
    std::shared_ptr<DeviceTime> time_;
};

class TimedDriver final : public IUSBDriver {
public:
    TimedDriver(std::shared_ptr<IUSBDriver> inner, std::shared_ptr<DeviceTime> time)
        : inner_(std::move(inner)), time_(std::move(time)) {}
    std::vector<std::u16string> enumerateInterfacePaths(const USBDeviceFilter& filter) override {
        return inner_->enumerateInterfacePaths(filter);
    }
    std::unique_ptr<IUSBConnection> openPath(const std::u16string& devicePath) override {
        auto connection = inner_->openPath(devicePath);
        return connection ? std::make_unique<TimedConnection>(std::move(connection), time_) : nullptr;
    }

private:
    std::shared_ptr<IUSBDriver> inner_;
    std::shared_ptr<DeviceTime> time_;
};

void downloadThroughZeroLatencyKeyboard(benchmark::State& state) {
    tKeyboardDescription description;
    description.transferSize = static_cast<std::uint16_t>(state.range(0));
    description.busyMs = 0;
    description.manifestMs = 0;
    description.reenumerationMs = 0;
    const auto clock = std::make_shared<VirtualClock>();
    const auto keyboards = std::make_shared<SimulatedDriver>(description, clock);
    keyboards->getKeyboard(0).setRequestLogging(false);
    const auto deviceTime = std::make_shared<DeviceTime>();
    const auto driver = std::make_shared<TimedDriver>(keyboards, deviceTime);
    DFUDevice device(driver, clock);
    const USBDeviceFactory factory(driver);
    if (!factory.openFirstMatching(makeKeyboardFilter(ProductMode::Normal), device) ||
        !device.switchToUpdateMode() || !factory.openFirstMatching(makeKeyboardFilter(ProductMode::Update), device)) {
        state.SkipWithError("the simulated keyboard did not reach update mode");
        return;
    }
    const auto image = makeImage();
    const std::size_t blocks = (image.size() + description.transferSize - 1) / description.transferSize;
    for (auto _ : state) {
        deviceTime->total = {};
        const auto start = Clock::now();
        const auto result = device.download(image);
        const auto engineTime = Clock::now() - start - deviceTime->total;
        if (result != DFUDevice::DownloadResult::Success) {
            state.SkipWithError("download failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(engineTime).count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
    state.counters["time_per_block"] = benchmark::Counter(static_cast<double>(state.iterations() * blocks),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(downloadThroughZeroLatencyKeyboard)->Arg(1024)->Arg(4096)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
