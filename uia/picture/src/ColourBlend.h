#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace QX::UIA::DETAIL {

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

    std::uint32_t applySourceOver(std::uint32_t d) const {
        const std::uint32_t destAlpha = d >> 24;
        const std::uint32_t total = ((255 - alpha_) * destAlpha + 127) / 255 + alpha_;
        if (total == 0) {
            return 0;
        }
        std::uint32_t out = std::min<std::uint32_t>(total, 255) << 24;
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t dc = (d >> (8 * c)) & 0xFF;
            const std::uint32_t value = (weighted_[c] + (dc * (255 - alpha_) * destAlpha + 127) / 255 + total / 2) / total;
            out |= std::min<std::uint32_t>(value, 255) << (8 * c);
        }
        return out;
    }

    std::uint32_t colour_;
    std::uint32_t alpha_;
    bool colourOnly_;
    std::uint32_t weighted_[3];
};

}  // namespace QX::UIA::DETAIL
