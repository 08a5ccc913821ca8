#pragma once
#include <memory>
#include <vector>

#include "nhl2/Clock.h"
#include "nhl2/DFUDevice.h"
#include "nhl2/USBDeviceFactory.h"
#include "nhl2/USBDeviceFilter.h"
#include "nhl2/simulated/FirmwareImageFormat.h"
#include "nhl2/simulated/SimulatedKeyboard.h"

namespace QX::NHL2::TEST {

inline USBDeviceFilter makeFilter(USBDeviceKind kind, std::vector<std::uint16_t> productIds) {
    USBDeviceFilter filter;
    filter.kind = kind;
    filter.interfaceClass = kind == USBDeviceKind::HID ? kHidInterfaceClass : kDriverInterfaceClass;
    filter.vendorId = kHarmovaVendorId;
    filter.productIds = std::move(productIds);
    return filter;
}

inline USBDeviceFilter makeNormalFilter() {
    return makeFilter(USBDeviceKind::HID, {kHVX49MK2, kHVX61MK2, kHVX88MK2});
}

inline USBDeviceFilter makeUpdateFilter() {
    return makeFilter(USBDeviceKind::DriverInterface,
                      {ProductDataBase::getUpdateModeProductId(kHVX49MK2),
                       ProductDataBase::getUpdateModeProductId(kHVX61MK2),
                       ProductDataBase::getUpdateModeProductId(kHVX88MK2)});
}

// A valid image of our format with a simple payload.
inline std::vector<std::uint8_t> makeImage(std::uint16_t productId, std::uint16_t version, std::size_t payloadSize) {
    std::vector<std::uint8_t> payload(payloadSize);
    for (std::size_t i = 0; i < payloadSize; ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    std::vector<std::uint8_t> image(kFirmwareImageMagic.begin(), kFirmwareImageMagic.end());
    const std::uint32_t crc = computeCrc32(payload);
    const std::uint32_t size = static_cast<std::uint32_t>(payloadSize);
    for (const auto& [value, bytes] : {std::pair<std::uint32_t, int>{productId, 2}, {version, 2}, {size, 4}, {crc, 4}})
        for (int i = 0; i < bytes; ++i) image.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    image.insert(image.end(), payload.begin(), payload.end());
    return image;
}

struct SimulatedSetup {
    explicit SimulatedSetup(const tKeyboardDescription& description)
        : driver(std::make_shared<SimulatedDriver>(description, clock)) {}

    SimulatedKeyboard& keyboard() { return driver->getKeyboard(0); }

    // Opens the keyboard, switches it and attaches to it in update mode.
    bool openInUpdateMode(DFUDevice& device, std::uint32_t waitMs = 1000) {
        const USBDeviceFactory factory(driver);
        if (!factory.openFirstMatching(makeNormalFilter(), device) || !device.switchToUpdateMode()) return false;
        device.close();
        clock->advance(waitMs);
        return factory.openFirstMatching(makeUpdateFilter(), device);
    }

    std::shared_ptr<VirtualClock> clock = std::make_shared<VirtualClock>();
    std::shared_ptr<SimulatedDriver> driver;
};

}  // namespace QX::NHL2::TEST
