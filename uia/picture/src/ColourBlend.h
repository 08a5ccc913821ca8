#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace QX::UIA::DETAIL {

// Straight-alpha source over of colour `s` onto pixel `d`, both 0xAARRGGBB,
// each channel rounded to nearest. The two ends are worked out: an opaque
// colour replaces, a clear one keeps the pixel (0 if that was clear too).
inline std::uint32_t blendSourceOver(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t sa = s >> 24;
    const std::uint32_t da = d >> 24;
    if (sa == 255) {
        return s;
    }
    if (sa == 0) {
        return da == 0 ? 0 : d;
    }
    const std::uint32_t total = ((255 - sa) * da + 127) / 255 + sa;
    std::uint32_t out = std::min<std::uint32_t>(total, 255) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t sc = (s >> shift) & 0xFF;
        const std::uint32_t dc = (d >> shift) & 0xFF;
        const std::uint32_t value = (sc * sa + (dc * (255 - sa) * da + 127) / 255 + total / 2) / total;
        out |= std::min<std::uint32_t>(value, 255) << shift;
    }
    return out;
}

// The colour blend of one straight-alpha colour into pixels, with the
// constants worked out once per call.
class ColourBlend {
public:
    ColourBlend(std::uint32_t colour, bool colourOnly)
        : colour_(colour), alpha_(colour >> 24), colourOnly_(colourOnly) {
        for (int c = 0; c < 3; ++c) {
            weighted_[c] = ((colour >> (8 * c)) & 0xFF) * alpha_;
        }
    }

    bool isNoOp() const { return alpha_ == 0; }
    bool isStore() const { return alpha_ == 255; }

    std::uint32_t apply(std::uint32_t d) const {
        if (alpha_ == 255) {
            return colour_;
        }
        if (alpha_ == 0) {
            return d;
        }
        return colourOnly_ ? applyColourOnly(d) : applySourceOver(d);
    }

    void applySpan(std::uint32_t* pixels, std::size_t count) const {
        if (alpha_ == 255) {
            std::fill_n(pixels, count, colour_);
        } else if (alpha_ != 0) {
            for (std::size_t i = 0; i < count; ++i) {
                pixels[i] = colourOnly_ ? applyColourOnly(pixels[i]) : applySourceOver(pixels[i]);
            }
        }
    }

private:
    std::uint32_t applyColourOnly(std::uint32_t d) const {
        const std::uint32_t keep = 256 - alpha_;
        std::uint32_t out = 0;
        for (int c = 0; c < 3; ++c) {
            out |= ((((d >> (8 * c)) & 0xFF) * keep + weighted_[c]) >> 8) << (8 * c);
        }
        return out;  // the alpha byte becomes 0
    }

    std::uint32_t applySourceOver(std::uint32_t d) const { return blendSourceOver(d, colour_); }

    std::uint32_t colour_;
    std::uint32_t alpha_;
    bool colourOnly_;
    std::uint32_t weighted_[3];
};

}  // namespace QX::UIA::DETAIL
