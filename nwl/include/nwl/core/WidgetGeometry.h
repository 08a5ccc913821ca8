#pragma once
#include <cstdint>

namespace QX::NWL {

struct Size {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Four distances from the edges of a widget.
struct Margins {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Margins&, const Margins&) = default;
};

}  // namespace QX::NWL
