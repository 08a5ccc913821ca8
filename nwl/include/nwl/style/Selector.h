#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gp/Symbol.h"
#include "nwl/style/AttibuteSelector.h"

namespace QX::NWL {

class IStyledWidget;

// The state conditions of a selector, one code per state in the order of the
// state table.
class StateConditions {
public:
    enum eCondition : std::uint32_t { eMustNotHold = 0, eMustHold = 1, eAny = 2 };

    StateConditions() { codes_.fill(eAny); }

    eCondition get(std::size_t index) const { return codes_[index]; }
    void set(std::size_t index, eCondition code) { codes_[index] = code; }
    // How many states are not "any".
    std::uint32_t countConditions() const;

    friend bool operator==(const StateConditions&, const StateConditions&) = default;

private:
    std::array<eCondition, 7> codes_;
};

// Every state whose code is not "any" holds (code 1) or does not (code 0)
// for the widget now.
bool matchStateConditions(const StateConditions& states, const IStyledWidget& widget);

// Per attribute name: comparison code -> text. A later condition with the
// same name and code replaces the earlier text.
using AttributeConditions = AttibuteSelector::tConditions;

// One ancestor of a selector's subject.
struct tAncestorSelector {
    qx::symbol type;
    qx::symbol styleClass;
    qx::symbol name;
    AttributeConditions attributes;
    // Joined by "::": must be the direct parent of the widget matched before.
    bool directParent = false;

    std::uint32_t specificity() const;
    bool matches(const IStyledWidget& widget, bool withAttributes) const;
};

class Selector {
public:
    static constexpr std::uint32_t kNameWeight = 1u << 24;
    static constexpr std::uint32_t kStyleClassWeight = 1u << 16;
    static constexpr std::uint32_t kTypeWeight = 1;
    static constexpr std::uint32_t kAttributeWeight = 16;
    static constexpr std::uint32_t kStateWeight = 256;

    // The weights of its parts (subject and ancestors) summed per kind; a
    // kind's sum stops at the largest value its field holds, so it never
    // spills into the field of a stronger kind.
    std::uint32_t specificity() const;

    // The subject and its ancestor chain match the widget; states are not
    // considered, attributes only when asked.
    bool matches(const IStyledWidget& widget, bool withAttributes = true) const;
    bool hasAttributeConditions() const;

    qx::symbol type;
    qx::symbol styleClass;
    qx::symbol name;
    AttributeConditions attributes;
    // Nearest ancestor first.
    std::vector<tAncestorSelector> ancestors;
    StateConditions states;
    // Where the rule was written; not part of matching.
    qx::symbol sourceName;
    std::uint32_t line = 0;
};

}  // namespace QX::NWL
