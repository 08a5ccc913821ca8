#pragma once
#include <cstdint>
#include <string>
#include <variant>

#include "gp/Geometry.h"
#include "gp/Symbol.h"
#include "nwl/style/LazyPicture.h"

namespace QX::UIA {
class Font;
}

namespace QX::NWL {

// A style value; the grammar makes the first five kinds, the resource
// definitions the font, point and picture.
using PropertyVariant = std::variant<std::monostate, float, std::uint32_t, std::int32_t, bool, std::string,
                                     const UIA::Font*, GP::Point, LazyPicture>;

// One declaration of a style: value, name and what kind of value was written.
class Property {
public:
    enum eUnit : std::int32_t {
        eNumber = 0,
        ePixels = 1,
        ePercent = 2,
        eBool = 3,
        eURL = 4,
        eString = 5,
        eColor = 6,
        eFont = 7,
        ePicture = 8,
        ePoint = 9,
    };

    Property() = default;
    Property(PropertyVariant value, qx::symbol name, eUnit unit)
        : value(std::move(value)), name(name), unit(unit) {}

    PropertyVariant value;
    qx::symbol name;
    eUnit unit = eNumber;
};

}  // namespace QX::NWL
