#include <array>

#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

// Region bit of band (0 top, 1 middle, 2 bottom) and column (0 left,
// 1 middle, 2 right).
constexpr std::uint32_t regionBit(std::uint32_t band, std::uint32_t column) {
    return 1u << (3 * band + column);
}

struct tFrameLayout {
    std::uint32_t width;
    std::uint32_t height;
    std::array<std::uint32_t, 4> columnStarts;  // left region, middle, right, end
    std::array<std::uint32_t, 4> bandStarts;
};

std::uint32_t bandOf(const tFrameLayout& layout, std::uint32_t y) {
    return y < layout.bandStarts[1] ? 0 : (y < layout.bandStarts[2] ? 1 : 2);
}

// Clears the bit of every region of one band that holds a pixel with alpha
// other than 0 in row `row`.
std::uint32_t scanRow(const tFrameLayout& layout, const std::uint32_t* row, std::uint32_t band,
                      std::uint32_t mask) {
    for (std::uint32_t column = 0; column < 3; ++column) {
        const std::uint32_t bit = regionBit(band, column);
        if (!(mask & bit)) {
            continue;
        }
        for (std::uint32_t x = layout.columnStarts[column]; x < layout.columnStarts[column + 1]; ++x) {
            if (row[x] >> 24) {
                mask &= ~bit;
                break;
            }
        }
    }
    return mask;
}

std::uint32_t scanFrame(const tFrameLayout& layout, const std::uint32_t* frame, std::size_t stride) {
    std::uint32_t mask = 511;
    std::uint32_t y = 0;
    while (y < layout.height) {
        const std::uint32_t band = bandOf(layout, y);
        if (((mask >> (3 * band)) & 7) == 0) {
            if (band == 2) {
                break;
            }
            y = layout.bandStarts[band + 1];
            continue;
        }
        mask = scanRow(layout, frame + y * stride, band, mask);
        ++y;
    }
    return mask;
}

}  // namespace

void Picture::updateRegionMasks() {
    regionMasks_.clear();
    if (!hasPixels() || getFixedFlags() == 0 || !getOption()) {
        return;
    }
    const tBorders borders = getEffectiveBorders();
    const std::uint32_t frameWidth = getFrameWidth();
    const std::uint32_t frameHeight = getFrameHeight();
    if (std::int64_t(frameWidth) - borders.left - borders.right < 1 ||
        std::int64_t(frameHeight) - borders.top - borders.bottom < 1) {
        return;
    }
    const tFrameLayout layout{frameWidth,
                              frameHeight,
                              {0, borders.left, frameWidth - borders.right, frameWidth},
                              {0, borders.top, frameHeight - borders.bottom, frameHeight}};
    const std::uint32_t count = getFrameCount();
    regionMasks_.resize(count);
    for (std::uint32_t k = 0; k < count; ++k) {
        const GP::Point origin = getFrameOrigin(k);
        regionMasks_[k] = scanFrame(layout, getRow(std::uint32_t(origin.y)) + origin.x, getWidth());
    }
}

}  // namespace QX::UIA
