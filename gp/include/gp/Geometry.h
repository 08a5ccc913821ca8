#pragma once
#include <algorithm>
#include <cstdint>

namespace QX::GP {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle of four signed 32-bit edges; right and bottom are exclusive.
// Width and height are computed in 64 bits so that extreme edges never
// overflow.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    static Rect fromSize(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);

    std::int64_t width() const { return std::int64_t(right) - left; }
    std::int64_t height() const { return std::int64_t(bottom) - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool contains(const Rect& other) const;
    bool intersects(const Rect& other) const;

    // Intersects in place; an empty result sets all four edges to 0.
    void intersect(const Rect& other);
    // Unites in place with the bounding rectangle of both; empty rectangles
    // do not count.
    void unite(const Rect& other);
    // Moves the rectangle, saturating at the limits of 32 bits.
    void offset(std::int32_t dx, std::int32_t dy);

    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace QX::GP
