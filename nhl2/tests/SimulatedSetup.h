#pragma once
#include <memory>
#include <vector>

#include "nhl2/Clock.h"
#include "nhl2/DFUDevice.h"
#include "nhl2/USBDeviceFactory.h"
#include "nhl2/USBDeviceFilter.h"
#include "nhl2/FirmwareImage.h"
#include "nhl2/simulated/SimulatedKeyboard.h"

namespace QX::NHL2::TEST {

inline USBDeviceFilter makeNormalFilter() {
    return makeKeyboardFilter(ProductMode::Normal);
}

inline USBDeviceFilter makeUpdateFilter() {
    return makeKeyboardFilter(ProductMode::Update);
}

// A valid image of our format with a simple payload.
inline std::vector<std::uint8_t> makeImage(std::uint16_t productId, std::uint16_t version, std::size_t payloadSize) {
    std::vector<std::uint8_t> payload(payloadSize);
    for (std::size_t i = 0; i < payloadSize; ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    return buildFirmwareImage(productId, version, payload);
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
