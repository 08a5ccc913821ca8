#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace QX::NHL2 {

// The layout of our firmware images: a 16-byte header (magic "HVXF", u16
// model product id, u16 version, u32 payload size, u32 CRC-32 of the
// payload, all little-endian) and the payload. The keyboard checks it when
// it manifests a download. Header only: the build-time image generator
// compiles it without the library.
struct tFirmwareImageHeader {
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::uint32_t payloadSize = 0;
    std::uint32_t payloadCrc = 0;
};

inline constexpr std::size_t kFirmwareImageHeaderSize = 16;
inline constexpr std::array<std::uint8_t, 4> kFirmwareImageMagic = {'H', 'V', 'X', 'F'};

constexpr std::array<std::uint32_t, 256> makeCrc32Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        table[i] = value;
    }
    return table;
}

inline std::uint32_t computeCrc32(std::span<const std::uint8_t> bytes) {
    static constexpr auto kTable = makeCrc32Table();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes) crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

inline std::uint32_t readLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// The one way to make an image: the header for `payload`, then the payload.
inline std::vector<std::uint8_t> buildFirmwareImage(std::uint16_t productId, std::uint16_t version,
                                                    std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> image(kFirmwareImageMagic.begin(), kFirmwareImageMagic.end());
    const auto put = [&image](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) image.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    put(productId, 2);
    put(version, 2);
    put(static_cast<std::uint32_t>(payload.size()), 4);
    put(computeCrc32(payload), 4);
    image.insert(image.end(), payload.begin(), payload.end());
    return image;
}

// The header of a complete, intact image; nothing otherwise.
inline std::optional<tFirmwareImageHeader> verifyFirmwareImage(std::span<const std::uint8_t> image) {
    if (image.size() < kFirmwareImageHeaderSize) return std::nullopt;
    for (std::size_t i = 0; i < kFirmwareImageMagic.size(); ++i) {
        if (image[i] != kFirmwareImageMagic[i]) return std::nullopt;
    }
    tFirmwareImageHeader header;
    header.productId = static_cast<std::uint16_t>(image[4] | (image[5] << 8));
    header.version = static_cast<std::uint16_t>(image[6] | (image[7] << 8));
    header.payloadSize = readLittleEndian32(image, 8);
    header.payloadCrc = readLittleEndian32(image, 12);
    const auto payload = image.subspan(kFirmwareImageHeaderSize);
    if (payload.size() != header.payloadSize || computeCrc32(payload) != header.payloadCrc) return std::nullopt;
    return header;
}

}  // namespace QX::NHL2
