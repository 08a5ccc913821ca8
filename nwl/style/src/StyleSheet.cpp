#include "nwl/style/StyleSheet.h"

namespace QX::NWL {

StyleSheet::StyleSheet() : candidates_(kInitialCacheBuckets) {}

void StyleSheet::buildRuleIndex(const std::vector<Style>& styles, const tDeriveProperties& derive)
{
    // Equal keys keep their insertion order, so ties stay in sheet order.
    std::map<qx::symbol, std::multimap<std::uint32_t, StyleRule, std::greater<>>> build;
    auto enter = [&build](const Style& style, const Property& property) {
        auto& rules = build[property.name];
        for (const auto& selector : style.selectors)
            rules.emplace(selector.specificity(), StyleRule{selector, property});
    };
    std::vector<Property> derived;
    for (const auto& style : styles) {
        for (const auto& property : style.properties)
            enter(style, property);
        if (derive) {
            derived.clear();
            derive(style, derived);
            for (const auto& property : derived)
                enter(style, property);
        }
    }

    tRuleIndex rules;
    for (auto& [name, ordered] : build) {
        auto& flat = rules[name];
        flat.reserve(ordered.size());
        for (auto& entry : ordered)
            flat.push_back(std::move(entry.second));
    }
    rules_.swap(rules);
}

const StyleSheet::tRules* StyleSheet::findRules(qx::symbol property) const
{
    const auto found = rules_.find(property);
    return found != rules_.end() ? &found->second : nullptr;
}

void StyleSheet::clearCaches() { tCandidateCache(kInitialCacheBuckets).swap(candidates_); }

void StyleSheet::forgetWidget(const IStyledWidget& widget)
{
    candidates_.erase(&widget);
    widget.forEachChild([this](const IStyledWidget& child) { forgetWidget(child); });
}

}  // namespace QX::NWL
