#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "nwl/style/AttibuteSelector.h"
#include "nwl/style/IStyledWidget.h"
#include "nwl/style/StyleNames.h"

// The fixed tables of the style language: colour roles, the states a selector
// may test and the attributes computed from a widget.
namespace QX::NWL {

inline constexpr std::size_t kColorRoleCount = 7;
inline constexpr std::size_t kStateCount = 7;

// A colour (or palette) property and the role it sets; the role indexes a
// palette's lists.
struct tColorRole {
    qx::symbol property;
    std::int32_t role;
};

extern const std::array<tColorRole, kColorRoleCount> colorPropertyRoles;
extern const std::array<tColorRole, kColorRoleCount> palettePropertyRoles;

// The role of a colour property or of a palette property; nothing for any
// other name.
std::optional<std::int32_t> findColorRole(qx::symbol property);
std::optional<std::int32_t> findPaletteRole(qx::symbol property);

struct tStatePredicate {
    qx::symbol name;
    std::function<bool(const IStyledWidget&)> holds;
};

// The position of a state in this table is its index in a selector's state
// conditions: enabled, selected, down, over, focus, input, dormant.
extern const std::array<tStatePredicate, kStateCount> stateSelectorPredicates;

// The index of a state name; nothing for a name that is no state.
std::optional<std::size_t> findStateIndex(qx::symbol name);
bool stateHolds(std::size_t index, const IStyledWidget& widget);

struct tAttributeGetter {
    qx::symbol name;
    std::function<AttibuteSelector::tValue(const IStyledWidget&)> get;
};

// Ends with an entry of the empty name and an empty getter.
extern const std::array<tAttributeGetter, 5> attributeGetters;

// The getter of a computed attribute, or null.
const tAttributeGetter* findAttributeGetter(qx::symbol name);

}  // namespace QX::NWL
