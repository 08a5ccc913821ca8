#pragma once
#include <cstdint>
#include <memory>

#include "uia/picture/Picture.h"

namespace QX::UIA::Test {

inline std::unique_ptr<Picture> makePicture(std::uint32_t width, std::uint32_t height, std::uint32_t colour) {
    auto picture = std::make_unique<Picture>();
    if (picture->resize(width, height, true)) {
        picture->fill(colour);
    }
    return picture;
}

inline std::uint32_t pixelAt(const Picture& picture, std::uint32_t x, std::uint32_t y) {
    return picture.getRow(y)[x];
}

inline std::uint32_t channel(std::uint32_t pixel, int index) {
    return (pixel >> (8 * index)) & 0xFF;
}

}  // namespace QX::UIA::Test
