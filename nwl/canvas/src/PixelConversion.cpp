#include "nwl/canvas/PixelConversion.h"

#include <cmath>
#include <limits>

namespace QX::NWL {

std::int32_t toPixels(float value, float scale) {
    const float product = value * scale;
    if (std::isnan(product)) return 0;
    // lroundf is undefined beyond the range of its result: saturate first.
    constexpr float kHighest = 2147483520.0f;  // the largest float below 2^31
    if (product >= kHighest) return std::numeric_limits<std::int32_t>::max();
    if (product <= -kHighest) return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(std::lroundf(product));
}

std::int32_t toPixels(std::int32_t value, float scale) { return toPixels(float(value), scale); }

GP::Point toPixels(const GP::Point& point, float scale) {
    return GP::Point{toPixels(point.x, scale), toPixels(point.y, scale)};
}

GP::Rect toPixels(const GP::Rect& rect, float scale) {
    return GP::Rect{toPixels(rect.left, scale), toPixels(rect.top, scale), toPixels(rect.right, scale),
                    toPixels(rect.bottom, scale)};
}

bool isUsableScale(float scale) { return std::isfinite(scale) && scale > 0.0f; }

}  // namespace QX::NWL
