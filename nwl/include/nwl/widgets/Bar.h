#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "nwl/core/WidgetTemplate.h"
#include "nwl/widgets/PanelDrawer.h"

namespace QX::NWL {

// The container widget: lays its children out along one axis, one after the
// other in list order, and gives each the bar's inner breadth on the other
// axis. One child may be flexible and take the length the others leave; a
// breadth callback may size the bar's breadth from its children. The bar
// draws its styled panel and nothing else.
class Bar : public WidgetTemplate<Bar> {
public:
    enum eDirection : std::uint32_t {
        eLeftToRight = 1,   // side by side, first child at the left
        eTopToBottom = 16,  // stacked, first child at the top
        eBottomToTop = 256, // stacked, first child at the bottom
        eRightToLeft = 4096 // side by side, first child at the right
    };
    static constexpr std::uint32_t kNoFlexibleElement = 0xFFFFFFFFu;

    using tBreadthCallback = std::function<void(Bar&)>;

    Bar();

    // Sets the direction (a change asks for a new layout) and the style class
    // (null keeps it), and installs the panel painting.
    Bar& setup(std::uint32_t direction, const char* styleClass);

    std::string_view getTypeName() const override;
    std::optional<std::int32_t> getBarDirection() const override { return std::int32_t(direction_); }

    std::uint32_t getDirection() const { return direction_; }
    std::int32_t getSpacing() const { return spacing_; }
    // The style's "spacing" replaces it at each style application.
    void setSpacing(std::int32_t spacing);
    bool isSideBySide() const { return isSideBySide(direction_); }
    static bool isSideBySide(std::uint32_t direction)
    {
        return direction == eLeftToRight || direction == eRightToLeft;
    }

    // The child at this index of the children list takes the length the
    // others leave; kNoFlexibleElement (or any index past the end) for none.
    void setFlexibleElement(std::uint32_t index);
    std::uint32_t getFlexibleElement() const { return flexibleElement_; }
    // The bar's length is computed by its owner: setWidth or setHeight along
    // the length axis are then ignored.
    void setLengthComputed(bool computed) { lengthComputed_ = computed; }
    bool isLengthComputed() const { return lengthComputed_; }

    // The breadth follows the widest (or tallest) child from now on.
    Bar& useBreadthFromChildren();
    void fitBreadthToChildren();
    void arrangeChildren(std::uint32_t direction, std::int32_t spacing);

    PanelDrawer& getPanelDrawer() { return panelDrawer_; }

    void updateSize() override;
    void applyStyle() override;
    void setWidth(std::int32_t width) override;
    void setHeight(std::int32_t height) override;

private:
    void sizeFlexibleElement();
    void reportStyledAndComputed(std::string_view property, std::string_view computedBy) const;

    std::uint32_t direction_ = eTopToBottom;
    std::int32_t spacing_ = 0;
    std::uint32_t flexibleElement_ = kNoFlexibleElement;
    tBreadthCallback breadthCallback_;
    bool lengthComputed_ = false;
    PanelDrawer panelDrawer_;
};

}  // namespace QX::NWL
