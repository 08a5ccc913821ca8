#pragma once
#include <cstdint>
#include <vector>

#include "../../core/tests/TestResources.h"
#include "uia/picture/Picture.h"

namespace QX::NWL::Testing {

// Pixels of a picture, physical, row by row.
inline std::vector<std::uint32_t> pixelsOf(const UIA::Picture& picture) {
    const std::uint32_t* p = picture.getPixels();
    return {p, p + std::size_t(picture.getWidth()) * picture.getHeight()};
}

inline std::uint32_t pixelAt(const UIA::Picture& picture, std::uint32_t x, std::uint32_t y) {
    return picture.getRow(y)[x];
}

}  // namespace QX::NWL::Testing
