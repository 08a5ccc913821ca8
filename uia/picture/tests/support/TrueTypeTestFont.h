#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace QX::UIA {
class Font;
}

// Small TrueType fonts made by the tests themselves: fonts with glyphs at
// chosen code points only, or with faults a real font file rarely shows.
namespace QX::UIA::Test {

struct tFontPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

// A closed polygon of on-curve points, in font units (1000 to the em).
using tContour = std::vector<tFontPoint>;

// One glyph and the code points (all below 0x10000) that map to it. A glyph
// without contours is empty, as a space's is. A glyph with components is a
// composite of those glyphs (by glyph index: 0 is the missing glyph, 1 the
// first of the font's glyphs), each drawn at the origin; its contours are
// not written.
struct tTestGlyph {
    std::vector<char32_t> codePoints;
    std::vector<tContour> contours;
    std::vector<std::uint16_t> components = {};
};

struct tTestFont {
    // The glyphs after glyph 0, the missing glyph (a box no code point maps to).
    std::vector<tTestGlyph> glyphs;
    // The one character map's platform and encoding: Windows Unicode by
    // default; (3, 0) is a Windows symbol map, (1, 0) a Mac Roman one.
    std::uint16_t mapPlatform = 3;
    std::uint16_t mapEncoding = 1;
};

// The font file: the tables FreeType needs to open a TrueType face (head,
// hhea, maxp, cmap, hmtx, loca, glyf) and no others.
std::vector<std::uint8_t> writeTrueTypeFont(const tTestFont& font);

// A right arrow filling most of the em.
std::vector<tContour> arrowOutline();

// A square 60 ems wide, centred on the origin: far too large to be drawn.
std::vector<tContour> manyEmsWideOutline();

// A font whose glyph at U+2192 nests `depth` composites, each made of
// `width` copies of the one below, over the arrow: it expands to
// width + width^2 + ... + width^depth components.
tTestFont nestedArrowFont(std::uint16_t depth, std::uint16_t width);

// How many pixels the text changes when drawn in black on white (200 by 40
// pixels from the top left): whether a font really draws it.
int inkOf(const Font& font, const std::string& text);

}  // namespace QX::UIA::Test
