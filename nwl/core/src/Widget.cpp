#include "nwl/core/Widget.h"

#include <algorithm>

#include "nwl/core/Pane.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::NWL {
namespace {

using namespace WidgetFlag;

constexpr Size kStyleClassMinimumSize{18, 18};

// The whole plane: the clip of a widget without a parent.
constexpr GP::Rect kUnclipped{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};

}  // namespace

Widget::Widget() = default;

Widget::~Widget() {
    for (const auto& child : children_) {
        child->setPane(nullptr);
        child->parent_ = nullptr;
    }
    // Normally gone already; a pane must never keep a role for a dead widget.
    if (pane_)
        pane_->forgetWidget(this);
    eraseStyleEntry();
}

// ---------------------------------------------------------------- identity

const std::string* Widget::findAttribute(qx::symbol name) const {
    auto found = attributes_.find(name);
    return found == attributes_.end() ? nullptr : &found->second;
}

void Widget::setAttribute(std::string_view name, std::string value) {
    auto [entry, inserted] = attributes_.try_emplace(qx::symbol(name));
    if (!inserted && entry->second == value)
        return;
    entry->second = std::move(value);
    flags_ |= kStylePending;
    invalidate();
    for (const auto& child : children_)
        child->markStyleDirty();
}

void Widget::setStyleClass(const char* styleClass) {
    if (styleClass)
        styleClass_ = qx::symbol(styleClass);
    if (minimumSize_ != kStyleClassMinimumSize) {
        minimumSize_ = kStyleClassMinimumSize;
        setSize(size_);
    }
    setSize(minimumSize_);
    flags_ |= kStylePending;
    invalidate();
    for (const auto& child : children_)
        child->markStyleDirty();
    forgetStyleCaches();
}

// ---------------------------------------------------------------- tree

void Widget::addChild(std::shared_ptr<Widget> child, std::string_view name) {
    // A widget cannot hold itself or an ancestor: that would be a cycle of
    // owners that never goes.
    if (!child || child->isSelfOrAncestorOf(this))
        return;
    child->name_ = qx::symbol(name);
    if (child->parent_)
        child->parent_->removeChild(child.get());
    child->parent_ = this;
    child->setPane(pane_);
    child->markStyleDirty();
    child->forgetStyleCaches();
    invalidate();
    children_.push_back(child);
    sortedChildren_.clear();
    const std::int32_t flagged =
        child->flaggedDescendants_ + ((child->flags_ & kWantsGeometryNotifications) ? 1 : 0);
    if (flagged != 0)
        addToSubtreeCount(flagged);
}

bool Widget::removeChild(tChildren::const_iterator position) {
    if (position == children_.end())
        return false;
    // Held until the child is fully detached: the pane may hold no other
    // reference.
    std::shared_ptr<Widget> child = *position;
    children_.erase(position);
    sortedChildren_.clear();
    const std::int32_t flagged =
        child->flaggedDescendants_ + ((child->flags_ & kWantsGeometryNotifications) ? 1 : 0);
    if (flagged != 0)
        addToSubtreeCount(-flagged);
    child->setPane(nullptr);
    child->parent_ = nullptr;
    invalidate();
    return true;
}

bool Widget::removeChild(const Widget* child) {
    auto found = std::find_if(children_.cbegin(), children_.cend(),
                              [child](const auto& entry) { return entry.get() == child; });
    return removeChild(found);
}

void Widget::setPane(Pane* pane) {
    // The old pane may hold the last reference (as its root).
    std::shared_ptr<Widget> self = weak_from_this().lock();
    for (const auto& child : children_)
        child->setPane(pane);
    if (pane == pane_)
        return;
    if (pane_) {
        onShown(false);
        pane_->forgetWidget(this);
    }
    pane_ = pane;
    flags_ &= ~kShown;
}

const Widget::tChildren& Widget::getSortedChildren() {
    if (sortedChildren_.size() != children_.size())
        refreshSortedChildren();
    return sortedChildren_;
}

void Widget::refreshSortedChildren() {
    sortedChildren_ = children_;
    std::stable_sort(sortedChildren_.begin(), sortedChildren_.end(),
                     [](const auto& a, const auto& b) { return a->zIndex_ < b->zIndex_; });
}

void Widget::addToSubtreeCount(std::int32_t delta) {
    for (Widget* widget = this; widget; widget = widget->parent_)
        widget->flaggedDescendants_ += delta;
}

bool Widget::isSelfOrAncestorOf(const Widget* other) const {
    for (const Widget* widget = other; widget; widget = widget->parent_) {
        if (widget == this)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- flags

void Widget::setFlags(std::uint32_t mask, bool on) {
    if (on)
        flags_ |= mask;
    else
        flags_ &= ~mask;
}

void Widget::setVisible(bool visible) {
    const std::uint32_t before = flags_;
    setFlags(kVisible, visible);
    if (parent_)
        setFlags(kParentVisible, parent_->hasFlags(kVisibleBoth));
    if ((before ^ flags_) & kVisibleBoth)
        invalidateLayout();
}

void Widget::setEnabled(bool enabled) {
    // The widget's own bit decides: the inherited one follows the parent.
    if (((flags_ & kEnabled) != 0) == enabled)
        return;
    setFlags(kEnabled, enabled);
    invalidate();
}

void Widget::setSelected(bool selected) {
    if (((flags_ & kSelected) != 0) == selected)
        return;
    setFlags(kSelected, selected);
    markDirty();
}

void Widget::setTracksHover(bool tracksHover) {
    setFlags(kTracksHover, tracksHover);
    if (!tracksHover && pane_ && pane_->getHoverWidget() == this)
        pane_->setHoverWidget(nullptr);
}

void Widget::setExplicitlyPlaced(bool placed) { setFlags(kExplicitlyPlaced, placed); }

void Widget::setWantsGeometryNotifications(bool wants) {
    if (((flags_ & kWantsGeometryNotifications) != 0) == wants)
        return;
    setFlags(kWantsGeometryNotifications, wants);
    if (parent_)
        parent_->addToSubtreeCount(wants ? 1 : -1);
}

// ---------------------------------------------------------------- geometry

GP::Rect Widget::getAbsoluteRect() const {
    return GP::Rect::fromSize(absolutePosition_.x, absolutePosition_.y, size_.width, size_.height);
}

void Widget::addOldAreaToParent(GP::Point position, Size size) {
    if (!(flags_ & kDrawn) || !parent_ || !(parent_->flags_ & kDrawn))
        return;
    // Relative to the parent's absolute position: children sit inside its
    // margins, moved by its scroll offset.
    const std::int32_t x = parent_->margins_.left + parent_->scrollOffset_.x + position.x;
    const std::int32_t y = parent_->margins_.top + parent_->scrollOffset_.y + position.y;
    parent_->invalidateRegion(GP::Rect::fromSize(x, y, size.width, size.height));
}

void Widget::setPosition(GP::Point position) {
    if (position == position_)
        return;
    addOldAreaToParent(position_, size_);
    position_ = position;
    invalidate();
}

void Widget::setSizeClamped(Size size) {
    size.width = std::max(size.width, minimumSize_.width);
    if (maximumSize_.width >= 1)
        size.width = std::min(size.width, maximumSize_.width);
    size.height = std::max(size.height, minimumSize_.height);
    if (maximumSize_.height >= 1)
        size.height = std::min(size.height, maximumSize_.height);
    size_ = size;
}

void Widget::setSize(Size size) {
    const Size old = size_;
    setSizeClamped(size);
    if (size_ == old)
        return;
    if (!(flags_ & kExplicitlyPlaced) && !overlay_) {
        invalidateLayout();
        return;
    }
    addOldAreaToParent(position_, old);
    invalidate();
}

void Widget::setWidth(std::int32_t width) { setSize(Size{width, size_.height}); }

void Widget::setHeight(std::int32_t height) { setSize(Size{size_.width, height}); }

void Widget::setMinimumSize(Size size) {
    minimumSize_ = size;
    setSize(size_);
}

void Widget::setMaximumSize(Size size) {
    maximumSize_ = size;
    setSize(size_);
}

void Widget::setMargins(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    const Margins margins{left, top, right, bottom};
    if (margins == margins_)
        return;
    margins_ = margins;
    invalidate();
}

void Widget::setOuterMargins(const Margins& margins) {
    if (margins == outerMargins_)
        return;
    outerMargins_ = margins;
    invalidateLayout();
}

void Widget::setScrollOffset(GP::Point offset) {
    if (offset == scrollOffset_)
        return;
    scrollOffset_ = offset;
    invalidate();
}

GP::Rect Widget::getInnerRect() const {
    if (!parent_)
        return kUnclipped;
    GP::Rect inner = GP::Rect::fromSize(parent_->absolutePosition_.x + parent_->margins_.left,
                                        parent_->absolutePosition_.y + parent_->margins_.top,
                                        parent_->size_.width - parent_->margins_.left - parent_->margins_.right,
                                        parent_->size_.height - parent_->margins_.top - parent_->margins_.bottom);
    inner.intersect(parent_->visibleRect_);
    return inner;
}

bool Widget::updateGeometry(const GP::Rect& clip, GP::Region* damage) {
    GP::Point absolute = position_;
    if (parent_) {
        absolute.x += parent_->absolutePosition_.x + parent_->margins_.left + parent_->scrollOffset_.x;
        absolute.y += parent_->absolutePosition_.y + parent_->margins_.top + parent_->scrollOffset_.y;
    }
    absolutePosition_ = absolute;
    GP::Rect visible = GP::Rect::fromSize(absolute.x, absolute.y, size_.width, size_.height);
    if (!overlay_)
        visible.intersect(clip);
    if (visible == visibleRect_)
        return false;
    if (damage) {
        damage->addRect(visibleRect_);
        damage->addRect(visible);
    }
    visibleRect_ = visible;
    return true;
}

void Widget::refreshGeometry() { updateGeometry(getInnerRect(), nullptr); }

// ---------------------------------------------------------------- dirty marking

void Widget::markPane(std::uint32_t bits) {
    if (pane_)
        pane_->markDirtyBits(bits);
}

std::atomic<std::uint32_t>& Widget::markDirty(std::uint32_t mask) {
    dirtyMask_.fetch_or(mask ? mask : kDefaultDirtyMask);
    markPane(Pane::kRepaintBit);
    return dirtyMask_;
}

void Widget::invalidate() {
    if (flags_ & kLayoutRelevant) {
        markPane(Pane::kRepaintBit | Pane::kLayoutBit);
        geometryPending_.store(1);
        dirtyMask_.fetch_or(kDefaultDirtyMask);
        return;
    }
    refreshGeometry();
    markDirty();
    if (parent_)
        parent_->markDirty();
}

void Widget::invalidateLayout() {
    // A widget that takes part in its parent's layout asks the parent to lay
    // out again; otherwise this is a plain invalidation.
    if ((flags_ & kLayoutRelevant) && parent_)
        parent_->invalidate();
    invalidate();
}

void Widget::markStyleDirty() {
    flags_ |= kStylePending;
    invalidate();
    for (const auto& child : children_)
        child->markStyleDirty();
}

void Widget::invalidateRegion(const GP::Rect& widgetRelative) {
    invalidRegion_.addRect(widgetRelative);
    markPane(Pane::kRepaintBit);
}

// ---------------------------------------------------------------- hit testing

bool Widget::acceptsHit(GP::Point widgetRelative) const {
    return !hitPredicate_ || hitPredicate_(widgetRelative);
}

// ---------------------------------------------------------------- timers

void Widget::setTimerInterval(std::int32_t ticks) {
    ticks = std::max(ticks, 0);
    if (!pane_) {
        pendingTimerInterval_ = ticks;
        return;
    }
    // An older pending value must not override this one at the next pass.
    pendingTimerInterval_ = 0;
    if (ticks == 0)
        pane_->stopWidgetTimer(this);
    else
        pane_->startWidgetTimer(this, ticks);
}

float Widget::getScale() const { return pane_ ? pane_->getScale() : 1.0f; }

// ---------------------------------------------------------------- update pass

void Widget::updateShownState(Pane* pane, bool shown, bool recursing) {
    if (pane_ != pane) {
        pane_ = pane;
        flags_ |= kStylePending;
        forgetStyleCaches();
    }
    if (!recursing && shown && parent_)
        setFlags(kParentVisible, parent_->hasFlags(kVisibleBoth));
    if (recursing) {
        setFlags(kParentVisible, shown);
        if (overlay_)
            markDirty();
    }
    if (((flags_ & kShown) != 0) != shown) {
        if (!shown && pane && isSelfOrAncestorOf(pane->getFocusWidget())) {
            pane->setKeyWidget(nullptr);
            pane->clearKeyFallbackWidget();
        }
        setFlags(kShown, shown);
        onShown(shown);
        onPaneChanged(pane);
    }
    for (std::size_t i = 0; i < children_.size(); ++i) {
        std::shared_ptr<Widget> child = children_[i];
        if (!shown || (child->flags_ & kVisible))
            child->updateShownState(pane, shown, true);
    }
}

void Widget::update(Pane& pane, const GP::Rect& clip, GP::Region& damage) {
    std::shared_ptr<Widget> self = weak_from_this().lock();
    if (!(flags_ & kVisible)) {
        if ((flags_ & kShown) || pane_ != &pane) {
            if (isSelfOrAncestorOf(pane.getFocusWidget())) {
                pane.setKeyWidget(nullptr);
                pane.clearKeyFallbackWidget();
            }
            updateShownState(&pane, false);
        }
    } else {
        if (!(flags_ & kShown))
            updateShownState(&pane, true);
        if (parent_)
            setFlags(kParentEnabled, parent_->hasFlags(kEnabledBoth));
        if (flags_ & kStylePending)
            applyStyle();
        getSortedChildren();
        const bool geometryPending = geometryPending_.exchange(0) != 0;
        if (geometryPending || (parent_ && (parent_->flags_ & kGeometryChangedInPass))) {
            updateGeometry(clip, geometryPending ? &damage : nullptr);
            flags_ |= kGeometryChangedInPass | kGeometryChanged;
        }
        if (pendingTimerInterval_ > 0) {
            pane.startWidgetTimer(this, pendingTimerInterval_);
            pendingTimerInterval_ = 0;
        }
        if (geometryPending)
            updateSize();
        GP::Rect childClip = GP::Rect::fromSize(
            absolutePosition_.x + margins_.left, absolutePosition_.y + margins_.top,
            size_.width - margins_.left - margins_.right, size_.height - margins_.top - margins_.bottom);
        childClip.intersect(visibleRect_);
        for (std::size_t i = 0; i < children_.size(); ++i) {
            std::shared_ptr<Widget> child = children_[i];
            child->update(pane, childClip, damage);
        }
        onLayout();
        flags_ &= ~kGeometryChangedInPass;
    }
    opaqueRegion_.clear();
    GP::Region childOpaque;
    for (const auto& child : children_) {
        if (!child->getOpaqueRegion(childOpaque))
            continue;
        for (const GP::RegionNode* node = childOpaque.first(); node; node = node->next)
            opaqueRegion_.addRect(node->rect);
        childOpaque.clear();
    }
}

bool Widget::getOpaqueRegion(GP::Region& out) {
    if (visibleRect_.isEmpty())
        return false;
    if (flags_ & kOpaque) {
        out.setRect(visibleRect_);
        return true;
    }
    if (flags_ & kOpaqueInsideMargins) {
        GP::Rect inner{visibleRect_.left + margins_.left, visibleRect_.top + margins_.top,
                       visibleRect_.right - margins_.right, visibleRect_.bottom - margins_.bottom};
        out.setRect(inner);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------- styled widget

bool Widget::isPressedInPane() const {
    return pane_ && pane_->getPressedWidget() == this && pane_->isButtonDown(WidgetMouseId::kDragButton);
}

bool Widget::isHoveredInPane() const { return pane_ && pane_->getHoverWidget() == this; }

bool Widget::isFocusInPane() const { return pane_ && pane_->getFocusWidget() == this; }

bool Widget::isKeyWidgetInPane() const { return pane_ && pane_->getKeyWidget() == this; }

void Widget::forEachChild(const std::function<void(const IStyledWidget&)>& visit) const {
    for (const auto& child : children_)
        visit(*child);
}

const IStyledWidget* Widget::getPaneRootWidget() const { return pane_ ? pane_->getRootWidget() : nullptr; }

// ---------------------------------------------------------------- mouse

void Widget::propagateToParent(const WidgetWheelEvent& event) {
    if (!parent_)
        return;
    std::shared_ptr<Widget> parent = parent_->weak_from_this().lock();
    WidgetWheelEvent relative = event;
    relative.x += absolutePosition_.x - parent_->absolutePosition_.x;
    relative.y += absolutePosition_.y - parent_->absolutePosition_.y;
    parent_->onMouseWheel(relative);
}

void Widget::dispatchMouseEvent(std::uint32_t id, const WidgetMouseEvent& event) {
    std::shared_ptr<Widget> self = weak_from_this().lock();
    UIA::MouseButtonEvent button{event.x, event.y, event.modifiers, event.button, event.kind};
    UIA::MousePositionEvent position{event.x, event.y, event.modifiers};
    switch (id) {
    case WidgetMouseId::press(WidgetMouseId::kDragButton):
        button.action = UIA::kPressed;
        if (handleMouseEvent(UIA::EventId::kMouseButton, &button) == UIA::DropSource::kIgnored)
            onMouseEvent(id, event);
        return;
    case WidgetMouseId::release(WidgetMouseId::kDragButton):
        button.action = UIA::kReleased;
        handleMouseEvent(UIA::EventId::kMouseButton, &button);
        onMouseEvent(id, event);
        return;
    case UIA::EventId::kMouseLeft:
        handleMouseEvent(UIA::EventId::kMouseLeft, &position);
        onMouseEvent(id, event);
        return;
    case WidgetMouseId::drag(WidgetMouseId::kDragButton):
        switch (handleMouseEvent(UIA::EventId::kMouseMoveCaptured, &position)) {
        case UIA::DropSource::kTracking:
            return;
        case UIA::DropSource::kStartDrag:
            if (pane_) {
                pane_->setHoverWidget(nullptr);
                pane_->setPressedWidget(nullptr);
            }
            runDragAction(event);
            return;
        default:
            onMouseEvent(id, event);
            return;
        }
    default:
        onMouseEvent(id, event);
        return;
    }
}

}  // namespace QX::NWL
