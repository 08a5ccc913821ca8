// Everything a device or a description file hands to the parsers: device
// paths, descriptors, status replies and keyboard descriptions.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "nhl2/DFUStatus.h"
#include "nhl2/DevicePath.h"
#include "nhl2/USBDescriptors.h"
#include "nhl2/FirmwareImage.h"
#include "nhl2/simulated/KeyboardDescription.h"

using namespace QX::NHL2;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t selector = data[0];
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    switch (selector % 6) {
        case 0: {
            std::u16string path;
            for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
                path.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
            const auto ids = parseDevicePath(path);
            // A path that parses names both ids somewhere in it.
            if (ids && path.size() < 8) __builtin_trap();
            break;
        }
        case 1:
            parseDeviceDescriptor(bytes);
            break;
        case 2:
            if (const auto functional = findDFUFunctionalDescriptor(bytes)) (void)functional->transferSize;
            break;
        case 3:
            if (const auto text = parseStringDescriptor(bytes); text && text->size() > 127) __builtin_trap();
            break;
        case 4:
            if (const auto status = parseDFUStatus(bytes); status && status->pollTimeoutMs > 0xFFFFFF)
                __builtin_trap();
            verifyFirmwareImage(bytes);
            break;
        case 5: {
            std::string error;
            parseKeyboardDescriptions(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                      error);
            break;
        }
    }
    return 0;
}
