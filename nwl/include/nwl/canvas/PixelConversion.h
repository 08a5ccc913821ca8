#pragma once
#include <cstdint>

#include "gp/Geometry.h"

namespace QX::NWL {

// Logical to physical pixels at a scale factor: v x scale rounded half away
// from zero, saturated to 32 bits (a result that is not a number gives 0).
// Rectangles are converted edge by edge, so rectangles that touch in logical
// pixels touch in physical ones too.
std::int32_t toPixels(std::int32_t value, float scale);
std::int32_t toPixels(float value, float scale);
GP::Point toPixels(const GP::Point& point, float scale);
GP::Rect toPixels(const GP::Rect& rect, float scale);

// A scale the canvas accepts: finite and above zero.
bool isUsableScale(float scale);

}  // namespace QX::NWL
