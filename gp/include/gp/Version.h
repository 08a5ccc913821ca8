#pragma once
#include <cstdint>

namespace QX::GP {

// The foundation library's version and the start-up flags its callers pass;
// each caller states what it expects and `checkVersion` asserts it.
inline constexpr std::uint32_t kVersion = 0x2030000;
inline constexpr std::uint32_t kStartupFlags = 0xF0001;

}  // namespace QX::GP
