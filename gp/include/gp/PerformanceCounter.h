#pragma once
#include <cstdint>

namespace QX::GP {

// A monotonic high-resolution counter.
std::uint64_t getPerformanceCounter();
std::uint64_t getPerformanceCounterFrequency();
// ticks * 1000 / the cached counter frequency.
std::uint64_t performanceCounterToMilliseconds(std::uint64_t ticks);

}  // namespace QX::GP
