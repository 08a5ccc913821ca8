#include "nwl/core/Widget.h"

#include <algorithm>
#include <optional>

#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Pane.h"
#include "nwl/core/StyleManager.h"
#include "nwl/core/WidgetStyle.h"
#include "nwl/style/StyleNames.h"
#include "nwl/style/StyleQuery.h"
#include "uia/picture/Picture.h"

// How a widget takes what its style gives it: margins, size limits, painting
// order, the size of its picture, an explicit place and its z-index.
namespace QX::NWL {
namespace {

namespace Names = StyleNames;
using namespace WidgetFlag;

std::optional<std::int32_t> findInt(const Widget& widget, qx::symbol property) {
    bool found = false;
    const std::int32_t* value = findIntProperty(widget, property, nullptr, &found);
    if (!found || !value)
        return std::nullopt;
    return *value;
}

// A box property: the whole box sets all four sides, then each side may
// override its own.
Margins readBox(const Widget& widget, Margins box, qx::symbol all, qx::symbol left, qx::symbol right,
                qx::symbol top, qx::symbol bottom) {
    if (auto value = findInt(widget, all))
        box = Margins{*value, *value, *value, *value};
    if (auto value = findInt(widget, left))
        box.left = *value;
    if (auto value = findInt(widget, right))
        box.right = *value;
    if (auto value = findInt(widget, top))
        box.top = *value;
    if (auto value = findInt(widget, bottom))
        box.bottom = *value;
    return box;
}

std::shared_ptr<const UIA::Picture> findStylePicture(const Widget& widget) {
    const Property* property = findProperty(widget, Names::kPicture);
    if (!property)
        return nullptr;
    const auto* picture = std::get_if<LazyPicture>(&property->value);
    if (!picture || picture->isEmpty())
        return nullptr;
    auto loaded = picture->get(1.0f);
    return loaded && loaded->hasPixels() ? loaded : nullptr;
}

}  // namespace

StyleSheet* Widget::getEffectiveStyleSheet() const {
    if (!pane_)
        return nullptr;
    if (StyleSheet* own = pane_->getStyleSheet().get())
        return own;
    ManagerContainer* container = getManagerContainer();
    return container ? &container->getStyleManager().getStyleSheet() : nullptr;
}

void Widget::forgetStyleCaches() {
    if (ManagerContainer* container = getManagerContainer())
        container->getStyleManager().getStyleSheet().forgetWidget(*this);
    if (pane_ && pane_->getStyleSheet())
        pane_->getStyleSheet()->forgetWidget(*this);
}

void Widget::eraseStyleEntry() {
    if (ManagerContainer* container = getManagerContainer())
        container->getStyleManager().eraseWidget(*this);
    if (pane_ && pane_->getStyleSheet())
        pane_->getStyleSheet()->eraseWidget(*this);
}

void Widget::applyStyle() {
    // The record the canvas draws from follows the new rules too.
    if (ManagerContainer* container = getManagerContainer())
        container->getStyleManager().getWidgetStyle(*this).update();

    margins_ = readBox(*this, margins_, Names::kMargin, Names::kMarginLeft, Names::kMarginRight, Names::kMarginTop,
                       Names::kMarginBottom);
    const Margins outer = readBox(*this, outerMargins_, Names::kOuterMargin, Names::kOuterMarginLeft,
                                  Names::kOuterMarginRight, Names::kOuterMarginTop, Names::kOuterMarginBottom);
    if (outer != outerMargins_) {
        outerMargins_ = outer;
        // The parent's arrangement spaces its children by these.
        if (parent_)
            parent_->invalidate();
    }

    if (auto value = findInt(*this, Names::kMinWidth))
        minimumSize_.width = *value;
    if (auto value = findInt(*this, Names::kMaxWidth))
        maximumSize_.width = *value;
    if (auto value = findInt(*this, Names::kMinHeight))
        minimumSize_.height = *value;
    if (auto value = findInt(*this, Names::kMaxHeight))
        maximumSize_.height = *value;
    if (auto value = findInt(*this, Names::kWidth))
        minimumSize_.width = maximumSize_.width = *value;
    if (auto value = findInt(*this, Names::kHeight))
        minimumSize_.height = maximumSize_.height = *value;

    bool found = false;
    const bool* foreground = findBoolProperty(*this, Names::kDrawForeground, nullptr, &found);
    if (found && foreground) {
        setFlags(kPaintsForeground, *foreground);
        setFlags(kPaintsBackground, !*foreground);
    }

    if (auto picture = findStylePicture(*this)) {
        const bool* includes = findBoolProperty(*this, Names::kPictureIncludesMargin, nullptr, &found);
        const bool addMargins = !(found && includes && *includes);
        const std::uint32_t fixed = picture->getFixedFlags();
        if (!(fixed & UIA::PictureProperties::kFixedVertical)) {
            const auto height = std::int32_t(picture->getFrameHeight()) + (addMargins ? margins_.top + margins_.bottom : 0);
            minimumSize_.height = maximumSize_.height = height;
        }
        if (!(fixed & UIA::PictureProperties::kFixedHorizontal)) {
            const auto width = std::int32_t(picture->getFrameWidth()) + (addMargins ? margins_.left + margins_.right : 0);
            minimumSize_.width = maximumSize_.width = width;
        }
    }

    setSize(size_);

    const auto x = findInt(*this, Names::kX);
    const auto y = findInt(*this, Names::kY);
    if (x || y) {
        setPosition(x.value_or(0), y.value_or(0));
        flags_ |= kExplicitlyPlaced;
    }

    if (auto z = findInt(*this, Names::kZIndex); z && *z != zIndex_) {
        zIndex_ = *z;
        if (parent_) {
            invalidateLayout();
            parent_->sortedChildren_.clear();
        }
    }

    geometryPending_.store(1);
    flags_ &= ~kStylePending;
}

}  // namespace QX::NWL
