#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "TrueTypeTestFont.h"

// What the Type 1 and CFF test fonts share: glyph names and charstrings,
// which the two write alike but for large numbers and closing a contour.
namespace QX::UIA::Test {

// "uniXXXX" after the glyph's first code point; "glyphN" for a glyph no
// code point maps to (N its index).
std::string glyphNameOf(const tTestGlyph& glyph, std::size_t index);

// One charstring, built operand by operand.
class CharStringWriter {
public:
    enum class Dialect { Type1, Type2 };

    // Operator codes, the same in both dialects where both have the operator.
    static constexpr std::uint8_t kRLineTo = 5;
    static constexpr std::uint8_t kClosePath = 9;  // Type 1 only
    static constexpr std::uint8_t kCallSubr = 10;
    static constexpr std::uint8_t kReturn = 11;
    static constexpr std::uint8_t kHsbw = 13;  // Type 1 only
    static constexpr std::uint8_t kEndChar = 14;
    static constexpr std::uint8_t kRMoveTo = 21;

    explicit CharStringWriter(Dialect dialect) : dialect_(dialect) {}

    CharStringWriter& number(std::int32_t value);
    CharStringWriter& op(std::uint8_t code);
    // The polygons, each from its first point relative to the current point
    // (which stays on a contour's last point), closed as the dialect does.
    CharStringWriter& contours(const std::vector<tContour>& contours);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    Dialect dialect_;
    std::vector<std::uint8_t> bytes_;
    tFontPoint current_;
};

}  // namespace QX::UIA::Test
