#pragma once
#include <cstdint>
#include <string>

namespace QX::NHL2 {

// What one USB device tells about itself. The strings are UTF-8.
struct USBDeviceInfo {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;  // BCD, shown as "%d.%d.%d"
    std::string manufacturer;
    std::string product;
    std::string serialNumber;
};

}  // namespace QX::NHL2
