#include "nwl/core/StyleManager.h"

#include "nwl/core/WidgetStyle.h"

namespace QX::NWL {

StyleManager::StyleManager(const UIA::Font* defaultFont)
    : sheet_(std::make_unique<StyleSheet>()), defaultFont_(defaultFont)
{
}

StyleManager::~StyleManager() = default;

WidgetStyle& StyleManager::getWidgetStyle(const IStyledWidget& widget)
{
    auto& style = styles_[&widget];
    if (!style)
        style = std::make_unique<WidgetStyle>(widget, defaultFont_);
    return *style;
}

const WidgetStyle* StyleManager::findWidgetStyle(const IStyledWidget& widget) const
{
    const auto found = styles_.find(&widget);
    return found != styles_.end() ? found->second.get() : nullptr;
}

void StyleManager::eraseWidget(const IStyledWidget& widget)
{
    styles_.erase(&widget);
    sheet_->eraseWidget(widget);
}

}  // namespace QX::NWL
