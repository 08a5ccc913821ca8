#pragma once
#include <cstdint>
#include <vector>

#include "TrueTypeTestFont.h"

// The same small test fonts in the other formats FreeType opens: Type 1 and
// CFF, whose glyphs are charstring programs, and Type 42, a TrueType font
// wrapped in PostScript. Glyphs are named after their first code point
// ("uni2192"), which is how FreeType maps them to Unicode; glyph 0 is
// ".notdef". Components of composite glyphs are written in Type 42 only.
namespace QX::UIA::Test {

// Subroutines that every glyph calls before it draws its contours: the
// chain's first subroutine does nothing, each one above it calls the one
// below `fanOut` times, and a glyph calls the one `depth` levels up, so that
// each glyph runs fanOut^depth calls. Depth 0 calls none.
struct tSubroutineChain {
    std::uint16_t depth = 0;
    std::uint16_t fanOut = 1;
};

// A Type 1 font in the text form: the font dictionary in clear, the private
// dictionary with the subroutines and charstrings eexec-encrypted as hex.
std::vector<std::uint8_t> writeType1Font(const tTestFont& font, const tSubroutineChain& chain = {});

// A bare CFF font (as an OpenType font carries in its CFF table): one font,
// Type 2 charstrings, a custom charset, the subroutines as local ones.
std::vector<std::uint8_t> writeCffFont(const tTestFont& font, const tSubroutineChain& chain = {});

// A Type 42 font: the TrueType font of `font`, in hex strings, with a
// CharStrings dictionary that names its mapped glyphs.
std::vector<std::uint8_t> writeType42Font(const tTestFont& font);

}  // namespace QX::UIA::Test
