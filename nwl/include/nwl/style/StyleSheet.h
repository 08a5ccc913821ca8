#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "nwl/style/IStyledWidget.h"
#include "nwl/style/Style.h"

namespace QX::NWL {

// A parsed style sheet as the widgets query it: for every property name the
// rules that set it, most specific first (ties in sheet order).
class StyleSheet {
public:
    using tRules = std::vector<StyleRule>;
    using tRuleIndex = std::map<qx::symbol, tRules>;
    // Per property, the rules whose selectors match a widget when attributes
    // and states are left aside.
    using tCandidates = std::map<qx::symbol, std::vector<const StyleRule*>>;
    using tCandidateCache = std::unordered_map<const IStyledWidget*, tCandidates>;
    // Adds the properties derived from a style's declarations (fonts,
    // pictures, displacements).
    using tDeriveProperties = std::function<void(const Style& style, std::vector<Property>& derived)>;

    static constexpr std::size_t kInitialCacheBuckets = 8;

    StyleSheet();
    StyleSheet(const StyleSheet&) = delete;
    StyleSheet& operator=(const StyleSheet&) = delete;

    // Rebuilds the rule index from the styles of a successful parse. The new
    // index is built aside and replaces the old one only when complete, so a
    // failure (an exception of `derive`) leaves the rules as they were.
    void buildRuleIndex(const std::vector<Style>& styles, const tDeriveProperties& derive = {});

    const tRuleIndex& getRuleIndex() const { return rules_; }
    // The rules of one property; null when no rule sets it.
    const tRules* findRules(qx::symbol property) const;

    const std::set<std::string>& getImported() const { return imported_; }
    void setImported(std::set<std::string> imported) { imported_ = std::move(imported); }

    // The rules of a property whose selectors match the widget, attributes
    // and states aside; built on first use and cached per widget.
    const std::vector<const StyleRule*>& findCandidates(const IStyledWidget& widget, qx::symbol property);
    // The candidates whose selectors match the widget fully (attributes
    // included, states not), from the widget's own style sheet; none for a
    // widget that is in no pane. `out` is emptied first.
    static void findMatchingRules(const IStyledWidget& widget, qx::symbol property,
                                  std::vector<const StyleRule*>& out);
    static std::vector<const StyleRule*> findMatchingRules(const IStyledWidget& widget, qx::symbol property);

    tCandidateCache& getCandidateCache() { return candidates_; }
    const tCandidateCache& getCandidateCache() const { return candidates_; }
    // Empties the candidate cache (after every load).
    void clearCaches();
    // Drops the cached candidates of a widget and of its whole subtree.
    void forgetWidget(const IStyledWidget& widget);
    // Drops the cached candidates of the widget alone (it is going away).
    void eraseWidget(const IStyledWidget& widget) { candidates_.erase(&widget); }

private:
    tRuleIndex rules_;
    std::set<std::string> imported_;
    tCandidateCache candidates_;
};

}  // namespace QX::NWL
