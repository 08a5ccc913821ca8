#pragma once
#include <cstdint>

namespace QX::GP::DETAIL {

// The position a seek asks for, or false when the origin is unknown, the sum
// overflows or the position would lie before the start.
inline bool resolveSeek(std::int64_t offset, int origin, std::int64_t current, std::int64_t size,
                        std::int64_t& target)
{
    std::int64_t base;
    switch (origin) {
    case 0: base = 0; break;
    case 1: base = current; break;
    case 2: base = size; break;
    default: return false;
    }
    if (__builtin_add_overflow(base, offset, &target))
        return false;
    return target >= 0;
}

}  // namespace QX::GP::DETAIL
