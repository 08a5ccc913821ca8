#pragma once
#include <cstdint>
#include <string>

namespace QX::GP {

// What the library gathers about the machine at start-up.
struct SystemInfo {
    std::uint32_t processorCount = 0;
    std::uint32_t pageSize = 0;
    std::uint64_t physicalMemory = 0;
    std::string operatingSystem;
};

// Gathered by `init`; gathered on first use when asked before.
const SystemInfo& getSystemInfo();

}  // namespace QX::GP
