#pragma once
#include <string>

namespace QX::NHL2 {

// How a device is reached: as a HID interface, or as an interface of our own
// kernel driver, which answers descriptor requests itself.
enum class USBDeviceKind { HID, DriverInterface };

// The platform's identity of one enumerated device: its device-interface path.
struct USBDeviceOSHandle {
    USBDeviceKind kind = USBDeviceKind::HID;
    std::u16string devicePath;
};

}  // namespace QX::NHL2
