#pragma once
#include <cstddef>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace QX::UIA::DETAIL {

// How deep FreeType may nest composite glyphs in one glyph, and how many
// components one glyph may expand to (a component counted each time it is
// drawn). FreeType loads composites by recursing and lets one glyph be used
// any number of times, so a small file can make one glyph cost minutes. An
// accented letter is 1 deep with 2 components; the fonts on this system nest
// at most 4 deep and use at most 10 components, and a font that builds its
// CJK characters from strokes needs up to 64 (the most strokes in one
// character), so the bounds leave twice that.
inline constexpr std::size_t kMaxCompositeDepth = 8;
inline constexpr std::size_t kMaxCompositeComponents = 128;

// Whether every glyph of the face stays within those bounds and none is made
// of itself. Reads the composite structure of the TrueType glyph table, each
// glyph once and without loading an outline, so that the cost follows the
// size of the file; a face without that table (bitmaps only) passes. For
// TrueType faces only: FreeType gives no access to the glyph table of a
// Type 42 font.
bool compositesStayWithinBounds(FT_Face face);

}  // namespace QX::UIA::DETAIL
