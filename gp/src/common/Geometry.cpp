#include "gp/Geometry.h"

#include <limits>

namespace QX::GP {
namespace {

std::int32_t saturate(std::int64_t value)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

}  // namespace

Rect Rect::fromSize(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    return Rect{x, y, saturate(std::int64_t(x) + width), saturate(std::int64_t(y) + height)};
}

bool Rect::contains(const Rect& other) const
{
    return !other.isEmpty() && other.left >= left && other.top >= top && other.right <= right &&
           other.bottom <= bottom;
}

bool Rect::intersects(const Rect& other) const
{
    return !isEmpty() && !other.isEmpty() && left < other.right && other.left < right &&
           top < other.bottom && other.top < bottom;
}

void Rect::intersect(const Rect& other)
{
    const Rect result{std::max(left, other.left), std::max(top, other.top),
                      std::min(right, other.right), std::min(bottom, other.bottom)};
    *this = result.isEmpty() ? Rect{} : result;
}

void Rect::unite(const Rect& other)
{
    if (other.isEmpty())
        return;
    if (isEmpty()) {
        *this = other;
        return;
    }
    left = std::min(left, other.left);
    top = std::min(top, other.top);
    right = std::max(right, other.right);
    bottom = std::max(bottom, other.bottom);
}

void Rect::offset(std::int32_t dx, std::int32_t dy)
{
    left = saturate(std::int64_t(left) + dx);
    right = saturate(std::int64_t(right) + dx);
    top = saturate(std::int64_t(top) + dy);
    bottom = saturate(std::int64_t(bottom) + dy);
}

}  // namespace QX::GP
