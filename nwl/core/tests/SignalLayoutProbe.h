#pragma once
#include <cstddef>

namespace QX::NWL::Testing {

// Sizes of the shared types as a portable unit sees them.
struct tLayout {
    std::size_t signalSize = 0;
    std::size_t signalAlignment = 0;
    std::size_t paneSize = 0;
    std::size_t widgetSize = 0;
};

tLayout portableLayout();

}  // namespace QX::NWL::Testing
