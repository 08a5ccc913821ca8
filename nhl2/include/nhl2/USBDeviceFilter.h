#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "nhl2/ProductDataBase.h"
#include "nhl2/USBDeviceOSHandle.h"

namespace QX::NHL2 {

// The device-interface class of HID devices.
inline constexpr const char* kHidInterfaceClass = "{4D1E55B2-F16F-11CF-88CB-001111000030}";
inline constexpr const char* kHidClassName = "HIDClass";
// The device-interface class that our kernel driver registers for keyboards in
// update mode, and its setup class name.
inline constexpr const char* kDriverInterfaceClass = "{6B3E2A91-5C7D-4F08-B1A4-93D2E0C5F716}";
inline constexpr const char* kDriverClassName = "HarmovaUSB";

// What a device must be to be reported: a kind with its interface class and
// setup class name (empty: any), a vendor id and the accepted product ids.
struct USBDeviceFilter {
    USBDeviceKind kind = USBDeviceKind::HID;
    std::string interfaceClass;
    std::string className;
    std::uint16_t vendorId = 0;
    std::vector<std::uint16_t> productIds;

    bool matches(std::uint16_t vendor, std::uint16_t productId) const;
};

// Our keyboards in one mode: HID devices in normal mode, our driver's
// interface in update mode, with every product id of that mode.
USBDeviceFilter makeKeyboardFilter(ProductMode mode);

}  // namespace QX::NHL2
