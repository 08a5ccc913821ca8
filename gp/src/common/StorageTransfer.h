#pragma once
#include <cstdint>

namespace QX::GP::DETAIL {

// Whether a read or write of `size` bytes at `buffer` can be attempted.
inline bool isValidTransfer(const void* buffer, std::int64_t size) { return size >= 0 && (buffer || size == 0); }

// Repeats `step(done, left)` until `size` bytes are moved. A step answers the
// bytes it moved, 0 at the end of the data or -1 on failure. Answers the
// total, or -1 when nothing was moved before a failure: bytes already moved
// are never reported as lost.
template <typename Step>
std::int64_t transferAll(std::int64_t size, Step step)
{
    std::int64_t total = 0;
    while (total < size) {
        const std::int64_t moved = step(total, size - total);
        if (moved < 0)
            return total > 0 ? total : -1;
        if (moved == 0)
            break;
        total += moved;
    }
    return total;
}

}  // namespace QX::GP::DETAIL
