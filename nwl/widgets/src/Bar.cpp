#include "nwl/widgets/Bar.h"

#include <algorithm>

#include <fmt/format.h>

#include "nwl/core/Pane.h"
#include "nwl/style/ErrorHandlers.h"
#include "StyleAccess.h"

namespace QX::NWL {
namespace {

// Whether the bar's flow places and sizes this child.
bool takesPart(const Widget& child)
{
    return child.hasFlags(WidgetFlag::kVisibleBoth) && !child.hasFlags(WidgetFlag::kExplicitlyPlaced) &&
           !child.isOverlay();
}

// Outer length of a child along the bar's axis.
std::int32_t outerLength(const Widget& child, bool sideBySide)
{
    const Margins& outer = child.getOuterMargins();
    return sideBySide ? outer.left + child.getWidth() + outer.right : outer.top + child.getHeight() + outer.bottom;
}

std::int32_t outerBreadth(const Widget& child, bool sideBySide)
{
    return outerLength(child, !sideBySide);
}

}  // namespace

Bar::Bar() = default;

Bar& Bar::setup(std::uint32_t direction, const char* styleClass)
{
    if (direction != direction_) {
        direction_ = direction;
        invalidateLayout();
    }
    setPaintCallback([](Bar& bar, PaintContext& context) { bar.panelDrawer_.drawBackground(bar, context); });
    setStyleClass(styleClass);
    return *this;
}

std::string_view Bar::getTypeName() const
{
    return "Bar";
}

void Bar::setSpacing(std::int32_t spacing)
{
    if (spacing == spacing_)
        return;
    spacing_ = spacing;
    invalidate();
}

void Bar::setFlexibleElement(std::uint32_t index)
{
    if (index == flexibleElement_)
        return;
    flexibleElement_ = index;
    invalidate();
}

Bar& Bar::useBreadthFromChildren()
{
    breadthCallback_ = [](Bar& bar) { bar.fitBreadthToChildren(); };
    setLayoutCallback(breadthCallback_);
    lengthComputed_ = false;
    return *this;
}

void Bar::fitBreadthToChildren()
{
    const bool sideBySide = isSideBySide();
    std::int32_t widest = 0;
    for (const auto& child : getChildren()) {
        // Explicitly placed children and overlays count here too.
        if (child && child->hasFlags(WidgetFlag::kVisibleBoth))
            widest = std::max(widest, outerBreadth(*child, sideBySide));
    }
    const Margins& margins = getMargins();
    if (sideBySide)
        setSize(getWidth(), margins.top + margins.bottom + widest);
    else
        setSize(margins.left + margins.right + widest, getHeight());
}

void Bar::updateSize()
{
    if (breadthCallback_)
        breadthCallback_(*this);
    sizeFlexibleElement();
    arrangeChildren(direction_, spacing_);
}

void Bar::sizeFlexibleElement()
{
    const auto& children = getChildren();
    if (flexibleElement_ >= children.size() || !children[flexibleElement_])
        return;
    const bool stacked = direction_ == eTopToBottom || direction_ == eBottomToTop;
    if (!stacked && !isSideBySide())
        return;
    Widget& flexible = *children[flexibleElement_];
    std::int32_t others = 0;
    for (const auto& child : children) {
        if (child && child.get() != &flexible && takesPart(*child))
            others += outerLength(*child, !stacked) + spacing_;
    }
    const Margins& margins = getMargins();
    const Margins& outer = flexible.getOuterMargins();
    if (stacked) {
        const std::int32_t available = getHeight() - margins.top - margins.bottom;
        flexible.setSize(flexible.getWidth(), available - outer.top - outer.bottom - others);
    } else {
        const std::int32_t available = getWidth() - margins.left - margins.right;
        flexible.setSize(available - outer.left - outer.right - others, flexible.getHeight());
    }
}

void Bar::arrangeChildren(std::uint32_t direction, std::int32_t spacing)
{
    const Margins& margins = getMargins();
    const GP::Point offset = getScrollOffset();
    const std::int32_t innerWidth = getWidth() - margins.left - margins.right;
    const std::int32_t innerHeight = getHeight() - margins.top - margins.bottom;
    const std::int32_t breadthAcross = innerHeight - offset.y;  // side by side
    const std::int32_t breadthDown = innerWidth - offset.x;     // stacked

    // Positions are relative to the content origin, which already sits at the
    // near margin: the reverse directions start at the inner extent.
    std::int32_t cursor = 0;
    if (direction == eBottomToTop)
        cursor = innerHeight;
    else if (direction == eRightToLeft)
        cursor = innerWidth;

    for (const auto& pointer : getChildren()) {
        if (!pointer || !takesPart(*pointer))
            continue;
        Widget& child = *pointer;
        const Margins& outer = child.getOuterMargins();
        switch (direction) {
        case eLeftToRight:
            child.setPosition(cursor + outer.left, outer.top);
            child.setHeight(breadthAcross - outer.bottom - outer.top);
            cursor += child.getWidth() + outer.right + outer.left + spacing;
            break;
        case eTopToBottom:
            child.setPosition(outer.left, cursor + outer.top);
            child.setWidth(breadthDown - outer.right - outer.left);
            // Read after setWidth: a wrapping label has taken its new height.
            cursor += outer.bottom + outer.top + child.getHeight() + spacing;
            break;
        case eBottomToTop: {
            const std::int32_t y = cursor - outer.bottom - child.getHeight();
            child.setPosition(outer.left, y);
            child.setWidth(breadthDown - outer.right - outer.left);
            cursor = y - outer.top - spacing;
            break;
        }
        case eRightToLeft: {
            const std::int32_t x = cursor - child.getWidth() - outer.right;
            child.setPosition(x, outer.top);
            child.setHeight(breadthAcross - outer.bottom - outer.top);
            cursor = x - outer.left - spacing;
            break;
        }
        default:
            return;
        }
    }
}

void Bar::applyStyle()
{
    spacing_ = DETAIL::readIntProperty(*this, "spacing", 0);
    WidgetTemplate<Bar>::applyStyle();
    const std::string_view breadth = isSideBySide() ? "height" : "width";
    const std::string_view length = isSideBySide() ? "width" : "height";
    if (breadthCallback_)
        reportStyledAndComputed(breadth, "styleBreadthXXX");
    if (lengthComputed_) {
        if (flexibleElement_ != kNoFlexibleElement)
            reportError(fmt::format(
                " Layout contradiction - Bar {0} has a flexible element, but is also computed automatically by "
                "styleLengthXXX!!!",
                getName().str()));
        reportStyledAndComputed(length, "styleLengthXXX");
    }
}

void Bar::reportStyledAndComputed(std::string_view property, std::string_view computedBy) const
{
    const std::optional<std::string> place = DETAIL::findDeclarationPlace(*this, property);
    if (!place)
        return;
    reportError(fmt::format("Layout contradiction - {0} of Bar {1} is given at line {2} of the stylesheet but also "
                            "computed automatically by {3}!!!",
                            property, getName().str(), *place, computedBy));
}

void Bar::setWidth(std::int32_t width)
{
    if (lengthComputed_ && isSideBySide())
        return;
    WidgetTemplate<Bar>::setWidth(width);
}

void Bar::setHeight(std::int32_t height)
{
    if (lengthComputed_ && !isSideBySide())
        return;
    WidgetTemplate<Bar>::setHeight(height);
}

}  // namespace QX::NWL
