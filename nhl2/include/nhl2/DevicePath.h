#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace QX::NHL2 {

// Vendor, product and revision as written in a device-interface path
// ("...vid_1234&pid_5678&rev_0100..."). HID interface paths carry no
// revision; the device's attributes give it then.
struct tDevicePathIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::optional<std::uint16_t> revision;
};

// Each key is looked for without regard to case and must be followed by four
// hexadecimal digits and then a non-digit or the end. A path without vendor
// or product, or with a malformed one, gives nothing.
std::optional<tDevicePathIds> parseDevicePath(std::u16string_view path);

}  // namespace QX::NHL2
