#include "CharStringWriter.h"

#include <cstdio>

namespace QX::UIA::Test {

std::string glyphNameOf(const tTestGlyph& glyph, std::size_t index)
{
    char name[16];
    if (glyph.codePoints.empty())
        std::snprintf(name, sizeof name, "glyph%zu", index);
    else
        std::snprintf(name, sizeof name, "uni%04X", unsigned(glyph.codePoints.front()));
    return name;
}

CharStringWriter& CharStringWriter::number(std::int32_t value)
{
    if (value >= -107 && value <= 107) {
        bytes_.push_back(std::uint8_t(value + 139));
    } else if (value >= 108 && value <= 1131) {
        bytes_.push_back(std::uint8_t(((value - 108) >> 8) + 247));
        bytes_.push_back(std::uint8_t(value - 108));
    } else if (value >= -1131 && value <= -108) {
        bytes_.push_back(std::uint8_t(((-value - 108) >> 8) + 251));
        bytes_.push_back(std::uint8_t(-value - 108));
    } else if (dialect_ == Dialect::Type2) {
        // A 16-bit integer; Type 2 has no 32-bit one (255 starts a fixed-point number there).
        bytes_.insert(bytes_.end(), {28, std::uint8_t(value >> 8), std::uint8_t(value)});
    } else {
        bytes_.insert(bytes_.end(), {255, std::uint8_t(value >> 24), std::uint8_t(value >> 16),
                                     std::uint8_t(value >> 8), std::uint8_t(value)});
    }
    return *this;
}

CharStringWriter& CharStringWriter::op(std::uint8_t code)
{
    bytes_.push_back(code);
    return *this;
}

CharStringWriter& CharStringWriter::contours(const std::vector<tContour>& contours)
{
    for (const tContour& contour : contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            number(contour[i].x - current_.x).number(contour[i].y - current_.y).op(i == 0 ? kRMoveTo : kRLineTo);
            current_ = contour[i];
        }
        // Type 2 closes a contour at the next moveto or at endchar.
        if (dialect_ == Dialect::Type1)
            op(kClosePath);
    }
    return *this;
}

}  // namespace QX::UIA::Test
