#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ColourBlend.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {

using DETAIL::ColourBlend;

void Picture::blendPixel(std::uint32_t& pixel, std::uint32_t colour) const {
    pixel = ColourBlend(colour, hasTransparency()).apply(pixel);
}

void Picture::drawPixel(std::int32_t x, std::int32_t y, std::uint32_t colour) {
    if (hasPixels() && getDrawingBounds().contains(x, y)) {
        blendPixel(*getPixelAddress(x, y), colour);
    }
}

void Picture::drawHorizontalLine(std::int32_t x, std::int32_t y, std::int32_t length, std::uint32_t colour) {
    fillRect(x, y, length, 1, colour);
}

void Picture::drawVerticalLine(std::int32_t x, std::int32_t y, std::int32_t length, std::uint32_t colour) {
    fillRect(x, y, 1, length, colour);
}

void Picture::fillRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       std::uint32_t colour) {
    const PictureRect area = PictureRect::fromSize(x, y, width, height).intersected(getDrawingBounds());
    const ColourBlend blend(colour, hasTransparency());
    if (area.isEmpty() || !hasPixels() || blend.isNoOp()) {
        return;
    }
    const std::size_t span = std::size_t(area.width());
    if (span == getWidth()) {
        blend.applySpan(getPixelAddress(area.left, area.top), span * std::size_t(area.height()));
        return;
    }
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        blend.applySpan(getPixelAddress(area.left, row), span);
    }
}

void Picture::invertRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    const PictureRect area = PictureRect::fromSize(x, y, width, height).intersected(getDrawingBounds());
    if (area.isEmpty() || !hasPixels()) {
        return;
    }
    const std::size_t span = std::size_t(area.width());
    for (std::int32_t row = area.top; row < area.bottom; ++row) {
        std::uint32_t* pixels = getPixelAddress(area.left, row);
        for (std::size_t i = 0; i < span; ++i) {
            pixels[i] ^= 0xFFFFFFu;
        }
    }
}

void Picture::drawRect(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       std::uint32_t colour) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const PictureRect whole = PictureRect::fromSize(x, y, width, height);
    const PictureRect area = whole.intersected(getDrawingBounds());
    if (area.isEmpty()) {
        return;
    }
    // Only the sides that the clip left on the rectangle's own edges.
    const bool top = area.top == whole.top;
    const bool bottom = area.bottom == whole.bottom && whole.height() > 1;
    const bool left = area.left == whole.left;
    const bool right = area.right == whole.right && whole.width() > 1;
    if (top) {
        fillRect(area.left, whole.top, std::int32_t(area.width()), 1, colour);
    }
    if (bottom) {
        fillRect(area.left, whole.bottom - 1, std::int32_t(area.width()), 1, colour);
    }
    const std::int32_t columnTop = top ? area.top + 1 : area.top;
    const std::int32_t columnBottom = bottom ? area.bottom - 1 : area.bottom;
    if (columnBottom <= columnTop) {
        return;
    }
    if (left) {
        fillRect(whole.left, columnTop, 1, columnBottom - columnTop, colour);
    }
    if (right) {
        fillRect(whole.right - 1, columnTop, 1, columnBottom - columnTop, colour);
    }
}

void Picture::drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::uint32_t colour) {
    const PictureRect bounds = getDrawingBounds();
    if (!hasPixels() || bounds.isEmpty()) {
        return;
    }
    // Bresenham over a major axis (one step per pixel) and a minor axis.
    const bool steep = std::llabs(std::int64_t(y2) - y1) >= std::llabs(std::int64_t(x2) - x1);
    const std::int64_t major1 = steep ? y1 : x1;
    const std::int64_t major2 = steep ? y2 : x2;
    const std::int64_t minor1 = steep ? x1 : y1;
    const std::int64_t minor2 = steep ? x2 : y2;
    const std::int64_t majorDelta = std::llabs(major2 - major1);
    const std::int64_t minorDelta = std::llabs(minor2 - minor1);
    const std::int64_t majorStep = major2 >= major1 ? 1 : -1;
    const std::int64_t minorStep = minor2 >= minor1 ? 1 : -1;
    if (majorDelta == 0) {
        return;  // a point to itself draws nothing
    }
    const std::int64_t majorLow = steep ? bounds.top : bounds.left;
    const std::int64_t majorHigh = steep ? bounds.bottom : bounds.right;
    // Skip the steps before the clip on the major axis and stop after it;
    // the steps in between are at most the clip's extent.
    std::int64_t first = majorStep > 0 ? majorLow - major1 : major1 - (majorHigh - 1);
    std::int64_t last = majorStep > 0 ? majorHigh - major1 : major1 - majorLow + 1;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, majorDelta);
    if (first >= last) {
        return;
    }
    // After k steps the minor axis has moved floor((2k·dm + dM) / 2dM) times.
    std::int64_t moves = (2 * first * minorDelta + majorDelta) / (2 * majorDelta);
    std::int64_t error = 2 * minorDelta - majorDelta + 2 * first * minorDelta - 2 * moves * majorDelta;
    const ColourBlend blend(colour, hasTransparency());
    for (std::int64_t k = first; k < last; ++k) {
        const std::int64_t major = major1 + majorStep * k;
        const std::int64_t minor = minor1 + minorStep * moves;
        const std::int64_t px = steep ? minor : major;
        const std::int64_t py = steep ? major : minor;
        if (px >= bounds.left && px < bounds.right && py >= bounds.top && py < bounds.bottom) {
            std::uint32_t* pixel = getPixelAddress(std::int32_t(px), std::int32_t(py));
            *pixel = blend.apply(*pixel);
        }
        if (error >= 0) {
            ++moves;
            error -= 2 * majorDelta;
        }
        error += 2 * minorDelta;
    }
}

namespace {

std::int64_t floorDiv(std::int64_t n, std::int64_t d) {
    const std::int64_t q = n / d;
    return (n % d != 0 && ((n < 0) != (d < 0))) ? q - 1 : q;
}

std::int64_t floorMod(std::int64_t n, std::int64_t d) {
    return n - floorDiv(n, d) * d;
}

// Coordinates beyond this are far outside any picture; they also keep the
// float-to-integer conversions below defined.
constexpr float kCoordinateLimit = 1 << 22;

bool isUsableCoordinate(float v) {
    return std::isfinite(v) && std::fabs(v) < kCoordinateLimit;
}

}  // namespace

void Picture::drawAntialiasedLine(float x1, float y1, float x2, float y2, std::uint32_t colour) {
    if (!hasPixels() || !isUsableCoordinate(x1) || !isUsableCoordinate(y1) || !isUsableCoordinate(x2) ||
        !isUsableCoordinate(y2)) {
        return;
    }
    const PictureRect bounds = getDrawingBounds();
    if (isClipActive()) {
        const auto boxLeft = std::int64_t(std::min(x1, x2));
        const auto boxTop = std::int64_t(std::min(y1, y2));
        const PictureRect box = PictureRect::fromSize(boxLeft, boxTop, std::int64_t(std::fabs(x2 - x1)) + 1,
                                                      std::int64_t(std::fabs(y2 - y1)) + 1);
        if (box.intersected(bounds).isEmpty()) {
            return;
        }
    }
    const std::int64_t alpha = colour >> 24;
    std::int64_t dx = std::int64_t(double(x2 - x1) * double(alpha));
    std::int64_t dy = std::int64_t(double(y2 - y1) * double(alpha));
    const bool steep = std::llabs(dx) < std::llabs(dy);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
        std::swap(dx, dy);
    }
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
        dx = -dx;
        dy = -dy;
    }
    if (dx == 0) {
        return;
    }
    const std::uint32_t rgb = colour & 0xFFFFFFu;
    // Draws the two pixels that share the coverage at major position i,
    // scaled by weight / dx.
    auto plot = [&](std::int64_t i, std::int64_t weight) {
        const auto numerator = std::int64_t((double(i) - x1) * double(dy) + double(dx) * y1);
        const std::int64_t row = floorDiv(numerator, dx);
        const std::int64_t fraction = floorMod(numerator, dx);
        const std::int64_t nearShare = alpha * (dx - fraction) / dx * weight / dx;
        const std::int64_t farShare = alpha * fraction / dx * weight / dx;
        auto put = [&](std::int64_t major, std::int64_t minor, std::int64_t share) {
            const std::int64_t px = steep ? minor : major;
            const std::int64_t py = steep ? major : minor;
            if (share > 0 && px >= bounds.left && px < bounds.right && py >= bounds.top && py < bounds.bottom) {
                drawPixel(std::int32_t(px), std::int32_t(py), rgb | std::uint32_t(share) << 24);
            }
        };
        put(i, row, nearShare);
        put(i, row + 1, farShare);
    };
    const auto start = std::int64_t(x1 + 0.5f);
    const auto end = std::int64_t(x2 + 0.5f);
    const std::int64_t startPart = floorMod(std::int64_t(double(dx) * (double(x1) + 0.5)), dx);
    const std::int64_t endPart = floorMod(std::int64_t(double(dx) * (double(x2) + 0.5)), dx);
    plot(start, dx - startPart);
    plot(end, endPart);
    const std::int64_t majorLow = steep ? bounds.top : bounds.left;
    const std::int64_t majorHigh = steep ? bounds.bottom : bounds.right;
    for (std::int64_t i = std::max(start + 1, majorLow); i < std::min(end, majorHigh); ++i) {
        plot(i, dx);
    }
}

}  // namespace QX::UIA
