#include "nwl/style/Selector.h"

#include <algorithm>

namespace QX::NWL {

namespace {

// How many parts of each kind a selector names.
struct PartCounts {
    std::uint32_t names = 0;
    std::uint32_t styleClasses = 0;
    std::uint32_t states = 0;
    std::uint32_t attributes = 0;
    std::uint32_t types = 0;

    void add(qx::symbol type, qx::symbol styleClass, qx::symbol name, const AttributeConditions& conditions)
    {
        names += !name.empty();
        styleClasses += !styleClass.empty();
        types += !type.empty();
        attributes += static_cast<std::uint32_t>(conditions.size());
    }

    // Each count fills its own field and stops at the field's largest value,
    // so that no number of weaker parts outweighs one stronger part.
    std::uint32_t weigh() const
    {
        const auto field = [](std::uint32_t count, std::uint32_t weight, std::uint64_t nextWeight) {
            return static_cast<std::uint32_t>(std::min<std::uint64_t>(count, nextWeight / weight - 1) * weight);
        };
        const std::uint64_t top = std::uint64_t(1) << 32;
        return field(names, Selector::kNameWeight, top) +
               field(styleClasses, Selector::kStyleClassWeight, Selector::kNameWeight) +
               field(states, Selector::kStateWeight, Selector::kStyleClassWeight) +
               field(attributes, Selector::kAttributeWeight, Selector::kStateWeight) +
               field(types, Selector::kTypeWeight, Selector::kAttributeWeight);
    }
};

}  // namespace

std::uint32_t StateConditions::countConditions() const
{
    return static_cast<std::uint32_t>(std::count_if(codes_.begin(), codes_.end(), [](eCondition c) { return c != eAny; }));
}

std::uint32_t tAncestorSelector::specificity() const
{
    PartCounts counts;
    counts.add(type, styleClass, name, attributes);
    return counts.weigh();
}

std::uint32_t Selector::specificity() const
{
    PartCounts counts;
    counts.add(type, styleClass, name, attributes);
    for (const auto& ancestor : ancestors)
        counts.add(ancestor.type, ancestor.styleClass, ancestor.name, ancestor.attributes);
    counts.states = states.countConditions();
    return counts.weigh();
}

}  // namespace QX::NWL
