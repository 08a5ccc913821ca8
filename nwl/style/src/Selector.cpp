#include "nwl/style/Selector.h"

#include <algorithm>

namespace QX::NWL {

namespace {

std::uint32_t weigh(qx::symbol type, qx::symbol styleClass, qx::symbol name, const AttributeConditions& attributes)
{
    std::uint32_t weight = 0;
    if (!name.empty())
        weight += Selector::kNameWeight;
    if (!styleClass.empty())
        weight += Selector::kStyleClassWeight;
    if (!type.empty())
        weight += Selector::kTypeWeight;
    return weight + static_cast<std::uint32_t>(attributes.size()) * Selector::kAttributeWeight;
}

}  // namespace

std::uint32_t StateConditions::countConditions() const
{
    return static_cast<std::uint32_t>(std::count_if(codes_.begin(), codes_.end(), [](eCondition c) { return c != eAny; }));
}

std::uint32_t tAncestorSelector::specificity() const { return weigh(type, styleClass, name, attributes); }

std::uint32_t Selector::specificity() const
{
    std::uint32_t weight = weigh(type, styleClass, name, attributes);
    for (const auto& ancestor : ancestors)
        weight += ancestor.specificity();
    return weight + states.countConditions() * kStateWeight;
}

}  // namespace QX::NWL
