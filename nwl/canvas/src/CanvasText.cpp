#include <cstddef>

#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/canvas/PixelConversion.h"
#include "uia/picture/Font.h"

namespace QX::NWL {
namespace {

using UIA::PictureRect;

// Text turned by 90 degrees: what was horizontal alignment becomes vertical
// and the other way round.
std::uint32_t turnAlignment(std::uint32_t flags) {
    constexpr std::uint32_t kAlignmentBits = UIA::kAlignRight | UIA::kAlignBottom | UIA::kAlignTop | UIA::kAlignLeft;
    std::uint32_t turned = flags & ~kAlignmentBits;
    if (flags & UIA::kAlignBottom) turned |= UIA::kAlignLeft;
    if (flags & UIA::kAlignTop) turned |= UIA::kAlignRight;
    if (flags & UIA::kAlignLeft) turned |= UIA::kAlignTop;
    if (flags & UIA::kAlignRight) turned |= UIA::kAlignBottom;
    return turned;
}

}  // namespace

void BackgroundDrawingCanvas::drawText(std::string_view utf8, const GP::Rect& rect, const UIA::Font& font,
                                       std::uint32_t colour, std::uint32_t flags, bool turned) {
    // Fonts are shared objects handed out as constant by the style; the
    // scale only selects which of its glyph caches draws.
    if (font.getScale() != scale_) const_cast<UIA::Font&>(font).setScale(scale_);
    const GP::Rect pixelRect = toPixels(rect, scale_);
    if (turned) drawTurnedText(utf8, pixelRect, font, colour, flags);
    else font.drawText(*buffer_, pixelRect, utf8, colour, flags, 0);
}

// The text is drawn upright into a turned copy of the background and the
// result is turned back, so that it reads from bottom to top.
void BackgroundDrawingCanvas::drawTurnedText(std::string_view utf8, const GP::Rect& pixelRect,
                                             const UIA::Font& font, std::uint32_t colour, std::uint32_t flags) {
    UIA::Picture& buffer = *buffer_;
    const PictureRect bufferArea =
        PictureRect::fromSize(-std::int64_t(buffer.getOriginX()), -std::int64_t(buffer.getOriginY()),
                              buffer.getWidth(), buffer.getHeight());
    const PictureRect area = PictureRect(pixelRect).intersected(bufferArea);
    if (area.isEmpty()) return;
    const auto width = std::int32_t(area.width());
    const auto height = std::int32_t(area.height());
    if (!turnedText_.resize(std::uint32_t(height), std::uint32_t(width), false)) return;

    // Background in, stored: the text must blend over it exactly once.
    for (std::int32_t i = 0; i < width; ++i) {
        std::uint32_t* row = turnedText_.getRow(std::uint32_t(i));
        for (std::int32_t j = 0; j < height; ++j) row[j] = *buffer.getPixelAddress(area.left + i, area.bottom - 1 - j);
    }

    font.drawText(turnedText_, PictureRect(0, 0, height, width), utf8, colour, turnAlignment(flags), 0);

    // Back out, stored, but only where the canvas may draw.
    const PictureRect visible = area.intersected(buffer.getDrawingBounds());
    for (std::int32_t y = visible.top; y < visible.bottom; ++y) {
        const std::int32_t j = area.bottom - 1 - y;
        for (std::int32_t x = visible.left; x < visible.right; ++x)
            *buffer.getPixelAddress(x, y) = turnedText_.getRow(std::uint32_t(x - area.left))[j];
    }
}

}  // namespace QX::NWL
