#pragma once
#include <cstdint>
#include <tuple>

#include "uia/picture/Font.h"

namespace QX::NWL {

// What a style asks of a font: the name of a font resource (or a family
// name with kFontFamilyName), a resource id, a pixel size and style flags.
using FontDescription = UIA::FontDescription;

// Style flags beyond those of the framework's font.
inline constexpr std::uint32_t kFontFamilyName = 8;

// The library's default font: no name, resource id 1, size 12, no flags.
const FontDescription& getDefaultFontDescription();

// The order of the font cache: id, size, flags, then name.
struct FontDescriptionLess {
    bool operator()(const FontDescription& a, const FontDescription& b) const
    {
        return std::tie(a.resourceId, a.baseSize, a.styleFlags, a.name) <
               std::tie(b.resourceId, b.baseSize, b.styleFlags, b.name);
    }
};

inline bool sameFont(const FontDescription& a, const FontDescription& b)
{
    return !FontDescriptionLess()(a, b) && !FontDescriptionLess()(b, a);
}

}  // namespace QX::NWL
