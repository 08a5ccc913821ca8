#include "nwl/widgets/MultilineLabel.h"

#include <algorithm>
#include <cmath>

#include "gp/Text.h"
#include "nwl/canvas/Canvas.h"
#include "nwl/core/Pane.h"
#include "uia/picture/Font.h"
#include "StyleAccess.h"

namespace QX::NWL {
namespace DETAIL {
namespace {

// Keeps the line feed and every byte from the blank up.
std::string dropControlCharacters(std::string text)
{
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 32 && c != '\n'; });
    return text;
}

std::int32_t toLogical(std::int32_t pixels, float scale)
{
    return std::int32_t(std::lroundf(float(pixels) / scale));
}

}  // namespace

MultilineText::MultilineText()
{
    resetLineBreaks();
}

std::string_view MultilineText::getTypeName() const
{
    return "MultilineText";
}

void MultilineText::setText(std::string_view text)
{
    std::string cleaned = dropControlCharacters(GP::replaceInvalidUtf8(text));
    if (cleaned == text_)
        return;
    text_ = std::move(cleaned);
    wrapText();
}

void MultilineText::resetLineBreaks()
{
    lineBreaks_.assign({{0, kNoCodePoint}, {text_.size(), kNoCodePoint}});
}

std::string_view MultilineText::getLine(std::size_t line) const
{
    const std::size_t start = lineBreaks_[line].offset;
    return std::string_view(text_).substr(start, lineBreaks_[line + 1].offset - start);
}

std::int32_t MultilineText::getInnerWidth() const
{
    const Margins& margins = getMargins();
    return getWidth() - margins.left - margins.right;
}

const UIA::Font* MultilineText::getStateFont()
{
    if (!getPane())
        return nullptr;
    return panelDrawer_.getStateFont(*this, getScale());
}

std::int32_t MultilineText::getLineStep()
{
    const UIA::Font* font = getStateFont();
    const std::int32_t lineHeight = font ? toLogical(font->getLineHeight(), getScale()) : 0;
    return lineHeight + lineSpacing_;
}

void MultilineText::wrapText()
{
    const UIA::Font* font = getStateFont();
    if (!font) {
        // No font to measure with: one line, so that the entries always fit the text.
        resetLineBreaks();
        return;
    }
    breakLines(text_, getInnerWidth(), getScale(),
               [font](char32_t codePoint) { return font->getGlyphAdvance(codePoint); }, lineBreaks_);
    markDirty();
}

void MultilineText::updateSize()
{
    const std::int32_t innerWidth = getInnerWidth();
    if (innerWidth == wrapWidth_)
        return;
    wrapWidth_ = innerWidth;
    wrapText();
}

void MultilineText::setWidth(std::int32_t width)
{
    WidgetTemplate<MultilineText>::setWidth(width);
    updateSize();
}

void MultilineText::readLineSpacing()
{
    lineSpacing_ = readIntProperty(*this, "line-spacing", 0);
}

void MultilineText::applyStyle()
{
    readLineSpacing();
    WidgetTemplate<MultilineText>::applyStyle();
    wrapText();
    markDirty();
}

}  // namespace DETAIL

std::string_view MultilineLabel::getTypeName() const
{
    return "MultilineLabel";
}

void MultilineLabel::setAutoHeight(bool autoHeight)
{
    if (autoHeight == autoHeight_)
        return;
    autoHeight_ = autoHeight;
    wrapText();
}

void MultilineLabel::wrapText()
{
    MultilineText::wrapText();
    if (!autoHeight_ || !getPane())
        return;
    // The margins too: the lines start below the top margin.
    const Margins& margins = getMargins();
    std::int32_t height = margins.top + getLineStep() * std::int32_t(getLineCount()) + margins.bottom;
    const std::int32_t maximum = getMaximumSize().height;
    if (maximum >= 1)
        height = std::min(height, maximum);
    setSize(getWidth(), height);
}

void MultilineLabel::applyStyle()
{
    horizontalAlignment_ = DETAIL::readHorizontalAlignment(*this);
    verticalAlignment_ = DETAIL::readVerticalAlignment(*this);
    readLineSpacing();
    WidgetTemplate<MultilineText>::applyStyle();
    wrapText();
    markDirty();
}

GP::Point MultilineLabel::getCharPosition(std::size_t line, std::size_t index)
{
    const Margins& margins = getMargins();
    const std::int32_t y = getLineStep() * std::int32_t(line) + margins.top + getScrollOffset().y;
    const UIA::Font* font = getStateFont();
    if (!font || line >= getLineCount())
        return {margins.left, y};
    // Each line is aligned by its own text, as paint draws it.
    std::string_view text = getLine(line);
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    const float scale = getScale();
    const std::int32_t innerPixels = std::int32_t(std::lroundf(float(getInnerWidth()) * scale));
    const std::int32_t shift = font->getHorizontalAlignmentOffset(text, horizontalAlignment_, innerPixels);
    const std::int32_t prefix = font->getTextWidth(text.substr(0, std::min(index, text.size())));
    return {margins.left + DETAIL::toLogical(shift, scale) + DETAIL::toLogical(prefix, scale), y};
}

std::int32_t MultilineLabel::getBlockOffset(std::int32_t step)
{
    if (autoHeight_)
        return 0;
    const Margins& margins = getMargins();
    const std::int32_t innerHeight = getHeight() - margins.top - margins.bottom;
    const std::int32_t free = innerHeight - std::int32_t(getLineCount()) * step;
    std::int32_t offset = 0;
    if (verticalAlignment_ == 0)
        offset = free / 2;
    else if (verticalAlignment_ == 16)
        offset = free;
    // A block taller than the label keeps its first lines.
    return std::max(offset, 0);
}

void MultilineLabel::paint(PaintContext& context)
{
    panelDrawer_.drawBackground(*this, context);
    const UIA::Font* font = getStateFont();
    if (!font)
        return;
    const std::int32_t step = getLineStep();
    const Margins& margins = getMargins();
    const GP::Rect inner{margins.left, margins.top, getWidth() - margins.right, getHeight() - margins.bottom};
    const std::int32_t blockTop = margins.top + getScrollOffset().y + getBlockOffset(step);
    const std::size_t lines = getLineCount();
    // Each line is drawn at the top of its step and aligned by its own text.
    const std::uint32_t flags = horizontalAlignment_ | 256;

    for (std::size_t i = 0; i < lines; ++i) {
        const std::int32_t top = blockTop + std::int32_t(i) * step;
        const GP::Rect rect{inner.left, top, inner.right, top + step};
        if (rect.bottom <= inner.top || rect.top >= inner.bottom)
            continue;
        const bool nextFits = top + 2 * step <= inner.bottom;
        if (!autoHeight_ && i + 1 < lines && !nextFits) {
            std::string rest(std::string_view(getText()).substr(getLineBreaks()[i].offset));
            std::erase(rest, '\n');
            rest += "..";
            panelDrawer_.drawTextInRect(*this, context, rest, rect, flags);
            return;
        }
        std::string_view text = getLine(i);
        if (!text.empty() && text.back() == '\n')
            text.remove_suffix(1);
        panelDrawer_.drawTextInRect(*this, context, text, rect, flags);
    }
}

}  // namespace QX::NWL
