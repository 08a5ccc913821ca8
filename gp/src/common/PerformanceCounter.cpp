#include "gp/PerformanceCounter.h"

#include "Platform.h"

namespace QX::GP {

std::uint64_t getPerformanceCounter() { return DETAIL::readPerformanceCounter(); }

std::uint64_t getPerformanceCounterFrequency()
{
    static const std::uint64_t frequency = DETAIL::readPerformanceFrequency();
    return frequency;
}

std::uint64_t performanceCounterToMilliseconds(std::uint64_t ticks)
{
    const std::uint64_t frequency = getPerformanceCounterFrequency();
    if (frequency == 0)
        return 0;
    // 128 bits: a nanosecond counter times 1000 overflows 64 bits in months.
    return static_cast<std::uint64_t>(static_cast<unsigned __int128>(ticks) * 1000 / frequency);
}

}  // namespace QX::GP
