#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gp/Region.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/core/Pane.h"
#include "nwl/style/StyleSheet.h"

namespace QX::NWL::Testing {

// Runs the update pass the way a window's tick does; answers the damage.
inline GP::Region settle(Pane& pane)
{
    GP::Region damage;
    pane.getDirtyRegion(damage);
    return damage;
}

// A pane whose widgets take their style from a sheet of their own, given as
// text (fonts and pictures resolved by the library's manager).
class StyledPane : public Pane {
public:
    explicit StyledPane(const char* sheetText);
};

// A canvas that keeps the texts it is asked to draw, with rectangles in pane
// coordinates (the offset applied), instead of drawing them.
class RecordingCanvas : public BackgroundDrawingCanvas {
public:
    struct tText {
        std::string text;
        GP::Rect rect;
        std::uint32_t flags;
    };
    std::vector<tText> texts;

    void drawText(std::string_view utf8, const GP::Rect& rect, const UIA::Font&, std::uint32_t, std::uint32_t flags,
                  bool) override
    {
        GP::Rect moved = rect;
        moved.offset(getOffset().x, getOffset().y);
        texts.push_back({std::string(utf8), moved, flags});
    }
};

// Paints one widget onto the canvas at its place in the pane.
void paintWidget(Widget& widget, Canvas& canvas);

}  // namespace QX::NWL::Testing
