// The pixel loops of the combiners: the hot path of every repaint. They are
// plain row loops over 32-bit lanes without branches or calls so that the
// compiler vectorises them.
#include <algorithm>
#include <cstring>

#include "uia/picture/Picture.h"
#include "uia/picture/PictureCombiner.h"

namespace QX::UIA::PictureCombinerFunctors {
namespace {

// (x y + 1 + (x y >> 8)) >> 8 for two 8-bit values: x y / 255, rounded.
inline std::uint32_t mulDiv255(std::uint32_t x, std::uint32_t y) {
    const std::uint32_t t = x * y;
    return (t + 1 + (t >> 8)) >> 8;
}

// d.c = div(d.c (255 - w) + k.c w) for blue, green and red; d.a is kept. Red
// and blue share one 32-bit product: each field stays below 2^16.
inline std::uint32_t mixColour(std::uint32_t d, std::uint32_t k, std::uint32_t w) {
    const std::uint32_t keep = 255 - w;
    std::uint32_t rb = (d & 0xFF00FFu) * keep + (k & 0xFF00FFu) * w;
    rb = ((rb + 0x10001u + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    std::uint32_t g = ((d >> 8) & 0xFFu) * keep + ((k >> 8) & 0xFFu) * w;
    g = (g + 1 + (g >> 8)) >> 8;
    return (d & 0xFF000000u) | rb | (g << 8);
}

inline std::uint32_t copyColourOnly(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t a = s >> 24;
    const std::uint32_t keep = 255 - a;
    const std::uint32_t rb = (((d & 0xFF00FFu) * keep + (s & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((d & 0xFF00u) * keep + (s & 0xFF00u) * a) >> 8) & 0xFF00u;
    const std::uint32_t mixed = (a << 24) | rb | g;
    return a == 255 ? s : (a == 0 ? d : mixed);
}

inline std::uint32_t copySourceOver(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t sa = s >> 24;
    if (sa == 255) {
        return s;
    }
    const std::uint32_t da = d >> 24;
    const std::uint32_t total = ((255 - sa) * da + 127) / 255 + sa;
    if (total == 0) {
        return 0;
    }
    std::uint32_t out = std::min<std::uint32_t>(total, 255) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF;
        const std::uint32_t dc = (d >> shift) & 0xFF;
        const std::uint32_t value = (sc * sa + (dc * (255 - sa) * da + 127) / 255 + total / 2) / total;
        out |= std::min<std::uint32_t>(value, 255) << shift;
    }
    return out;
}

}  // namespace

void BlendUsingAlpha::combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                                  std::size_t sourceStride, std::size_t width, std::size_t height) const {
    for (std::size_t row = 0; row < height; ++row, dest += destStride, source += sourceStride) {
        std::uint32_t* __restrict d = dest;
        const std::uint32_t* __restrict s = source;
        for (std::size_t i = 0; i < width; ++i) {
            d[i] = mixColour(d[i], s[i], mulDiv255(s[i] >> 24, d[i] >> 24));
        }
    }
}

void DyeUsingAlphaMask::combineRows(std::uint32_t* dest, std::size_t destStride, const std::uint32_t* source,
                                    std::size_t sourceStride, std::size_t width, std::size_t height) const {
    const std::uint32_t k = dye;
    const std::uint32_t dyeAlpha = dye >> 24;
    for (std::size_t row = 0; row < height; ++row, dest += destStride, source += sourceStride) {
        std::uint32_t* __restrict d = dest;
        const std::uint32_t* __restrict s = source;
        for (std::size_t i = 0; i < width; ++i) {
            d[i] = mixColour(d[i], k, mulDiv255(s[i] >> 24, dyeAlpha));
        }
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
                d[i] = copySourceOver(d[i], s[i]);
            }
            break;
        }
    }
}

}  // namespace QX::UIA::PictureCombinerFunctors
