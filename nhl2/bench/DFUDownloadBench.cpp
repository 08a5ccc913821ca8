// The download engine's own cost: a 256 KiB image through a simulated
// keyboard that is never busy, so that only the host side is measured.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "nhl2/Clock.h"
#include "nhl2/DFUDevice.h"
#include "nhl2/USBDeviceFactory.h"
#include "nhl2/simulated/FirmwareImageFormat.h"
#include "nhl2/simulated/SimulatedKeyboard.h"

namespace {

using namespace QX::NHL2;

constexpr std::size_t kImageSize = 256 * 1024;

std::vector<std::uint8_t> makeImage() {
    std::vector<std::uint8_t> payload(kImageSize - kFirmwareImageHeaderSize);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 13 + 5);
    std::vector<std::uint8_t> image(kFirmwareImageMagic.begin(), kFirmwareImageMagic.end());
    const std::uint32_t fields[] = {kHVX49MK2 | (0x0059u << 16), static_cast<std::uint32_t>(payload.size()),
                                    computeCrc32(payload)};
    for (const std::uint32_t field : fields)
        for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
    image.insert(image.end(), payload.begin(), payload.end());
    return image;
}

USBDeviceFilter makeFilter(USBDeviceKind kind, std::uint16_t productId) {
    USBDeviceFilter filter;
    filter.kind = kind;
    filter.interfaceClass = kind == USBDeviceKind::HID ? kHidInterfaceClass : kDriverInterfaceClass;
    filter.vendorId = kHarmovaVendorId;
    filter.productIds = {productId};
    return filter;
}

void downloadThroughZeroLatencyKeyboard(benchmark::State& state) {
    tKeyboardDescription description;
    description.transferSize = static_cast<std::uint16_t>(state.range(0));
    description.busyMs = 0;
    description.manifestMs = 0;
    description.reenumerationMs = 0;
    const auto clock = std::make_shared<VirtualClock>();
    const auto driver = std::make_shared<SimulatedDriver>(description, clock);
    driver->getKeyboard(0).setRequestLogging(false);
    DFUDevice device(driver, clock);
    const USBDeviceFactory factory(driver);
    if (!factory.openFirstMatching(makeFilter(USBDeviceKind::HID, kHVX49MK2), device) ||
        !device.switchToUpdateMode() ||
        !factory.openFirstMatching(
            makeFilter(USBDeviceKind::DriverInterface, ProductDataBase::getUpdateModeProductId(kHVX49MK2)), device)) {
        state.SkipWithError("the simulated keyboard did not reach update mode");
        return;
    }
    const auto image = makeImage();
    const std::size_t blocks = (image.size() + description.transferSize - 1) / description.transferSize;
    for (auto _ : state) {
        if (device.download(image) != DFUDevice::DownloadResult::Success) {
            state.SkipWithError("download failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
    state.counters["time_per_block"] = benchmark::Counter(static_cast<double>(state.iterations() * blocks),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(downloadThroughZeroLatencyKeyboard)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
