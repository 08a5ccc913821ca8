#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace QX::GP {

using Uuid = std::array<std::uint8_t, 16>;

// A version-4 UUID from the system's cryptographic random source.
Uuid makeRandomUuid();

// 36 lower-case hexadecimal characters with dashes after bytes 4, 6, 8 and 10.
std::string uuidToString(const std::uint8_t* bytes16);
inline std::string uuidToString(const Uuid& uuid) { return uuidToString(uuid.data()); }

}  // namespace QX::GP
