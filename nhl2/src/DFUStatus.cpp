#include "nhl2/DFUStatus.h"

namespace QX::NHL2 {

std::optional<tDFUStatus> parseDFUStatus(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kDFUStatusSize) return std::nullopt;
    tDFUStatus status;
    status.status = bytes[0];
    status.pollTimeoutMs = static_cast<std::uint32_t>(bytes[1] | (bytes[2] << 8) | (bytes[3] << 16));
    status.state = bytes[4];
    status.stringIndex = bytes[5];
    if (status.state > static_cast<std::uint8_t>(DFUState::Error)) return std::nullopt;
    return status;
}

void writeDFUStatus(const tDFUStatus& status, std::span<std::uint8_t, kDFUStatusSize> out) {
    out[0] = status.status;
    out[1] = static_cast<std::uint8_t>(status.pollTimeoutMs);
    out[2] = static_cast<std::uint8_t>(status.pollTimeoutMs >> 8);
    out[3] = static_cast<std::uint8_t>(status.pollTimeoutMs >> 16);
    out[4] = status.state;
    out[5] = status.stringIndex;
}

}  // namespace QX::NHL2
