#pragma once
#include "gp/Geometry.h"

namespace QX::UIA {

// Cursor shapes by number, as the widget library sets them; 12 hides the
// cursor.
inline constexpr int kCursorShapeCount = 17;
// The system cursor of a shape (an HCURSOR), or null for 12, for an unknown
// shape and before the framework's start.
void* getStandardCursor(int shape);
// Moves the pointer to a point in screen coordinates.
void setCursorPosition(const GP::Point& screenPoint);

}  // namespace QX::UIA
