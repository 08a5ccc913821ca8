#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace QX {

// One model's firmware: three images, of which the first is the one that the
// updater downloads. Version v shows as v >> 8, (v >> 4) & 15, v & 15.
struct FirmwareEntry {
    struct tImage {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        std::uint16_t version = 0;

        std::span<const std::uint8_t> getBytes() const { return {data, size}; }
    };

    std::uint16_t productId = 0;
    std::array<tImage, 3> images{};
};

std::span<const FirmwareEntry> getFirmwareTable();
// The record of the model that `productId` belongs to (its low four bits are
// ignored); null when there is none.
const FirmwareEntry* findFirmwareEntry(std::uint16_t productId);

// "%d.%d.%d" of (v >> 8, (v >> 4) & 15, v & 15).
std::string formatRevision(std::uint16_t version);

}  // namespace QX
