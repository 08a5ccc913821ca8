#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace QX::NWL::DETAIL {

inline constexpr char32_t kNoCodePoint = 0xFFFFFFFF;

// Where a line of a wrapped text begins: a byte offset into the text and the
// code point found there when the line was broken before it (kNoCodePoint
// when it was broken after a character or at a line feed).
struct tLineBreak {
    std::size_t offset = 0;
    char32_t codePoint = kNoCodePoint;

    bool operator==(const tLineBreak& other) const
    {
        return offset == other.offset && codePoint == other.codePoint;
    }
};

// The pixel advance of one code point at the drawing scale.
using GlyphAdvance = std::function<std::int32_t(char32_t)>;

// Breaks `text` (well-formed UTF-8) into lines no wider than `innerWidth`
// logical pixels. `breaks` receives n + 1 entries for n lines: the first at
// offset 0, the last at the end of the text; line i runs from entry i to
// entry i + 1. A line ends at a line feed (kept at its end), after its last
// blank, tab or punctuation character when the next character does not fit,
// or before that character when the line has no such one. A line never ends
// before its first character, so a character wider than the line gets a line
// of its own; with no width to measure against (innerWidth <= 0) only line
// feeds break. Widths are running sums of advances divided by `scale`, so the
// whole text is measured once.
void breakLines(std::string_view text, std::int32_t innerWidth, float scale, const GlyphAdvance& advance,
                std::vector<tLineBreak>& breaks);

}  // namespace QX::NWL::DETAIL
