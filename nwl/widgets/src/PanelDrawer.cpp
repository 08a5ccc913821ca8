#include "nwl/widgets/PanelDrawer.h"

#include <cmath>

#include "gp/Region.h"
#include "nwl/canvas/Canvas.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Widget.h"
#include "nwl/core/WidgetStyle.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {
namespace {

// The parts of the paint region over the widget, in the widget's own
// coordinates (the canvas offset is the widget's position).
template <typename Draw>
void forEachClipRect(const Widget& widget, const PaintContext& context, Draw draw)
{
    const GP::Rect absolute = widget.getAbsoluteRect();
    const GP::Point origin = widget.getAbsolutePosition();
    auto visit = [&](GP::Rect part) {
        part.intersect(absolute);
        if (part.isEmpty())
            return;
        part.offset(-origin.x, -origin.y);
        context.canvas.setClipRect(part);
        draw();
        context.canvas.resetClipRect();
    };
    if (context.region.isEmpty())
        visit(absolute);
    for (const GP::RegionNode* node = context.region.first(); node; node = node->next)
        visit(node->rect);
}

GP::Rect moved(GP::Rect rect, GP::Point by)
{
    rect.offset(by.x, by.y);
    return rect;
}

GP::Rect getOwnRect(const Widget& widget)
{
    return GP::Rect{0, 0, widget.getWidth(), widget.getHeight()};
}

GP::Rect insideMargins(const Widget& widget)
{
    const Margins& margins = widget.getMargins();
    return GP::Rect{margins.left, margins.top, widget.getWidth() - margins.right, widget.getHeight() - margins.bottom};
}

}  // namespace

PanelDrawer::PanelDrawer() = default;

WidgetStyle* PanelDrawer::getStyle(const Widget& widget)
{
    if (!style_) {
        if (ManagerContainer* container = getManagerContainer())
            style_ = &container->getStyleManager().getWidgetStyle(widget);
    }
    return style_;
}

void PanelDrawer::draw(const Widget& widget, PaintContext& context, std::string_view text, bool vertical)
{
    drawBackground(widget, context);
    drawText(widget, context, text, vertical);
}

void PanelDrawer::drawBackground(const Widget& widget, PaintContext& context)
{
    const WidgetStyle* style = getStyle(widget);
    if (!style)
        return;
    Canvas& canvas = context.canvas;
    const std::uint32_t fill = style->findColor(Palette::eBackground, false, std::int32_t(paletteColorIndex_));
    const std::uint32_t outline = style->findColor(Palette::eBackground, true, std::int32_t(paletteColorIndex_));
    const GP::Rect own = getOwnRect(widget);
    if (fill >= 0x1000000u || outline >= 0x1000000u) {
        forEachClipRect(widget, context, [&] {
            if (fill >= 0x1000000u)
                canvas.fillRectBlended(own, fill);
            if (outline >= 0x1000000u)
                canvas.drawRect(own, outline);
        });
    }

    GP::Rect pictureRect = own;
    if (!style->findPictureIncludesMargin(false)) {
        const Margins& margins = widget.getMargins();
        pictureRect.left += margins.left;
        pictureRect.top += margins.top;
        pictureRect.right -= margins.right;
    }
    const GP::Point displacement = style->findPictureDisplacement();
    pictureRect = moved(pictureRect, displacement);

    if (const LazyPicture* picture = style->findPicture()) {
        std::int32_t frame = style->findAnimationIndex(0);
        if (frameProvider_)
            frameProvider_(frame);
        const std::shared_ptr<const UIA::Picture> made = picture->get(canvas.getScale());
        if (made) {
            const bool stretch = made->getFixedFlags() != 0;
            forEachClipRect(widget, context, [&] {
                if (stretch)
                    canvas.drawLazyPictureInRect(pictureRect, *picture, std::uint32_t(frame), nullptr, true);
                else
                    canvas.drawLazyPicture(GP::Point{pictureRect.left, pictureRect.top}, *picture,
                                           std::uint32_t(frame), nullptr, true);
            });
        }
    }
    if (const LazyPicture* mask = style->findDyeMaskPicture()) {
        const std::int32_t frame = style->findDyeMaskAnimationIndex(0);
        // The mask takes the dye colour role.
        const std::uint32_t dye = style->findColor(Palette::eDye, false, std::int32_t(paletteColorIndex_));
        forEachClipRect(widget, context,
                        [&] { canvas.drawLazyDyeMask(pictureRect, dye, *mask, std::uint32_t(frame), nullptr); });
    }
}

const UIA::Font* PanelDrawer::getStateFont(const Widget& widget, float scale)
{
    const WidgetStyle* style = getStyle(widget);
    if (!style)
        return nullptr;
    // "font: no" gives a null entry, for which the default font stands in.
    const UIA::Font* font = style->findFont();
    if (font && font->getScale() != scale && scale > 0.0f && std::isfinite(scale)) {
        // Fonts are shared and switched to the scale they are used at.
        const_cast<UIA::Font*>(font)->setScale(scale);
    }
    return font;
}

std::uint32_t PanelDrawer::getAlignmentFlags(const Widget& widget)
{
    const WidgetStyle* style = getStyle(widget);
    if (!style)
        return 4096 | 256;
    return std::uint32_t(style->findHorizontalAlignment(WidgetStyle::kAlignLeft)) |
           std::uint32_t(style->findVerticalAlignment(WidgetStyle::kAlignCenter));
}

std::string PanelDrawer::shorten(const UIA::Font& font, std::string_view text, std::int32_t width)
{
    if (shortenText_)
        return shortenText_(text, width);
    return font.shortenText(shorteningState_, text, width);
}

void PanelDrawer::drawText(const Widget& widget, PaintContext& context, std::string_view text, bool vertical)
{
    drawTextInRect(widget, context, text, insideMargins(widget), getAlignmentFlags(widget), vertical);
}

void PanelDrawer::drawTextInRect(const Widget& widget, PaintContext& context, std::string_view text,
                                 const GP::Rect& rect, std::uint32_t flags, bool vertical)
{
    const WidgetStyle* style = getStyle(widget);
    if (!style)
        return;
    const std::uint32_t colour = style->findColor(Palette::eForeground, false, std::int32_t(paletteColorIndex_));
    if (colour == 0)
        return;
    const float scale = context.canvas.getScale();
    const UIA::Font* font = getStateFont(widget, scale);
    if (!font)
        return;
    const GP::Point displacement = style->findTextDisplacement();
    const std::int64_t length = (vertical ? rect.height() : rect.width()) - (vertical ? displacement.y : displacement.x);
    const std::string shortened = shorten(*font, text, std::int32_t(std::lroundf(float(length) * scale)));
    const GP::Rect textRect = moved(rect, displacement);
    forEachClipRect(widget, context,
                    [&] { context.canvas.drawText(shortened, textRect, *font, colour, flags, vertical); });
}

}  // namespace QX::NWL
