#include "nwl/core/Pane.h"

#include <algorithm>

#include "nwl/core/Widget.h"
#include "uia/EventIds.h"
#include "uia/WindowEvents.h"

namespace QX::NWL {
namespace {

using namespace WidgetFlag;

// The rectangle updateLayout lays the tree out in before the pane's real
// size is known to the repaint pass.
constexpr GP::Rect kInitialLayoutRect{0, 0, 100, 100};

std::vector<Pane*>& livePanes() {
    static std::vector<Pane*> panes;
    return panes;
}

// A strong reference that keeps a widget alive while an event or callback is
// delivered to it: handlers may take it out of the tree.
std::shared_ptr<Widget> keepAlive(Widget* widget) {
    return widget ? widget->weak_from_this().lock() : nullptr;
}

void addRegionMoved(GP::Region& out, const GP::Region& region, GP::Point by) {
    for (const GP::RegionNode* node = region.first(); node; node = node->next) {
        GP::Rect rect = node->rect;
        rect.offset(by.x, by.y);
        out.addRect(rect);
    }
}

// Forgets what the subtree of a widget that is repainted whole asked for.
void clearDamageBelow(Widget& widget) {
    for (const auto& child : widget.getChildren()) {
        child->takeDirtyMask();
        child->getInvalidRegion().clear();
        clearDamageBelow(*child);
    }
}

// Every framework mouse record begins with the pointer position and the
// modifier word.
struct tPointerState {
    GP::Point position;
    std::uint32_t modifiers = 0;
};

tPointerState readPointerState(std::uint32_t id, const void* data) {
    switch (id) {
    case UIA::EventId::kMouseButton: {
        const auto& event = *static_cast<const UIA::MouseButtonEvent*>(data);
        return {{event.x, event.y}, event.modifiers};
    }
    case UIA::EventId::kMouseWheel: {
        const auto& event = *static_cast<const UIA::MouseWheelEvent*>(data);
        return {{event.x, event.y}, event.modifiers};
    }
    case UIA::EventId::kMouseRawMotion: {
        const auto& event = *static_cast<const UIA::RawMouseMotionEvent*>(data);
        return {{event.x, event.y}, event.modifiers};
    }
    default: {
        const auto& event = *static_cast<const UIA::MousePositionEvent*>(data);
        return {{event.x, event.y}, event.modifiers};
    }
    }
}

WidgetKeyEvent readKeyEvent(std::uint32_t id, const void* data) {
    WidgetKeyEvent key;
    switch (id) {
    case UIA::EventId::kKeyPressed: {
        const auto& event = *static_cast<const UIA::KeyPressEvent*>(data);
        key.code = event.code;
        key.keyId = event.keyId;
        key.firstPress = event.firstPress != 0;
        break;
    }
    case UIA::EventId::kKeyReleased: {
        const auto& event = *static_cast<const UIA::KeyReleaseEvent*>(data);
        key.code = event.code;
        key.keyId = event.keyId;
        break;
    }
    case UIA::EventId::kModifiersChanged:
        key.modifiers = static_cast<const UIA::ModifiersEvent*>(data)->modifiers;
        break;
    case UIA::EventId::kTextTyped:
    case UIA::EventId::kDeadKey:
        key.text = static_cast<const char*>(data);
        break;
    default:
        break;
    }
    return key;
}

// The hit test of one widget and its subtree; `drop` asks capturesDropPoint
// instead of capturesPoint.
Pane::tHit hitTest(Widget& widget, GP::Point point, bool drop) {
    if (!widget.isVisible() || !(widget.getFlags() & kDrawn) || !widget.isEnabled())
        return {};
    const bool inside = widget.getVisibleRect().contains(point);
    const bool captures = drop ? widget.capturesDropPoint(inside, point.x, point.y)
                               : widget.capturesPoint(inside, point.x, point.y);
    if (captures)
        return {&widget, false, true};
    if (!inside)
        return {};
    const auto& children = widget.getSortedChildren();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        Pane::tHit hit = hitTest(**child, point, drop);
        if (hit.widget)
            return hit;
    }
    const GP::Point absolute = widget.getAbsolutePosition();
    if (!widget.acceptsHit(GP::Point{point.x - absolute.x, point.y - absolute.y}))
        return {};
    return {&widget, false, false};
}

// Counts a running timer dispatch, also when onTimer throws.
class DispatchDepthScope {
public:
    explicit DispatchDepthScope(std::int32_t& depth) : depth_(depth) { ++depth_; }
    ~DispatchDepthScope() { --depth_; }
    DispatchDepthScope(const DispatchDepthScope&) = delete;
    DispatchDepthScope& operator=(const DispatchDepthScope&) = delete;

private:
    std::int32_t& depth_;
};

}  // namespace

// ---------------------------------------------------------------- help

const std::string* HelpProvider::findEntry(std::int32_t helpId) const {
    auto found = entries_.find(helpId);
    return found == entries_.end() ? nullptr : &found->second;
}

// ---------------------------------------------------------------- life

Pane::Pane() { livePanes().push_back(this); }

Pane::~Pane() {
    // The tree and the overlays go without telling this half-destroyed pane
    // anything.
    if (root_)
        clearPaneSilently(*root_);
    for (const auto& overlay : overlays_) {
        if (overlay->pane_ == this)
            clearPaneSilently(*overlay);
    }
    std::erase(livePanes(), this);
}

void Pane::clearPaneSilently(Widget& top) {
    std::vector<Widget*> pending{&top};
    while (!pending.empty()) {
        Widget* widget = pending.back();
        pending.pop_back();
        widget->pane_ = nullptr;
        for (const auto& child : widget->children_)
            pending.push_back(child.get());
    }
}

const std::vector<Pane*>& Pane::getLivePanes() { return livePanes(); }

// ---------------------------------------------------------------- tree

void Pane::takeOverlaysOutOfParents() {
    // Removal edits the overlay list: walk a copy.
    const std::vector<std::shared_ptr<Widget>> overlays = overlays_;
    for (const auto& overlay : overlays) {
        if (Widget* parent = overlay->getParent())
            parent->removeChild(overlay.get());
    }
}

void Pane::setRootWidget(std::shared_ptr<Widget> root, std::string_view name) {
    takeOverlaysOutOfParents();
    // Held until the end: the pane may hold the only reference to the old root.
    const std::shared_ptr<Widget> oldRoot = root_;
    if (oldRoot)
        oldRoot->setPane(nullptr);
    root_.reset();
    if (!root)
        return;
    if (Widget* parent = root->getParent())
        parent->removeChild(root.get());
    root_ = root;
    root->setPane(this);
    root->setName(name);
    root->setSize(size_);
    root->flags_ |= kStylePending;
    root->invalidate();
    root->markStyleDirty();
    root->invalidate();
    updateLayout();
}

void Pane::setSize(Size size) {
    if (size == size_)
        return;
    size_ = size;
    if (root_) {
        root_->setSize(size);
        root_->invalidate();
    }
    takeOverlaysOutOfParents();
}

void Pane::forgetWidget(Widget* widget) {
    if (!widget)
        return;
    std::shared_ptr<Widget> keep = keepAlive(widget);
    if (entered_ == widget)
        entered_ = nullptr;
    if (root_.get() == widget)
        root_.reset();
    if (hover_ == widget)
        hover_ = nullptr;
    if (pressed_ == widget) {
        setPressedWidget(nullptr);
        clearButtons();
        doubleClicked_ = false;
    }
    if (previousFocus_ == widget)
        previousFocus_ = nullptr;
    if (focus_ == widget) {
        focus_ = nullptr;
        if (Widget* parent = widget->getParent())
            setFocusWidget(parent);
    }
    if (key_ == widget)
        key_ = nullptr;
    dropOverlay(widget);
    stopWidgetTimer(widget);
    if (filterOwner_ == widget) {
        mouseFilter_ = nullptr;
        filterOwner_ = nullptr;
    }
}

bool Pane::ownsOverlayDirectly(const Widget& widget) const {
    return !widget.getParent() && widget.getPane() == this && &widget != root_.get();
}

void Pane::addWidget(std::shared_ptr<Widget> widget) {
    if (!widget)
        return;
    // One added again moves to the top and stays in this pane, its roles
    // and timer kept.
    dropOverlay(widget.get());
    const bool first = overlays_.empty();
    overlays_.push_back(widget);
    // An overlay outside the tree belongs to the pane itself: it gets the
    // pane, a style and geometry from the passes that walk the overlays.
    if (!widget->getParent() && widget->getPane() != this) {
        widget->setPane(this);
        widget->markStyleDirty();
    }
    if (first)
        overlaySignal_(true);
}

void Pane::removeWidget(Widget* widget) {
    if (!widget)
        return;
    const std::shared_ptr<Widget> keep = keepAlive(widget);
    const bool wasOverlay = std::any_of(overlays_.begin(), overlays_.end(),
                                        [widget](const auto& entry) { return entry.get() == widget; });
    if (wasOverlay && ownsOverlayDirectly(*widget)) {
        // What it covered is painted again, and the pane forgets it.
        if (root_ && widget->isShown()) {
            GP::Rect covered = widget->getVisibleRect();
            covered.offset(-root_->getAbsolutePosition().x, -root_->getAbsolutePosition().y);
            root_->invalidateRegion(covered);
        }
        dropOverlay(widget);
        widget->setPane(nullptr);
        return;
    }
    dropOverlay(widget);
}

void Pane::dropOverlay(Widget* widget) {
    auto found = std::find_if(overlays_.begin(), overlays_.end(),
                              [widget](const auto& entry) { return entry.get() == widget; });
    if (found == overlays_.end())
        return;
    const std::shared_ptr<Widget> keep = *found;
    overlays_.erase(found);
    if (overlays_.empty())
        overlaySignal_(false);
}

std::vector<std::shared_ptr<Widget>> Pane::overlaysOwnedDirectly() const {
    std::vector<std::shared_ptr<Widget>> owned;
    for (const auto& overlay : overlays_) {
        if (ownsOverlayDirectly(*overlay))
            owned.push_back(overlay);
    }
    return owned;
}

// ---------------------------------------------------------------- passes

GP::Rect Pane::getRect() const { return GP::Rect::fromSize(0, 0, size_.width, size_.height); }

void Pane::invalidate() {
    if (root_)
        root_->markDirty();
    dirty_.fetch_or(kRepaintBit);
}

void Pane::updateLayout() {
    if (!root_)
        return;
    GP::Region ignored;
    runLayoutPasses(kInitialLayoutRect, ignored);
    root_->invalidate();
}

std::uint32_t Pane::runLayoutPasses(const GP::Rect& clip, GP::Region& damage) {
    std::uint32_t result = 0;
    for (int pass = 0;; ++pass) {
        const std::uint32_t taken = dirty_.exchange(0);
        if (pass == kMaxLayoutPasses) {
            // Layout asked for by the last pass is dropped rather than looping
            // on; a repaint it asked for is kept.
            result |= taken & kRepaintBit;
            break;
        }
        result |= taken;
        if (!(taken & kLayoutBit) || !root_)
            break;
        std::shared_ptr<Widget> root = root_;
        root->update(*this, clip, damage);
        // Overlays in the tree were updated with it; the others stand alone.
        for (const auto& overlay : overlaysOwnedDirectly())
            overlay->update(*this, clip, damage);
        result &= ~kLayoutBit;
    }
    return result;
}

void Pane::getDirtyRegion(GP::Region& out) {
    if (!root_)
        return;
    std::shared_ptr<Widget> root = root_;
    const std::uint32_t bits = runLayoutPasses(getRect(), out);
    if (bits & kRepaintBit) {
        const std::vector<std::shared_ptr<Widget>> overlays = overlays_;
        for (auto overlay = overlays.rbegin(); overlay != overlays.rend(); ++overlay)
            collectInvalidRegion(**overlay, out);
        if (root_)
            collectInvalidRegion(*root_, out);
    }
    out.intersect(getRect());
}

void Pane::collectInvalidRegion(Widget& widget, GP::Region& out) {
    const std::uint32_t mask = widget.takeDirtyMask();
    GP::Region local;
    const int kind = widget.getDamage(local, mask);
    const GP::Point absolute = widget.getAbsolutePosition();
    bool whole = false;
    if ((kind == Widget::kNoOwnDamage && mask != 0) || kind == Widget::kWholeWidget) {
        out.addRect(widget.getVisibleRect());
        whole = true;
    } else if (kind == Widget::kNoOwnDamage) {
        addRegionMoved(out, widget.getInvalidRegion(), absolute);
    } else if (kind == Widget::kFilledRegion) {
        addRegionMoved(out, local, absolute);
    }
    widget.getInvalidRegion().clear();
    if (whole) {
        clearDamageBelow(widget);
        return;
    }
    for (const auto& child : widget.getChildren()) {
        if (child->getFlags() & (kVisible | kShown))
            collectInvalidRegion(*child, out);
    }
}

// ---------------------------------------------------------------- hit test

Pane::tHit Pane::widgetAt(std::uint32_t eventId, GP::Point point) const {
    const bool drop = eventId == UIA::EventId::kDragOver;
    for (auto overlay = overlays_.rbegin(); overlay != overlays_.rend(); ++overlay) {
        tHit hit = hitTest(**overlay, point, drop);
        if (hit.widget) {
            hit.overlay = true;
            return hit;
        }
    }
    if (!root_)
        return {};
    return hitTest(*root_, point, drop);
}

// ---------------------------------------------------------------- mouse

bool Pane::isButtonDown(std::uint32_t button) const {
    return button < buttonsDown_.size() && buttonsDown_[button] != 0;
}

void Pane::clearButtons() { buttonsDown_.fill(0); }

int Pane::firstHeldButton() const {
    for (std::size_t b = 0; b < buttonsDown_.size(); ++b) {
        if (buttonsDown_[b])
            return int(b);
    }
    return -1;
}

WidgetMouseEvent Pane::relativeEvent(const Widget& widget, std::uint32_t modifiers, std::uint32_t button,
                                     std::uint32_t kind) const {
    const GP::Point absolute = widget.getAbsolutePosition();
    WidgetMouseEvent event;
    event.x = pointer_.x - absolute.x;
    event.y = pointer_.y - absolute.y;
    event.modifiers = modifiers;
    event.button = button;
    event.kind = kind;
    return event;
}

void Pane::sendMouse(Widget* widget, std::uint32_t id, const WidgetMouseEvent& event) {
    if (!widget)
        return;
    std::shared_ptr<Widget> keep = keepAlive(widget);
    widget->dispatchMouseEvent(id, event);
}

void Pane::setMouseFilter(tMouseFilter filter, Widget* owner) {
    mouseFilter_ = std::move(filter);
    filterOwner_ = mouseFilter_ ? owner : nullptr;
}

void Pane::handleMouseEvent(std::uint32_t id, const void* data) {
    if (!root_ || !data)
        return;
    const std::shared_ptr<Widget> root = root_;
    const tPointerState state = readPointerState(id, data);
    pointer_ = state.position;
    tHit hit;
    if (id != UIA::EventId::kMouseLeft)
        hit = widgetAt(id, pointer_);
    const std::shared_ptr<Widget> under = keepAlive(hit.widget);
    if (!pressed_ && ((mouseFilter_ && mouseFilter_(under.get(), id, data)) || hit.captured))
        id = UIA::EventId::kMouseLeft;

    switch (id) {
    case UIA::EventId::kMouseButton: {
        const auto& event = *static_cast<const UIA::MouseButtonEvent*>(data);
        if (event.action == UIA::kReleased)
            handleRelease(event, under.get());
        else
            handleButtonPress(event, under.get());
        break;
    }
    case UIA::EventId::kMouseMoveCaptured:
        handleCapturedMove(state.modifiers, under.get());
        break;
    case UIA::EventId::kMouseMove:
        handleMove(state.modifiers, under.get());
        break;
    case UIA::EventId::kMouseWheel:
        handleWheel(*static_cast<const UIA::MouseWheelEvent*>(data), under.get());
        break;
    case UIA::EventId::kMouseEntered:
        if (hoverCallback_)
            hoverCallback_(nullptr);
        setHoverWidget(under.get());
        break;
    case UIA::EventId::kMouseLeft:
        handleCaptureLoss();
        break;
    case UIA::EventId::kMouseRawMotion:
        if (hover_) {
            const auto& raw = *static_cast<const UIA::RawMouseMotionEvent*>(data);
            WidgetMouseEvent event = relativeEvent(*hover_, state.modifiers, 0, 0);
            event.dx = raw.dx;
            event.dy = raw.dy;
            sendMouse(hover_, id, event);
        }
        break;
    default:
        break;
    }
}

void Pane::handleRelease(const UIA::MouseButtonEvent& event, Widget* underPointer) {
    const std::shared_ptr<Widget> target = keepAlive(pressed_ ? pressed_ : underPointer);
    setHoverWidget(underPointer);
    if (target) {
        for (std::uint32_t b = 0; b < buttonsDown_.size(); ++b) {
            if (!buttonsDown_[b])
                continue;
            sendMouse(target.get(), WidgetMouseId::release(b),
                      relativeEvent(*target, event.modifiers, b, UIA::kReleased));
            if (hover_ == pressed_ && !doubleClicked_ && pressed_ == target.get())
                sendMouse(target.get(), WidgetMouseId::click(b),
                          relativeEvent(*target, event.modifiers, b, UIA::kReleased));
        }
    }
    doubleClicked_ = false;
    setPressedWidget(nullptr);
    clearButtons();
}

void Pane::handleButtonPress(const UIA::MouseButtonEvent& event, Widget* underPointer) {
    // A press over nothing, over a disabled widget or of a button without a
    // byte of its own reaches nobody.
    if (!underPointer || !underPointer->isEnabled() || event.button >= buttonsDown_.size())
        return;
    const std::shared_ptr<Widget> widget = keepAlive(underPointer);
    if (!pressed_) {
        setFocusWidget(underPointer);
        setKeyWidget(underPointer);
        setPressedWidget(underPointer);
        clearButtons();
    }
    const std::uint32_t b = event.button;
    buttonsDown_[b] = 1;
    setHoverWidget(underPointer);
    sendMouse(underPointer, WidgetMouseId::press(b), relativeEvent(*underPointer, event.modifiers, b, event.action));
    doubleClicked_ = false;
    if (pressed_ && event.action == UIA::kDoubleClicked) {
        sendMouse(underPointer, WidgetMouseId::doubleClick(b),
                  relativeEvent(*underPointer, event.modifiers, b, event.action));
        doubleClicked_ = true;
    }
}

void Pane::handleCapturedMove(std::uint32_t modifiers, Widget* underPointer) {
    const int held = firstHeldButton();
    if (!pressed_) {
        setHoverWidget(underPointer);
        if (held >= 0 && underPointer)
            sendMouse(underPointer, WidgetMouseId::drag(held),
                      relativeEvent(*underPointer, modifiers, held, 0));
        return;
    }
    const std::shared_ptr<Widget> pressed = keepAlive(pressed_);
    if (underPointer != pressed.get())
        pressed->markDirty();
    if (pressed->getFlags() & kHoverFollowsPointer)
        setHoverWidget(underPointer);
    if (held >= 0)
        sendMouse(pressed.get(), WidgetMouseId::drag(held), relativeEvent(*pressed, modifiers, held, 0));
}

void Pane::updateHover(Widget* underPointer) {
    setHoverWidget(underPointer);
    if (hover_ == entered_)
        return;
    if (const std::shared_ptr<Widget> left = keepAlive(entered_))
        sendMouse(left.get(), UIA::EventId::kMouseLeft, relativeEvent(*left, 0, 0, 0));
    entered_ = hover_;
    if (const std::shared_ptr<Widget> entered = keepAlive(entered_))
        sendMouse(entered.get(), UIA::EventId::kMouseEntered, relativeEvent(*entered, 0, 0, 0));
}

void Pane::handleMove(std::uint32_t modifiers, Widget* underPointer) {
    updateHover(underPointer);
    const std::shared_ptr<Widget> hover = keepAlive(hover_);
    if (!hover)
        return;
    if (hoverCallback_)
        hoverCallback_(hover.get());
    if (helpProvider_)
        showHelp(hover.get(), pointer_.x, pointer_.y);
    sendMouse(hover.get(), UIA::EventId::kMouseMove, relativeEvent(*hover, modifiers, 0, 0));
}

void Pane::handleWheel(const UIA::MouseWheelEvent& event, Widget* underPointer) {
    if (!underPointer || pressed_)
        return;
    const std::shared_ptr<Widget> widget = keepAlive(underPointer);
    const GP::Point absolute = widget->getAbsolutePosition();
    WidgetWheelEvent wheel;
    wheel.x = pointer_.x - absolute.x;
    wheel.y = pointer_.y - absolute.y;
    wheel.modifiers = event.modifiers;
    wheel.notches = -(event.delta / 120);
    wheel.vertical = event.vertical != 0;
    widget->onMouseWheel(wheel);
}

void Pane::handleCaptureLoss() {
    if (hoverCallback_)
        hoverCallback_(nullptr);
    if (helpProvider_)
        helpProvider_->hide();
    updateHover(nullptr);
    doubleClicked_ = false;
}

void Pane::showHelp(Widget* widget, std::int32_t x, std::int32_t y) {
    if (!helpProvider_)
        return;
    for (Widget* w = widget; w; w = w->getParent()) {
        if (w->getHelpId() < 0)
            continue;
        const std::string* entry = helpProvider_->findEntry(w->getHelpId());
        if (entry && w->getVisibleRect().contains(GP::Point{x, y}))
            helpProvider_->show(*w, *entry);
        else
            helpProvider_->hide();
        return;
    }
    helpProvider_->hide();
}

// ---------------------------------------------------------------- roles

void Pane::setHoverWidget(Widget* widget) {
    if (widget == hover_)
        return;
    if (hover_ && (hover_->getFlags() & kTracksHover))
        hover_->markDirty();
    hover_ = widget;
    if (widget && (widget->getFlags() & kTracksHover) && widget->isEnabled())
        widget->markDirty();
}

void Pane::setPressedWidget(Widget* widget) {
    if (widget == pressed_)
        return;
    if (pressed_)
        pressed_->markDirty();
    if (widget)
        widget->markDirty();
    pressed_ = widget;
}

// The widget or its nearest ancestor with the flag; without one, the top of
// the chain (which callers check for the flag).
static Widget* selfOrAncestorWith(Widget* widget, std::uint32_t flag) {
    while (widget && !(widget->getFlags() & flag) && widget->getParent())
        widget = widget->getParent();
    return widget;
}

void Pane::setFocusWidget(Widget* widget) {
    Widget* target = selfOrAncestorWith(widget, kFocusable);
    if (target && (target->getFlags() & kFocusable) && target != focus_) {
        if (focus_)
            focus_->markDirty();
        previousFocus_ = focus_;
        focus_ = target;
        target->markDirty();
    }
    if (focus_)
        focusWindow();
}

void Pane::clearFocusWidget() {
    if (focus_)
        focus_->markDirty();
    focus_ = nullptr;
}

void Pane::setKeyWidget(Widget* widget) {
    Widget* target = selfOrAncestorWith(widget, kTakesKeys);
    if (target == key_)
        return;
    const std::shared_ptr<Widget> oldKey = keepAlive(key_);
    key_ = (target && (target->getFlags() & kTakesKeys) && target->isEnabled()) ? target : nullptr;
    const std::shared_ptr<Widget> newKey = keepAlive(key_);
    updateGlobalInputFlag(key_ != nullptr);
    if (oldKey) {
        oldKey->markDirty();
        oldKey->onKeyFocusChanged();
    }
    setFocusWidget(newKey.get());
    if (newKey) {
        newKey->markDirty();
        newKey->onKeyFocusChanged();
    }
}

// ---------------------------------------------------------------- keys

bool Pane::dispatchKeyEvent(std::uint32_t id, const WidgetKeyEvent& event) {
    const auto offerUpwards = [&](Widget* start, std::uint32_t flag) {
        for (std::shared_ptr<Widget> widget = keepAlive(start); widget;
             widget = keepAlive(widget->getParent())) {
            if ((widget->getFlags() & flag) && widget->isEnabled() && widget->onKeyEvent(id, event))
                return true;
        }
        return false;
    };
    if (offerUpwards(key_, kTakesKeys))
        return true;
    return keyFallback_ && offerUpwards(focus_, kFocusable);
}

bool Pane::handleEvent(std::uint32_t id, void* data) {
    if (id >= 1000 && id <= 1099) {
        handleMouseEvent(id, data);
        return root_ != nullptr;
    }
    if (id >= 1100 && id <= 1199) {
        if (!data)
            return false;
        return dispatchKeyEvent(id, readKeyEvent(id, data));
    }
    return false;
}

// ---------------------------------------------------------------- timers

std::int32_t Pane::getTimerInterval(int index) const {
    if (index < 0 || index >= kTimerIntervalCount)
        return 0;
    return timerIntervals_[std::size_t(index)];
}

void Pane::startWidgetTimer(Widget* widget, std::int32_t ticks) {
    if (!widget || ticks < 1)
        return;
    timers_[widget] = ticks;
}

void Pane::stopWidgetTimer(Widget* widget) {
    auto found = timers_.find(widget);
    if (found != timers_.end())
        found->second = 0;
}

std::int32_t Pane::getWidgetTimerCount(const Widget* widget) const {
    auto found = timers_.find(const_cast<Widget*>(widget));
    return found == timers_.end() ? 0 : found->second;
}

void Pane::dispatchTimers() {
    for (auto entry = timers_.begin(); entry != timers_.end();) {
        // Found first: the current entry may be erased.
        const auto next = std::next(entry);
        if (entry->second == 0) {
            if (dispatchDepth_ == 0)
                timers_.erase(entry);
        } else if (entry->first->isVisible() && --entry->second == 0) {
            const std::shared_ptr<Widget> widget = keepAlive(entry->first);
            DispatchDepthScope depth(dispatchDepth_);
            if (widget)
                widget->onTimer();
        }
        entry = next;
    }
}

}  // namespace QX::NWL
