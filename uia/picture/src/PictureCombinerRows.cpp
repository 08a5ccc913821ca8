// The pixel loops of the combiners: the hot path of every repaint. Blend and
// dye run whole rows through BlendRows; the copy rules are plain row loops
// over 32-bit lanes that the compiler vectorises, and opaque copies are
// memcpy.
#include <algorithm>
#include <cstring>

#include "BlendRows.h"
#include "ColourBlend.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureCombiner.h"

namespace QX::UIA::PictureCombinerFunctors {
namespace {

inline std::uint32_t copyColourOnly(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t a = s >> 24;
    const std::uint32_t keep = 255 - a;
    const std::uint32_t rb = (((d & 0xFF00FFu) * keep + (s & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((d & 0xFF00u) * keep + (s & 0xFF00u) * a) >> 8) & 0xFF00u;
    const std::uint32_t mixed = (a << 24) | rb | g;
    return a == 255 ? s : (a == 0 ? d : mixed);
}

}  // namespace

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
    if (mode == tMode::kRows && width == destStride && width == sourceStride) {
        std::memcpy(dest, source, width * height * 4);
        return;
    }
    for (std::size_t row = 0; row < height; ++row, dest += destStride, source += sourceStride) {
        std::uint32_t* __restrict d = dest;
        const std::uint32_t* __restrict s = source;
        switch (mode) {
        case tMode::kRows:
            std::memcpy(d, s, width * 4);
            break;
        case tMode::kColourOnly:
            for (std::size_t i = 0; i < width; ++i) {
                d[i] = copyColourOnly(d[i], s[i]);
            }
            break;
        case tMode::kSourceOver:
            for (std::size_t i = 0; i < width; ++i) {
                d[i] = DETAIL::blendSourceOver(d[i], s[i]);
            }
            break;
        }
    }
}

}  // namespace QX::UIA::PictureCombinerFunctors
