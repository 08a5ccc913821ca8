#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gp/Geometry.h"
#include "gp/Region.h"
#include "gp/Symbol.h"
#include "nwl/core/DragDrop.h"
#include "nwl/core/WidgetEvents.h"
#include "nwl/core/WidgetFlags.h"
#include "nwl/core/WidgetGeometry.h"
#include "nwl/style/IStyledWidget.h"

namespace QX::NWL {

class Pane;
struct PaintContext;

// The base of every element of a widget tree. Widgets are always owned by
// shared pointers: a parent owns its children, a pane its root and overlays.
// A widget keeps its geometry, its flag word (WidgetFlags.h), its style
// identity and two dirty indicators; the pane's passes resolve geometry,
// apply styles, collect damage and route input.
class Widget : public DragDropEventTarget,
               public DragDropSource,
               public IStyledWidget,
               public std::enable_shared_from_this<Widget> {
public:
    using tChildren = std::vector<std::shared_ptr<Widget>>;
    using tAttributes = std::map<qx::symbol, std::string>;
    using tHitPredicate = std::function<bool(GP::Point widgetRelative)>;

    // All bits: repaint everything of the widget.
    static constexpr std::uint32_t kDefaultDirtyMask = 0xFFFFFFFFu;

    // What getDamage answers.
    enum DamageKind { kNoOwnDamage = 0, kWholeWidget = 1, kFilledRegion = 2 };

    Widget();
    ~Widget() override;

    // --- identity
    qx::symbol getName() const override { return name_; }
    void setName(std::string_view name) { name_ = qx::symbol(name); }
    qx::symbol getStyleClass() const override { return styleClass_; }
    std::int32_t getHelpId() const { return helpId_; }
    void setHelpId(std::int32_t helpId) { helpId_ = helpId; }
    const tAttributes& getAttributes() const { return attributes_; }
    // The widget's own attribute of that name, or null.
    const std::string* findAttribute(qx::symbol name) const;
    // Stores a named text attribute; a change makes the widget and its
    // subtree style-pending.
    void setAttribute(std::string_view name, std::string value);
    // Sets the style class (null keeps it), starts the widget at its 18 by 18
    // minimum size and makes the subtree style-pending.
    void setStyleClass(const char* styleClass);

    std::shared_ptr<Widget> getSharedPtr() { return shared_from_this(); }
    std::shared_ptr<const Widget> getSharedPtr() const { return shared_from_this(); }

    // --- tree
    Widget* getParent() const { return parent_; }
    Pane* getPane() const { return pane_; }
    const tChildren& getChildren() const { return children_; }
    // Names the child and appends it, moving it from its old parent.
    void addChild(std::shared_ptr<Widget> child, std::string_view name = {});
    // False for the end position.
    bool removeChild(tChildren::const_iterator position);
    bool removeChild(const Widget* child);
    void setPane(Pane* pane);
    // The children sorted by z-index (equal ones keep insertion order).
    const tChildren& getSortedChildren();
    void refreshSortedChildren();
    void addToSubtreeCount(std::int32_t delta);
    std::int32_t getFlaggedDescendantCount() const { return flaggedDescendants_; }
    // Whether this widget is `other` or one of its ancestors.
    bool isSelfOrAncestorOf(const Widget* other) const;

    // --- flags and states
    std::uint32_t getFlags() const { return flags_; }
    std::uint32_t getFlagWord() const override { return flags_; }
    bool hasFlags(std::uint32_t all) const { return (flags_ & all) == all; }
    // Sets or clears bits without any further effect; the named setters
    // below ask for the repaint or layout a change needs.
    void setFlags(std::uint32_t mask, bool on);
    bool isVisible() const { return hasFlags(WidgetFlag::kVisibleBoth); }
    bool isShown() const { return hasFlags(WidgetFlag::kShown); }
    bool isEnabled() const { return hasFlags(WidgetFlag::kEnabledBoth); }
    bool isOverlay() const { return overlay_; }
    void setOverlay(bool overlay) { overlay_ = overlay; }
    void setVisible(bool visible);
    void setEnabled(bool enabled);
    void setSelected(bool selected);
    void setTracksHover(bool tracksHover);
    void setExplicitlyPlaced(bool placed);
    // Sets 0x100000 and keeps the ancestors' flagged-descendant counts.
    void setWantsGeometryNotifications(bool wants);

    // --- geometry (position relative to the parent's inner area)
    GP::Point getPosition() const { return position_; }
    Size getSize() const { return size_; }
    std::int32_t getWidth() const { return size_.width; }
    std::int32_t getHeight() const { return size_.height; }
    Size getMinimumSize() const { return minimumSize_; }
    Size getMaximumSize() const { return maximumSize_; }
    const Margins& getMargins() const { return margins_; }
    const Margins& getOuterMargins() const { return outerMargins_; }
    GP::Point getScrollOffset() const { return scrollOffset_; }
    GP::Point getAbsolutePosition() const { return absolutePosition_; }
    std::int32_t getZIndex() const { return zIndex_; }
    // The visible part in pane coordinates, clipped by the ancestors.
    const GP::Rect& getVisibleRect() const { return visibleRect_; }
    // The whole widget in pane coordinates.
    GP::Rect getAbsoluteRect() const;
    // The widget in its parent's inner coordinates.
    GP::Rect getRect() const { return GP::Rect::fromSize(position_.x, position_.y, size_.width, size_.height); }

    void setPosition(GP::Point position);
    void setPosition(std::int32_t x, std::int32_t y) { setPosition(GP::Point{x, y}); }
    // Clamped to the limits; see WidgetGeometry for which change asks for what.
    void setSize(Size size);
    void setSize(std::int32_t width, std::int32_t height) { setSize(Size{width, height}); }
    virtual void setWidth(std::int32_t width);
    virtual void setHeight(std::int32_t height);
    void setMinimumSize(Size size);
    void setMaximumSize(Size size);
    void setMargins(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    void setMargins(const Margins& margins) { setMargins(margins.left, margins.top, margins.right, margins.bottom); }
    void setOuterMargins(const Margins& margins);
    void setScrollOffset(GP::Point offset);

    // --- dirty marking
    // ORs the mask (0: all bits) into the dirty mask and asks the pane for a
    // repaint.
    std::atomic<std::uint32_t>& markDirty(std::uint32_t mask = 0);
    void invalidate();
    void invalidateLayout();
    void markStyleDirty();
    // Adds a widget-relative area to the widget's own invalid region.
    void invalidateRegion(const GP::Rect& widgetRelative);
    std::uint32_t takeDirtyMask() { return dirtyMask_.exchange(0); }
    std::uint32_t peekDirtyMask() const { return dirtyMask_.load(); }
    bool isGeometryPending() const { return geometryPending_.load() != 0; }
    GP::Region& getInvalidRegion() { return invalidRegion_; }
    // The union of the children's opaque regions, rebuilt by the update pass.
    const GP::Region& getChildrenOpaqueRegion() const { return opaqueRegion_; }

    // --- hit testing
    void setHitPredicate(tHitPredicate predicate) { hitPredicate_ = std::move(predicate); }
    // False only when a hit predicate refuses the widget-relative point.
    bool acceptsHit(GP::Point widgetRelative) const;

    // --- timers (in pane ticks)
    // Negative counts as 0 (stop); without a pane the value waits for the
    // next update pass in a pane.
    void setTimerInterval(std::int32_t ticks);
    std::int32_t getPendingTimerInterval() const { return pendingTimerInterval_; }

    // The display scale of the pane (1.0 outside a pane).
    float getScale() const;

    // --- passes run by the pane
    // Resolves shown state, style, geometry and layout for the subtree.
    void update(Pane& pane, const GP::Rect& clip, GP::Region& damage);
    // Hands a widget mouse event to the drag source and the widget.
    void dispatchMouseEvent(std::uint32_t id, const WidgetMouseEvent& event);

    // --- style identity for the style sheets
    bool isPressedInPane() const override;
    bool isHoveredInPane() const override;
    bool isFocusInPane() const override;
    bool isKeyWidgetInPane() const override;
    bool isDormant() const override { return false; }
    std::optional<std::int32_t> getBarDirection() const override { return std::nullopt; }
    std::optional<bool> getSliderHorizontal() const override { return std::nullopt; }
    void forEachChild(const std::function<void(const IStyledWidget&)>& visit) const override;
    const IStyledWidget* getStyledParent() const override { return parent_; }
    const std::string* findOwnAttribute(qx::symbol name) const override { return findAttribute(name); }
    StyleSheet* getEffectiveStyleSheet() const override;
    const IStyledWidget* getPaneRootWidget() const override;

    // --- hooks for concrete widgets
    virtual void onPaneChanged(Pane* pane) {}
    // The widget's own geometry changed in the update pass.
    virtual void updateSize() {}
    virtual void onGeometryChanged() {}
    virtual void onShown(bool shown) {}
    virtual void paint(PaintContext& context) {}
    // True takes the hit for the point without asking the children.
    virtual bool capturesPoint(bool inside, std::int32_t x, std::int32_t y) { return false; }
    virtual bool capturesDropPoint(bool inside, std::int32_t x, std::int32_t y) { return false; }
    virtual void onMouseEvent(std::uint32_t id, const WidgetMouseEvent& event) {}
    virtual void onMouseWheel(const WidgetWheelEvent& event) { propagateToParent(event); }
    virtual bool onKeyEvent(std::uint32_t id, const WidgetKeyEvent& event) { return false; }
    virtual void onTimer() {}
    virtual void onKeyFocusChanged() {}
    virtual void applyStyle();
    virtual void onLayout() {}
    virtual bool getOpaqueRegion(GP::Region& out);
    // kNoOwnDamage, kWholeWidget or kFilledRegion (widget-relative, in out).
    virtual int getDamage(GP::Region& out, std::uint32_t dirtyMask) { return kNoOwnDamage; }

protected:
    void propagateToParent(const WidgetWheelEvent& event);
    // Marks the widget and its subtree shown or not shown in the pane.
    void updateShownState(Pane* pane, bool shown, bool recursing = false);
    // Recomputes the absolute position and the visible rectangle; answers
    // whether the visible rectangle changed (old and new then go to damage
    // when collecting).
    bool updateGeometry(const GP::Rect& clip, GP::Region* damage);
    // updateGeometry against the parent's inner area, without damage.
    void refreshGeometry();
    // The parent's inner area in pane coordinates (the whole pane plane at
    // the root).
    GP::Rect getInnerRect() const;

private:
    friend class Pane;

    // Makes the style sheets forget the rules they cached for the subtree.
    void forgetStyleCaches();
    // Drops the widget's own style record and cached rules (it is going).
    void eraseStyleEntry();
    void setSizeClamped(Size size);
    void addOldAreaToParent(GP::Point position, Size size);
    void markPane(std::uint32_t bits);

    qx::symbol name_;
    std::int32_t helpId_ = -1;
    Widget* parent_ = nullptr;
    tChildren children_;
    Pane* pane_ = nullptr;
    GP::Point position_;
    GP::Point scrollOffset_;
    GP::Point absolutePosition_;
    std::int32_t zIndex_ = 0;
    tChildren sortedChildren_;
    Size size_;
    Size minimumSize_;
    Size maximumSize_;
    Margins margins_;
    Margins outerMargins_;
    GP::Rect visibleRect_;
    qx::symbol styleClass_;
    tAttributes attributes_;
    std::int32_t pendingTimerInterval_ = 0;
    std::uint32_t flags_ = WidgetFlag::kInitial;
    bool overlay_ = false;
    std::atomic<std::uint32_t> dirtyMask_{0};
    std::atomic<std::uint8_t> geometryPending_{0};
    GP::Region invalidRegion_;
    GP::Region opaqueRegion_;
    tHitPredicate hitPredicate_;
    std::int32_t flaggedDescendants_ = 0;
};

}  // namespace QX::NWL
