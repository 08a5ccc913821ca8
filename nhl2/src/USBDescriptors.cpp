#include "nhl2/USBDescriptors.h"

namespace QX::NHL2 {
namespace {

std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

constexpr std::size_t kDeviceDescriptorSize = 18;
constexpr std::size_t kConfigurationHeaderSize = 9;
constexpr std::size_t kInterfaceDescriptorSize = 9;
constexpr std::size_t kDFUFunctionalSize10 = 7;
constexpr std::size_t kDFUFunctionalSize11 = 9;

}  // namespace

std::optional<tDeviceDescriptor> parseDeviceDescriptor(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kDeviceDescriptorSize) return std::nullopt;
    if (bytes[0] < kDeviceDescriptorSize || bytes[1] != kDescriptorTypeDevice) return std::nullopt;
    tDeviceDescriptor descriptor;
    descriptor.vendorId = readU16(bytes, 8);
    descriptor.productId = readU16(bytes, 10);
    descriptor.releaseNumber = readU16(bytes, 12);
    descriptor.manufacturerIndex = bytes[14];
    descriptor.productIndex = bytes[15];
    descriptor.serialNumberIndex = bytes[16];
    return descriptor;
}

std::optional<tDFUFunctionalDescriptor> findDFUFunctionalDescriptor(
    std::span<const std::uint8_t> configuration) {
    if (configuration.size() < kConfigurationHeaderSize) return std::nullopt;
    if (configuration[0] < kConfigurationHeaderSize || configuration[1] != kDescriptorTypeConfiguration)
        return std::nullopt;
    const std::size_t total = std::min<std::size_t>(readU16(configuration, 2), configuration.size());
    bool inDFUInterface = false;
    std::size_t at = 0;
    while (at + 2 <= total) {
        const std::size_t length = configuration[at];
        const std::uint8_t type = configuration[at + 1];
        if (length < 2 || length > total - at) return std::nullopt;
        const auto descriptor = configuration.subspan(at, length);
        if (type == kDescriptorTypeInterface) {
            inDFUInterface = length >= kInterfaceDescriptorSize &&
                             descriptor[5] == kInterfaceClassApplicationSpecific &&
                             descriptor[6] == kInterfaceSubclassDFU;
        } else if (type == kDescriptorTypeDFUFunctional && inDFUInterface) {
            if (length < kDFUFunctionalSize10) return std::nullopt;
            tDFUFunctionalDescriptor functional;
            functional.attributes = descriptor[2];
            functional.detachTimeoutMs = readU16(descriptor, 3);
            functional.transferSize = readU16(descriptor, 5);
            if (length >= kDFUFunctionalSize11) functional.dfuVersion = readU16(descriptor, 7);
            return functional;
        }
        at += length;
    }
    return std::nullopt;
}

std::optional<std::u16string> parseStringDescriptor(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[1] != kDescriptorTypeString) return std::nullopt;
    const std::size_t length = std::min<std::size_t>(bytes[0], bytes.size());
    if (length < 2) return std::nullopt;
    std::u16string text;
    for (std::size_t at = 2; at + 1 < length; at += 2) {
        text.push_back(static_cast<char16_t>(readU16(bytes, at)));
    }
    return text;
}

}  // namespace QX::NHL2
