#include <string_view>

#include "nwl/style/IStyledWidget.h"
#include "nwl/style/Selector.h"
#include "nwl/style/StyleVocabulary.h"

namespace QX::NWL {

namespace {

// "tree" matches a widget whose type name is "tree<Bar>"; a type name without
// "<" matches only itself.
bool typeMatches(qx::symbol type, const IStyledWidget& widget)
{
    if (type.empty())
        return true;
    const std::string_view typeName = widget.getTypeName();
    if (typeName == type.str())
        return true;
    const auto angle = typeName.find('<');
    return angle != std::string_view::npos && typeName.substr(0, angle) == type.str();
}

bool simpleMatches(qx::symbol type, qx::symbol styleClass, qx::symbol name, const AttributeConditions& attributes,
                   const IStyledWidget& widget, bool withAttributes)
{
    if (!name.empty() && name != widget.getName())
        return false;
    if (!styleClass.empty() && styleClass != widget.getStyleClass())
        return false;
    if (!typeMatches(type, widget))
        return false;
    return !withAttributes || attributes.empty() || AttibuteSelector::matches(attributes, widget);
}

enum class eChainResult { eMatched, eDirectParentFailed, eRootPassed };

// One attempt at the ancestor chain, its first element looked for above
// `start`.
eChainResult matchChainFrom(const std::vector<tAncestorSelector>& chain, const IStyledWidget& start,
                            bool withAttributes)
{
    const IStyledWidget* current = &start;
    for (const auto& element : chain) {
        const IStyledWidget* candidate = current->getStyledParent();
        if (element.directParent) {
            if (!candidate)
                return eChainResult::eRootPassed;
            if (!element.matches(*candidate, withAttributes))
                return eChainResult::eDirectParentFailed;
        } else {
            while (candidate && !element.matches(*candidate, withAttributes))
                candidate = candidate->getStyledParent();
            if (!candidate)
                return eChainResult::eRootPassed;
        }
        current = candidate;
    }
    return eChainResult::eMatched;
}

}  // namespace

bool tAncestorSelector::matches(const IStyledWidget& widget, bool withAttributes) const
{
    return simpleMatches(type, styleClass, name, attributes, widget, withAttributes);
}

bool Selector::matches(const IStyledWidget& widget, bool withAttributes) const
{
    if (!simpleMatches(type, styleClass, name, attributes, widget, withAttributes))
        return false;
    if (ancestors.empty())
        return true;
    // A direct-parent element that fails may only mean that the element
    // before it was taken too low: try again with the chain starting higher.
    for (const IStyledWidget* start = &widget; start; start = start->getStyledParent()) {
        switch (matchChainFrom(ancestors, *start, withAttributes)) {
        case eChainResult::eMatched:
            return true;
        case eChainResult::eRootPassed:
            return false;
        case eChainResult::eDirectParentFailed:
            if (ancestors.front().directParent)
                return false;
            break;
        }
    }
    return false;
}

bool Selector::hasAttributeConditions() const
{
    if (!attributes.empty())
        return true;
    for (const auto& ancestor : ancestors) {
        if (!ancestor.attributes.empty())
            return true;
    }
    return false;
}

bool matchStateConditions(const StateConditions& states, const IStyledWidget& widget)
{
    for (std::size_t i = 0; i < kStateCount; ++i) {
        const auto code = states.get(i);
        if (code == StateConditions::eAny)
            continue;
        if (stateHolds(i, widget) != (code == StateConditions::eMustHold))
            return false;
    }
    return true;
}

bool AttibuteSelector::matches(const tConditions& conditions, const IStyledWidget& widget)
{
    for (const auto& [name, codes] : conditions) {
        if (const std::string* own = widget.findOwnAttribute(name)) {
            for (const auto& [code, text] : codes) {
                if (!holds(code, text, *own))
                    return false;
            }
            continue;
        }
        const tAttributeGetter* getter = findAttributeGetter(name);
        if (!getter)
            return false;
        const tValue value = getter->get(widget);
        for (const auto& [code, text] : codes) {
            if (!holds(code, text, value))
                return false;
        }
    }
    return true;
}

bool AttibuteSelector::holds(eRule code, const std::string& text, const std::string& value)
{
    switch (code) {
    case eAny:
        return true;
    case eEqual:
        return value == text;
    case eBeginsWith:
        return value.starts_with(text);
    case eEndsWith:
        return value.ends_with(text);
    case eIncludes:
    case eContains:
        return value.find(text) != std::string::npos;
    case eNotEqual:
        return value != text;
    }
    return true;
}

bool AttibuteSelector::holds(eRule code, const std::string& text, const tValue& value)
{
    if (code == eAny)
        return true;
    if (const auto* flag = std::get_if<bool>(&value)) {
        const bool wanted = text == "true" || text == "yes";
        return code == eNotEqual ? *flag != wanted : *flag == wanted;
    }
    if (const auto* string = std::get_if<std::string>(&value))
        return holds(code, text, *string);
    return false;
}

}  // namespace QX::NWL
