#include <cstdio>

#include "engine/FirmwareEntry.h"
#include "nhl2/ProductDataBase.h"

namespace QX {
namespace DETAIL {
// Generated at build time (tools/GenerateFirmwareImages.cpp).
extern const FirmwareEntry kFirmwareTable[];
extern const std::size_t kFirmwareTableSize;
}  // namespace DETAIL

std::span<const FirmwareEntry> getFirmwareTable() {
    return {DETAIL::kFirmwareTable, DETAIL::kFirmwareTableSize};
}

const FirmwareEntry* findFirmwareEntry(std::uint16_t productId) {
    const std::uint16_t model = productId & NHL2::kModelMask;
    for (const auto& entry : getFirmwareTable()) {
        if (entry.productId == model) return &entry;
    }
    return nullptr;
}

std::string formatRevision(std::uint16_t version) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d.%d.%d", version >> 8, (version >> 4) & 15, version & 15);
    return text;
}

}  // namespace QX
