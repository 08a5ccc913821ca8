#pragma once
#include <algorithm>
#include <cstdint>
#include <limits>

#include "gp/Geometry.h"

namespace QX::UIA {

// A rectangle of a picture: left and top inclusive, right and bottom
// exclusive. Converts to and from the foundation's rectangle.
struct PictureRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr PictureRect() = default;
    constexpr PictureRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : left(l), top(t), right(r), bottom(b) {}
    constexpr PictureRect(const GP::Rect& r)  // NOLINT: implicit on purpose
        : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}
    constexpr operator GP::Rect() const { return GP::Rect{left, top, right, bottom}; }

    // A rectangle at (x, y) of the given size; edges beyond 32 bits saturate.
    static constexpr PictureRect fromSize(std::int64_t x, std::int64_t y, std::int64_t width,
                                          std::int64_t height) {
        return PictureRect(clamp(x), clamp(y), clamp(x + width), clamp(y + height));
    }

    constexpr std::int64_t width() const { return std::int64_t(right) - left; }
    constexpr std::int64_t height() const { return std::int64_t(bottom) - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }

    // The common part; an empty result may keep crossed edges (isEmpty()).
    constexpr PictureRect intersected(const PictureRect& other) const {
        return PictureRect(std::max(left, other.left), std::max(top, other.top),
                           std::min(right, other.right), std::min(bottom, other.bottom));
    }
    constexpr PictureRect offsetBy(std::int64_t dx, std::int64_t dy) const {
        return PictureRect(clamp(left + dx), clamp(top + dy), clamp(right + dx), clamp(bottom + dy));
    }

    friend constexpr bool operator==(const PictureRect&, const PictureRect&) = default;

    static constexpr std::int32_t clamp(std::int64_t v) {
        return std::int32_t(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                     std::numeric_limits<std::int32_t>::max()));
    }
};

}  // namespace QX::UIA
