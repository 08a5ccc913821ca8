#include "uia/picture/Font.h"

#include <algorithm>
#include <limits>

#include "uia/picture/Utf8Decoder.h"

namespace QX::UIA {
namespace {

bool endsLine(char byte) { return byte == '\0' || byte == '\n'; }

std::int32_t getAdvance(DETAIL::FTRenderCache* cache, char32_t codePoint)
{
    const DETAIL::tGlyph* glyph = cache ? cache->getGlyph(codePoint) : nullptr;
    return glyph ? roundAdvance(glyph->advance) : 0;
}

}  // namespace

std::int32_t Font::getGlyphAdvance(char32_t codePoint) const
{
    return getAdvance(getRenderCache().get(), codePoint);
}

std::int32_t Font::getLineHeight() const
{
    const auto& cache = getRenderCache();
    return cache ? cache->getLineHeight() : 10;
}

// Width of the line at the start of `text`; stops early once the width
// reaches `stopWidth`.
std::int32_t Font::measureLine(std::string_view text, std::int32_t stopWidth) const
{
    DETAIL::FTRenderCache* cache = getRenderCache().get();
    std::int32_t width = 0;
    std::size_t offset = 0;
    while (offset < text.size() && !endsLine(text[offset]) && width < stopWidth)
        width += getAdvance(cache, decodeUtf8CodePoint(text, offset));
    return width;
}

std::int32_t Font::getTextWidth(std::string_view text) const
{
    return measureLine(text, std::numeric_limits<std::int32_t>::max());
}

std::int32_t Font::getTextWidth(const char* utf8, std::int32_t length) const
{
    if (!utf8) return 0;
    return getTextWidth(length < 0 ? std::string_view(utf8) : std::string_view(utf8, std::size_t(length)));
}

std::int32_t Font::getMaxLineWidth(std::string_view text) const
{
    std::int32_t widest = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        widest = std::max(widest, getTextWidth(text.substr(start, end - start)));
        start = end + 1;
    }
    return widest;
}

std::int32_t Font::getHorizontalAlignmentOffset(std::string_view text, std::uint32_t flags, std::int32_t width) const
{
    if (flags & kAlignLeft) return 0;
    const std::int32_t lineWidth = measureLine(text, width);
    if (lineWidth >= width) return 0;
    if (flags & kAlignRight) return width - lineWidth;
    return (width - lineWidth + 1) / 2;
}

std::int32_t Font::getFittingLength(std::string_view text, std::int32_t maxWidth, int mode) const
{
    if (maxWidth < 1) return 0;
    DETAIL::FTRenderCache* cache = getRenderCache().get();
    std::int32_t before = 0;
    std::size_t offset = 0;
    while (offset < text.size() && !endsLine(text[offset])) {
        const std::size_t start = offset;
        const std::int32_t after = before + getAdvance(cache, decodeUtf8CodePoint(text, offset));
        if (after > maxWidth) {
            const bool include =
                mode == kFitInclude || (mode == kFitNearest && after - maxWidth < maxWidth - before);
            return static_cast<std::int32_t>(include ? offset : start);
        }
        before = after;
    }
    return static_cast<std::int32_t>(offset);
}

}  // namespace QX::UIA
