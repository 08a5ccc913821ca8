#include "nwl/style/StyleSheet.h"

namespace QX::NWL {

StyleSheet::StyleSheet() : candidates_(kInitialCacheBuckets) {}

void StyleSheet::buildRuleIndex(const std::vector<Style>& styles, const tDeriveProperties& derive)
{
    // Equal keys keep their insertion order, so ties stay in sheet order.
    std::map<qx::symbol, std::multimap<std::uint32_t, StyleRule, std::greater<>>> build;
    std::vector<std::pair<std::uint32_t, std::shared_ptr<const Selector>>> selectors;
    auto enter = [&build, &selectors](const Property& property) {
        auto& rules = build[property.name];
        for (const auto& [specificity, selector] : selectors)
            rules.emplace(specificity, StyleRule{selector, property});
    };
    std::vector<Property> derived;
    for (const auto& style : styles) {
        selectors.clear();
        for (const auto& selector : style.selectors)
            selectors.emplace_back(selector.specificity(), std::make_shared<const Selector>(selector));
        for (const auto& property : style.properties)
            enter(property);
        if (derive) {
            derived.clear();
            derive(style, derived);
            for (const auto& property : derived)
                enter(property);
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

const std::vector<const StyleRule*>& StyleSheet::findCandidates(const IStyledWidget& widget, qx::symbol property)
{
    auto [entry, made] = candidates_[&widget].try_emplace(property);
    if (made) {
        if (const tRules* rules = findRules(property)) {
            for (const auto& rule : *rules) {
                if (rule.selector->matches(widget, false))
                    entry->second.push_back(&rule);
            }
        }
    }
    return entry->second;
}

void StyleSheet::findMatchingRules(const IStyledWidget& widget, qx::symbol property,
                                   std::vector<const StyleRule*>& out)
{
    out.clear();
    StyleSheet* sheet = widget.getEffectiveStyleSheet();
    if (!sheet)
        return;
    const auto& candidates = sheet->findCandidates(widget, property);
    out.reserve(candidates.size());
    for (const StyleRule* rule : candidates) {
        if (!rule->selector->hasAttributeConditions() || rule->selector->matches(widget, true))
            out.push_back(rule);
    }
}

std::vector<const StyleRule*> StyleSheet::findMatchingRules(const IStyledWidget& widget, qx::symbol property)
{
    std::vector<const StyleRule*> rules;
    findMatchingRules(widget, property, rules);
    return rules;
}

void StyleSheet::clearCaches() { tCandidateCache(kInitialCacheBuckets).swap(candidates_); }

void StyleSheet::forgetWidget(const IStyledWidget& widget)
{
    candidates_.erase(&widget);
    widget.forEachChild([this](const IStyledWidget& child) { forgetWidget(child); });
}

}  // namespace QX::NWL
