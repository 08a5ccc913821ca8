#include "nwl/style/StyleQuery.h"

#include "nwl/style/PropertyValue.h"
#include "nwl/style/StyleNames.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL {

namespace {

template <typename T>
const T* findTyped(const IStyledWidget& widget, qx::symbol name, const T* defaultValue, bool* found,
                   const T* none)
{
    if (const Property* property = findProperty(widget, name)) {
        // "no" first: as a text it would otherwise read as the word itself.
        if (PropertyValue::isNo(*property)) {
            if (found)
                *found = true;
            return none;
        }
        if (const T* value = std::get_if<T>(&property->value)) {
            if (found)
                *found = true;
            return value;
        }
    }
    if (found)
        *found = false;
    return defaultValue;
}

}  // namespace

const Property* findProperty(const IStyledWidget& widget, qx::symbol property)
{
    StyleSheet* sheet = widget.getEffectiveStyleSheet();
    if (!sheet)
        return nullptr;
    for (const StyleRule* rule : sheet->findCandidates(widget, property)) {
        if (rule->selector->hasAttributeConditions() && !rule->selector->matches(widget, true))
            continue;
        if (matchStateConditions(rule->selector->states, widget))
            return &rule->property;
    }
    return nullptr;
}

const std::int32_t* findIntProperty(const IStyledWidget& widget, qx::symbol property,
                                    const std::int32_t* defaultValue, bool* found)
{
    static const std::int32_t none = 0;
    return findTyped(widget, property, defaultValue, found, &none);
}

const std::uint32_t* findColorProperty(const IStyledWidget& widget, qx::symbol property,
                                       const std::uint32_t* defaultValue, bool* found)
{
    static const std::uint32_t none = 0;
    return findTyped(widget, property, defaultValue, found, &none);
}

const UIA::Font* const* findFontProperty(const IStyledWidget& widget, qx::symbol property,
                                         const UIA::Font* const* defaultValue, bool* found)
{
    static const UIA::Font* const none = nullptr;
    return findTyped<const UIA::Font*>(widget, property, defaultValue, found, &none);
}

const std::string* findStringProperty(const IStyledWidget& widget, qx::symbol property,
                                      const std::string* defaultValue, bool* found)
{
    static const std::string none;
    return findTyped(widget, property, defaultValue, found, &none);
}

const std::string* findStringProperty(const IStyledWidget& widget, const char* property,
                                      const std::string* defaultValue, bool* found)
{
    return findStringProperty(widget, qx::symbol(property ? property : ""), defaultValue, found);
}

const bool* findBoolProperty(const IStyledWidget& widget, qx::symbol property, const bool* defaultValue,
                             bool* found)
{
    if (const Property* value = findProperty(widget, property)) {
        if (const bool* flag = PropertyValue::toBool(*value)) {
            if (found)
                *found = true;
            return flag;
        }
    }
    if (found)
        *found = false;
    return defaultValue;
}

const bool* PropertyValue::toBool(const Property& property)
{
    static const bool yes = true;
    static const bool no = false;
    if (const bool* flag = std::get_if<bool>(&property.value))
        return flag;
    if (property.unit == Property::eNumber) {
        if (const auto* number = std::get_if<std::int32_t>(&property.value))
            return *number != 0 ? &yes : &no;
        if (const auto* number = std::get_if<std::uint32_t>(&property.value))
            return *number != 0 ? &yes : &no;
    }
    if (property.unit == Property::eString) {
        if (const auto* word = std::get_if<std::string>(&property.value)) {
            if (*word == "yes" || *word == "true")
                return &yes;
            if (*word == "no" || *word == "false")
                return &no;
        }
    }
    return nullptr;
}

std::optional<std::string> PropertyValue::toResourceName(const Property& property)
{
    const auto* text = std::get_if<std::string>(&property.value);
    if (!text)
        return std::nullopt;
    if (property.unit == Property::eURL)
        return *text;
    if (isNo(property))
        return std::string();
    return std::nullopt;
}

bool PropertyValue::isNo(const Property& property)
{
    if (property.unit != Property::eString)
        return false;
    const auto* word = std::get_if<std::string>(&property.value);
    return word && *word == StyleNames::kNo.str();
}

}  // namespace QX::NWL
