#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace QX::NWL {

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
};

}  // namespace QX::NWL
