#include "nwl/core/WidgetStyle.h"

#include <optional>

#include "nwl/style/PropertyValue.h"
#include "nwl/style/StyleNames.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL {

using namespace StyleNames;

namespace {

// Turns one rule into a list value; nothing skips the rule.
template <typename T, typename Read>
void fillList(tStateList<T>& list, const IStyledWidget& widget, qx::symbol property, Read read)
{
    thread_local std::vector<const StyleRule*> rules;
    StyleSheet::findMatchingRules(widget, property, rules);
    list.clear();
    list.reserve(rules.size());
    for (const StyleRule* rule : rules) {
        if (std::optional<T> value = read(rule->property))
            list.push_back({rule->selector->states, std::move(*value)});
    }
}

// A value of the unit the list expects, "none" for the word "no". A value of
// the right unit but another kind (a real where a frame index is expected)
// is skipped like any other misfit.
template <typename T>
auto readUnit(Property::eUnit unit, T none)
{
    return [unit, none](const Property& property) -> std::optional<T> {
        if (PropertyValue::isNo(property))
            return none;
        if (property.unit != unit)
            return std::nullopt;
        if (const T* value = std::get_if<T>(&property.value))
            return *value;
        return std::nullopt;
    };
}

auto readAlignment(qx::symbol low, std::int32_t lowCode, qx::symbol high, std::int32_t highCode,
                   std::int32_t otherCode)
{
    return [=](const Property& property) -> std::optional<std::int32_t> {
        const auto* word = std::get_if<std::string>(&property.value);
        if (property.unit != Property::eString || !word)
            return std::nullopt;
        if (*word == low.str())
            return lowCode;
        if (*word == high.str())
            return highCode;
        if (*word == kCenter.str())
            return WidgetStyle::kAlignCenter;
        return otherCode;
    };
}

std::optional<bool> readBool(const Property& property)
{
    if (const bool* flag = PropertyValue::toBool(property))
        return *flag;
    return std::nullopt;
}

template <typename T>
T valueOr(const T* value, T fallback)
{
    return value ? *value : fallback;
}

}  // namespace

WidgetStyle::WidgetStyle(const IStyledWidget& widget, const UIA::Font* defaultFont)
    : Palette(widget), defaultFont_(defaultFont)
{
}

void WidgetStyle::update()
{
    for (const auto& entry : colorPropertyRoles)
        fillList(colors_[entry.role], widget_, entry.property, readUnit<std::uint32_t>(Property::eColor, 0));
    for (const auto& entry : palettePropertyRoles)
        fillList(palettes_[entry.role], widget_, entry.property, readUnit<std::int32_t>(Property::eNumber, 0));
    fillList(fonts_, widget_, kFont, readUnit<const UIA::Font*>(Property::eFont, nullptr));
    fillList(horizontalAlignments_, widget_, kHorizontalAlignment,
             readAlignment(kLeft, kAlignLeft, kRight, kAlignRight, kAlignLeft));
    // A word that is no vertical alignment reads as the top, the default of
    // every reader (the horizontal "left" code would turn centred or right
    // text left).
    fillList(verticalAlignments_, widget_, kVerticalAlignment,
             readAlignment(kTop, kAlignTop, kBottom, kAlignBottom, kAlignTop));
    fillList(pictures_, widget_, kPicture, readUnit<LazyPicture>(Property::ePicture, LazyPicture()));
    fillList(animationIndexes_, widget_, kAnimationIndex, readUnit<std::int32_t>(Property::eNumber, 0));
    fillList(dyeMaskPictures_, widget_, kDyeMaskPicture, readUnit<LazyPicture>(Property::ePicture, LazyPicture()));
    fillList(dyeMaskAnimationIndexes_, widget_, kDyeMaskAnimationIndex, readUnit<std::int32_t>(Property::eNumber, 0));
    fillList(pictureDisplacements_, widget_, kPictureDisplacement, readUnit<GP::Point>(Property::ePoint, GP::Point{}));
    fillList(textDisplacements_, widget_, kTextDisplacement, readUnit<GP::Point>(Property::ePoint, GP::Point{}));
    fillList(pictureIncludesMargin_, widget_, kPictureIncludesMargin, readBool);
}

const UIA::Font* WidgetStyle::findFont() const
{
    const auto* font = findStateValue(fonts_, widget_);
    return font && *font ? *font : defaultFont_;
}

std::int32_t WidgetStyle::findHorizontalAlignment(std::int32_t fallback) const
{
    return valueOr(findStateValue(horizontalAlignments_, widget_), fallback);
}

std::int32_t WidgetStyle::findVerticalAlignment(std::int32_t fallback) const
{
    return valueOr(findStateValue(verticalAlignments_, widget_), fallback);
}

const LazyPicture* WidgetStyle::findPicture() const { return findStateValue(pictures_, widget_); }

const LazyPicture* WidgetStyle::findDyeMaskPicture() const { return findStateValue(dyeMaskPictures_, widget_); }

std::int32_t WidgetStyle::findAnimationIndex(std::int32_t fallback) const
{
    return valueOr(findStateValue(animationIndexes_, widget_), fallback);
}

std::int32_t WidgetStyle::findDyeMaskAnimationIndex(std::int32_t fallback) const
{
    return valueOr(findStateValue(dyeMaskAnimationIndexes_, widget_), fallback);
}

GP::Point WidgetStyle::findPictureDisplacement() const
{
    return valueOr(findStateValue(pictureDisplacements_, widget_), GP::Point{});
}

GP::Point WidgetStyle::findTextDisplacement() const
{
    return valueOr(findStateValue(textDisplacements_, widget_), GP::Point{});
}

bool WidgetStyle::findPictureIncludesMargin(bool fallback) const
{
    return valueOr(findStateValue(pictureIncludesMargin_, widget_), fallback);
}

}  // namespace QX::NWL
