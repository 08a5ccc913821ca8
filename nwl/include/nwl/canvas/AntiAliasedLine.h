#pragma once
#include <cstdint>

#include "gp/Geometry.h"

namespace QX::UIA {
class Picture;
}

namespace QX::NWL {

// Strokes a straight line from a to b (logical coordinates of the picture,
// its origin applied) `width` pixels wide with butt ends, anti-aliased, and
// blends it source-over in the colour (0xAARRGGBB, straight alpha). Limited
// to the picture's drawing bounds; nothing is drawn for a width that is not
// above 0 or for end points beyond 2^22 pixels.
void drawAntiAliasedLine(UIA::Picture& picture, const GP::Point& a, const GP::Point& b, std::uint32_t colour,
                         float width);

}  // namespace QX::NWL
