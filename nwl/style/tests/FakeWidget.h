#pragma once
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

    FakeWidget& addChild(std::string type = "Label")
    {
        children.push_back(std::make_unique<FakeWidget>(std::move(type)));
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
};

}  // namespace QX::NWL::Testing
