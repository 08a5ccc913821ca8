#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace QX::NHL2 {

// Parsers of what a device sends; every one accepts any bytes and answers
// nothing for what is not well formed.

struct tDeviceDescriptor {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
    std::uint8_t manufacturerIndex = 0;
    std::uint8_t productIndex = 0;
    std::uint8_t serialNumberIndex = 0;
};

struct tDFUFunctionalDescriptor {
    std::uint8_t attributes = 0;
    std::uint16_t detachTimeoutMs = 0;
    std::uint16_t transferSize = 0;
    std::uint16_t dfuVersion = 0;  // 0 for a 1.0 descriptor, which lacks it

    bool canDownload() const { return attributes & 0x01; }
    bool isManifestationTolerant() const { return attributes & 0x04; }
};

inline constexpr std::uint8_t kDescriptorTypeDevice = 0x01;
inline constexpr std::uint8_t kDescriptorTypeConfiguration = 0x02;
inline constexpr std::uint8_t kDescriptorTypeString = 0x03;
inline constexpr std::uint8_t kDescriptorTypeInterface = 0x04;
inline constexpr std::uint8_t kDescriptorTypeDFUFunctional = 0x21;
inline constexpr std::uint8_t kInterfaceClassApplicationSpecific = 0xFE;
inline constexpr std::uint8_t kInterfaceSubclassDFU = 0x01;

std::optional<tDeviceDescriptor> parseDeviceDescriptor(std::span<const std::uint8_t> bytes);
// The functional descriptor that follows the DFU interface of a
// configuration descriptor.
std::optional<tDFUFunctionalDescriptor> findDFUFunctionalDescriptor(std::span<const std::uint8_t> configuration);
// The UTF-16 text of a string descriptor (an odd last byte is dropped).
std::optional<std::u16string> parseStringDescriptor(std::span<const std::uint8_t> bytes);

}  // namespace QX::NHL2
