#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <variant>

#include "gp/Symbol.h"

namespace QX::NWL {

class IStyledWidget;

// Attribute conditions of selectors: the comparison codes and the value an
// attribute has on a widget.
class AttibuteSelector {
public:
    // The grammar writes codes 2 to 6; 0 and 1 have no text.
    enum eRule : std::int32_t {
        eAny = 0,
        eIncludes = 1,
        eEqual = 2,
        eBeginsWith = 3,
        eEndsWith = 4,
        eContains = 5,
        eNotEqual = 6,
    };

    // The widget has no such attribute.
    struct tDoesntExist {
        friend bool operator==(tDoesntExist, tDoesntExist) { return true; }
    };

    using tValue = std::variant<tDoesntExist, bool, std::string>;
    // Per attribute name: comparison code -> text.
    using tConditions = std::map<qx::symbol, std::map<eRule, std::string>>;

    // Every condition holds for the widget's own attribute of that name, or
    // else for the computed attribute; a name with neither fails.
    static bool matches(const tConditions& conditions, const IStyledWidget& widget);
    // One condition on a value. A missing value fails every code but 0; a
    // boolean is asked for true by "true" or "yes", for false by any other
    // text, and "!=" asks for the other value.
    static bool holds(eRule code, const std::string& text, const tValue& value);
    static bool holds(eRule code, const std::string& text, const std::string& value);
};

}  // namespace QX::NWL
