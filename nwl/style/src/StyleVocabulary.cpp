#include "nwl/style/StyleVocabulary.h"

namespace QX::NWL {

using namespace StyleNames;

// Table order differs from role order: the foreground colour is role 2.
const std::array<tColorRole, kColorRoleCount> colorPropertyRoles = {{
    {kBackgroundColor, 0},
    {kForegroundColor, 2},
    {kSelectionBackgroundColor, 1},
    {kSelectionForegroundColor, 3},
    {kDyeColor, 4},
    {kBackgroundBorderColor, 5},
    {kForegroundBorderColor, 6},
}};

const std::array<tColorRole, kColorRoleCount> palettePropertyRoles = {{
    {kBackgroundColorPalette, 0},
    {kForegroundColorPalette, 2},
    {kSelectionBackgroundColorPalette, 1},
    {kSelectionForegroundColorPalette, 3},
    {kDyeColorPalette, 4},
    {kBackgroundBorderColorPalette, 5},
    {kForegroundBorderColorPalette, 6},
}};

namespace {

constexpr std::uint32_t kEnableBits = 0x10 | 0x20;
constexpr std::uint32_t kSelectedBit = 0x40;

std::optional<std::int32_t> findRole(const std::array<tColorRole, kColorRoleCount>& table, qx::symbol property)
{
    for (const auto& entry : table) {
        if (entry.property == property)
            return entry.role;
    }
    return std::nullopt;
}

AttibuteSelector::tValue isHorizontal(const IStyledWidget& widget)
{
    if (const auto direction = widget.getBarDirection())
        return *direction == 1 || *direction == 4096;
    if (const auto horizontal = widget.getSliderHorizontal())
        return *horizontal;
    return AttibuteSelector::tDoesntExist{};
}

}  // namespace

std::optional<std::int32_t> findColorRole(qx::symbol property) { return findRole(colorPropertyRoles, property); }

std::optional<std::int32_t> findPaletteRole(qx::symbol property) { return findRole(palettePropertyRoles, property); }

const std::array<tStatePredicate, kStateCount> stateSelectorPredicates = {{
    {kEnabled, [](const IStyledWidget& w) { return (w.getFlagWord() & kEnableBits) == kEnableBits; }},
    {kSelected, [](const IStyledWidget& w) { return (w.getFlagWord() & kSelectedBit) != 0; }},
    {kDown, [](const IStyledWidget& w) { return w.isPressedInPane(); }},
    {kOver, [](const IStyledWidget& w) { return w.isHoveredInPane(); }},
    {kFocus, [](const IStyledWidget& w) { return w.isFocusInPane(); }},
    {kInput, [](const IStyledWidget& w) { return w.isKeyWidgetInPane(); }},
    {kDormant, [](const IStyledWidget& w) { return w.isDormant(); }},
}};

std::optional<std::size_t> findStateIndex(qx::symbol name)
{
    for (std::size_t i = 0; i < stateSelectorPredicates.size(); ++i) {
        if (stateSelectorPredicates[i].name == name)
            return i;
    }
    return std::nullopt;
}

bool stateHolds(std::size_t index, const IStyledWidget& widget)
{
    return stateSelectorPredicates.at(index).holds(widget);
}

const std::array<tAttributeGetter, 5> attributeGetters = {{
    {kGetClass, [](const IStyledWidget& w) { return AttibuteSelector::tValue(std::string(w.getTypeName())); }},
    {kGetStyle, [](const IStyledWidget& w) { return AttibuteSelector::tValue(w.getStyleClass().str()); }},
    {kGetId, [](const IStyledWidget& w) { return AttibuteSelector::tValue(w.getName().str()); }},
    {kIsHorizontal, &isHorizontal},
    {kEmpty, {}},
}};

const tAttributeGetter* findAttributeGetter(qx::symbol name)
{
    for (const auto& getter : attributeGetters) {
        if (getter.name.empty())
            break;
        if (getter.name == name)
            return &getter;
    }
    return nullptr;
}

}  // namespace QX::NWL
