// The pixel loops of the combiners: the hot path of every repaint. Blend and
// dye run whole rows through BlendRows, the copy rules through CopyRows;
// opaque copies are memcpy.
#include <algorithm>
#include <cstring>

#include "BlendRows.h"
#include "CopyRows.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureCombiner.h"

namespace QX::UIA::PictureCombinerFunctors {

void BlendUsingAlpha::combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                                  std::size_t sourceStride, std::size_t width, std::size_t height) const {
    if (width == destStride && width == sourceStride) {
        DETAIL::blendRow(dest, source, width * height);  // whole rows: one run
        return;
    }
    for (std::size_t row = 0; row < height; ++row, dest += destStride, source += sourceStride) {
        DETAIL::blendRow(dest, source, width);
    }
}

void DyeUsingAlphaMask::combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                                    std::size_t sourceStride, std::size_t width, std::size_t height) const {
    for (std::size_t row = 0; row < height; ++row, dest += destStride, source += sourceStride) {
        DETAIL::dyeRow(dest, source, width, dye);
    }
}

void CopySource::prepare(const Picture& destination, const Picture& source) {
    if (!source.getOption()) {
        mode = tMode::kRows;
    } else if (destination.hasTransparency() || source.hasTransparency()) {
        mode = tMode::kColourOnly;
    } else {
        mode = tMode::kSourceOver;
    }
}

void CopySource::combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                             std::size_t sourceStride, std::size_t width, std::size_t height) const {
    if (width == destStride && width == sourceStride) {
        width *= height;  // whole rows: one run
        height = 1;
    }
    for (std::size_t row = 0; row < height; ++row, dest += destStride, source += sourceStride) {
        switch (mode) {
        case tMode::kRows:
            std::memcpy(dest, source, width * 4);
            break;
        case tMode::kColourOnly:
            DETAIL::copyColourOnlyRow(dest, source, width);
            break;
        case tMode::kSourceOver:
            DETAIL::copySourceOverRow(dest, source, width);
            break;
        }
    }
}

}  // namespace QX::UIA::PictureCombinerFunctors
