#include <map>
#include <mutex>
#include <utility>

#include <fmt/format.h>

#include "nwl/core/WidgetStyle.h"
#include "nwl/style/StyleQuery.h"

namespace QX::NWL {

std::uint32_t Palette::findColor(std::int32_t role, bool border, std::int32_t colorIndex) const
{
    if (border)
        role = role == eBackground ? eBackgroundBorder : eForegroundBorder;
    if (role < 0 || role >= static_cast<std::int32_t>(kColorRoleCount))
        return 0;
    const std::uint32_t* colour = findStateValue(colors_[role], widget_);
    const std::uint32_t plain = colour ? *colour : 0;
    const std::int32_t* palette = findStateValue(palettes_[role], widget_);
    if (!palette || *palette == 0)
        return plain;
    const IStyledWidget* root = widget_.getPaneRootWidget();
    if (!root)
        return plain;
    return *findColorProperty(*root, colorSymbol(*palette, colorIndex), &plain);
}

qx::symbol Palette::colorSymbol(std::int32_t palette, std::int32_t colorIndex)
{
    static std::mutex lock;
    static std::map<std::pair<std::int32_t, std::int32_t>, qx::symbol> symbols;
    const std::lock_guard<std::mutex> guard(lock);
    const auto key = std::make_pair(palette, colorIndex);
    auto found = symbols.find(key);
    if (found == symbols.end())
        found = symbols.emplace(key, qx::symbol(fmt::format("palette{}-color{}", palette, colorIndex))).first;
    return found->second;
}

}  // namespace QX::NWL
