#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "gp/Symbol.h"

namespace QX::NWL {

class StyleSheet;

// What the style sheets need to know of a widget: its identity for selectors,
// the states that state conditions test, its place in the tree (ancestor
// selectors, palettes) and its children (so that a widget's cached rules can
// be forgotten with its subtree). The widget library's widgets implement it.
class IStyledWidget {
public:
    virtual ~IStyledWidget() = default;

    // The name that type selectors match ("Bar", "tree<Bar>").
    virtual std::string_view getTypeName() const = 0;
    virtual qx::symbol getStyleClass() const = 0;
    virtual qx::symbol getName() const = 0;

    // The flag word: enable bits 0x10 and 0x20, selected bit 0x40.
    virtual std::uint32_t getFlagWord() const = 0;
    // Each false for a widget that is in no pane.
    virtual bool isPressedInPane() const = 0;
    virtual bool isHoveredInPane() const = 0;
    virtual bool isFocusInPane() const = 0;
    virtual bool isKeyWidgetInPane() const = 0;
    virtual bool isDormant() const = 0;

    // A bar's layout direction; nothing for any other widget.
    virtual std::optional<std::int32_t> getBarDirection() const = 0;
    // A slider's horizontal flag; nothing for any other widget.
    virtual std::optional<bool> getSliderHorizontal() const = 0;

    virtual void forEachChild(const std::function<void(const IStyledWidget&)>& visit) const = 0;

    // The parent in the widget tree; null at the top.
    virtual const IStyledWidget* getStyledParent() const = 0;
    // The widget's own attribute of that name (set by the widget, not
    // computed); null when it has none.
    virtual const std::string* findOwnAttribute(qx::symbol name) const = 0;
    // The sheet the widget's style comes from: its pane's own, else the
    // widget library's current one; null for a widget that is in no pane.
    virtual StyleSheet* getEffectiveStyleSheet() const = 0;
    // The root widget of the widget's pane, where palettes are set; null for
    // a widget that is in no pane.
    virtual const IStyledWidget* getPaneRootWidget() const = 0;
};

}  // namespace QX::NWL
