#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "nwl/style/IStyledWidget.h"

namespace QX::NWL::Testing {

// A widget reduced to what the style sheets ask of it.
class FakeWidget : public IStyledWidget {
public:
    explicit FakeWidget(std::string typeName = "Label") : typeName(std::move(typeName)) {}

    std::string_view getTypeName() const override { return typeName; }
    qx::symbol getStyleClass() const override { return styleClass; }
    qx::symbol getName() const override { return name; }
    std::uint32_t getFlagWord() const override { return flags; }
    bool isPressedInPane() const override { return pressed; }
    bool isHoveredInPane() const override { return hovered; }
    bool isFocusInPane() const override { return focus; }
    bool isKeyWidgetInPane() const override { return keyWidget; }
    bool isDormant() const override { return dormant; }
    std::optional<std::int32_t> getBarDirection() const override { return barDirection; }
    std::optional<bool> getSliderHorizontal() const override { return sliderHorizontal; }
    void forEachChild(const std::function<void(const IStyledWidget&)>& visit) const override
    {
        for (const auto& child : children)
            visit(*child);
    }

    const IStyledWidget* getStyledParent() const override { return parent; }
    const std::string* findOwnAttribute(qx::symbol attribute) const override
    {
        const auto found = attributes.find(attribute);
        return found != attributes.end() ? &found->second : nullptr;
    }
    // The sheet of the fake's pane: its own, else its parent's.
    StyleSheet* getEffectiveStyleSheet() const override
    {
        return sheet || !parent ? sheet : parent->getEffectiveStyleSheet();
    }
    const IStyledWidget* getPaneRootWidget() const override
    {
        if (!getEffectiveStyleSheet())
            return nullptr;
        const FakeWidget* root = this;
        while (root->parent)
            root = root->parent;
        return root;
    }

    FakeWidget& addChild(std::string type = "Label")
    {
        children.push_back(std::make_unique<FakeWidget>(std::move(type)));
        children.back()->parent = this;
        return *children.back();
    }

    std::string typeName;
    qx::symbol styleClass;
    qx::symbol name;
    std::uint32_t flags = 0x30;
    bool pressed = false;
    bool hovered = false;
    bool focus = false;
    bool keyWidget = false;
    bool dormant = false;
    std::optional<std::int32_t> barDirection;
    std::optional<bool> sliderHorizontal;
    std::vector<std::unique_ptr<FakeWidget>> children;
    FakeWidget* parent = nullptr;
    std::map<qx::symbol, std::string> attributes;
    // Set on the top widget of a tree: the tree is then "in a pane" with
    // that sheet.
    StyleSheet* sheet = nullptr;
};

}  // namespace QX::NWL::Testing
