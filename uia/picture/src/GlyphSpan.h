#pragma once
#include <ft2build.h>
#include FT_FREETYPE_H

namespace QX::UIA::DETAIL {

// How many ems a glyph's outline may span either way to be rendered. Real
// glyphs span a few at most; a font's glyph may span thousands, whose bitmap
// would take a second and up to a gigabyte, kept in the glyph cache.
inline constexpr FT_Pos kMaxGlyphSpanEms = 32;

// Whether the outline's control box spans at most kMaxGlyphSpanEms ems each
// way. `em` is the em in the outline's own units: the face's units per em
// for an outline loaded unscaled, the pixel size in 26.6 for a rendered one.
// Drawing and the usable-face check both judge by it, so that the face
// check accepts only a face with an outline that drawing renders (as long as
// the font's hints do not move its points far).
bool spansFewEms(const FT_Outline& outline, FT_Pos em);

}  // namespace QX::UIA::DETAIL
