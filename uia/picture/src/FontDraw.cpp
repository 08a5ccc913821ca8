#include <algorithm>
#include <limits>

#include "CoverageRows.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureClipScope.h"
#include "uia/picture/Utf8Decoder.h"

namespace QX::UIA {
namespace {

std::int32_t clampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

// Baseline of the first line of a block `blockHeight` high.
std::int64_t getFirstBaseline(const PictureRect& rect, std::int64_t blockHeight, std::int32_t ascent,
                              std::uint32_t flags)
{
    if (flags & kAlignBottom) return std::int64_t(rect.bottom) - blockHeight + ascent;
    if (flags & kAlignTop) return std::int64_t(rect.top) + ascent;
    return std::int64_t(rect.top) + ascent + (rect.height() - blockHeight) / 2;
}

}  // namespace

void Font::drawText(Picture& picture, const PictureRect& rect, std::string_view text, std::uint32_t colour,
                    std::uint32_t flags, std::int32_t lineSpacing) const
{
    const auto& cache = getRenderCache();
    text = text.substr(0, text.find('\0'));
    if (!cache || text.empty() || rect.width() < 1 || rect.height() < 1) return;
    const PictureClipScope clipScope(picture, rect);

    const std::int32_t lineHeight = cache->getLineHeight();
    const std::int64_t lineCount = std::count(text.begin(), text.end(), '\n') + 1;
    const std::int64_t blockHeight = lineCount * lineHeight + (lineCount - 1) * lineSpacing;
    std::int64_t baseline = getFirstBaseline(rect, blockHeight, cache->getAscent(), flags);

    for (std::size_t start = 0; start <= text.size(); baseline += std::int64_t(lineHeight) + lineSpacing) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (baseline > rect.bottom) break;
        if (baseline + lineHeight < rect.top) continue;
        drawLine(picture, *cache, line, getLineStart(line, rect, flags), baseline, rect.right, colour);
    }
}

std::int64_t Font::getLineStart(std::string_view line, const PictureRect& rect, std::uint32_t flags) const
{
    if (flags & kAlignLeft) return rect.left;
    const std::int32_t rectWidth = clampToInt32(rect.width());
    const std::int32_t width = measureLine(line, rectWidth);
    if (width >= rectWidth) return rect.left;
    return std::int64_t(rect.left) + ((flags & kAlignRight) ? rectWidth - width : (rectWidth - width + 1) / 2);
}

void Font::drawLine(Picture& picture, DETAIL::FTRenderCache& cache, std::string_view line, std::int64_t x,
                    std::int64_t baseline, std::int32_t right, std::uint32_t colour) const
{
    for (std::size_t offset = 0; offset < line.size();) {
        const char32_t codePoint = decodeUtf8CodePoint(line, offset);
        if (x >= right) continue;  // still read, so that bad text throws
        const DETAIL::tGlyph* glyph = cache.getGlyph(codePoint);
        if (!glyph) continue;
        drawGlyph(picture, cache, *glyph, static_cast<std::int32_t>(x), static_cast<std::int32_t>(baseline), colour);
        x += roundAdvance(glyph->advance);
    }
}

void Font::drawGlyph(Picture& picture, const DETAIL::FTRenderCache& cache, const DETAIL::tGlyph& glyph,
                     std::int32_t x, std::int32_t y, std::uint32_t colour) const
{
    if (underline_) {
        // fillRect keeps to the clip.
        picture.fillRect(x, y - cache.getUnderlinePosition(), roundAdvance(glyph.advance),
                         cache.getUnderlineThickness(), colour);
    }
    if (glyph.coverage.empty()) return;
    const PictureRect bounds = picture.getDrawingBounds();
    const std::int64_t left = std::int64_t(x) + glyph.left;
    const std::int64_t top = std::int64_t(y) - glyph.top;
    // The part of the bitmap inside the drawing bounds.
    const std::int64_t firstColumn = std::max<std::int64_t>(0, bounds.left - left);
    const std::int64_t endColumn = std::min<std::int64_t>(glyph.width, bounds.right - left);
    const std::int64_t firstRow = std::max<std::int64_t>(0, bounds.top - top);
    const std::int64_t endRow = std::min<std::int64_t>(glyph.rows, bounds.bottom - top);
    if (endColumn <= firstColumn) return;
    const std::size_t rowBytes = std::size_t(std::abs(glyph.pitch));
    for (std::int64_t row = firstRow; row < endRow; ++row) {
        // A negative pitch stores the rows bottom up.
        const std::uint8_t* coverage =
            glyph.coverage.data() + std::size_t(glyph.pitch >= 0 ? row : glyph.rows - 1 - row) * rowBytes;
        std::uint32_t* pixel = picture.getPixelAddress(std::int32_t(left + firstColumn), std::int32_t(top + row));
        DETAIL::coverRow(pixel, coverage + firstColumn, std::size_t(endColumn - firstColumn), colour);
    }
}

}  // namespace QX::UIA
