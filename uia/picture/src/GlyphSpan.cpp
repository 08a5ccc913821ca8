#include "GlyphSpan.h"

#include FT_OUTLINE_H

namespace QX::UIA::DETAIL {

bool spansFewEms(const FT_Outline& outline, FT_Pos em)
{
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    const FT_Pos limit = em * kMaxGlyphSpanEms;
    return box.xMax - box.xMin <= limit && box.yMax - box.yMin <= limit;
}

}  // namespace QX::UIA::DETAIL
