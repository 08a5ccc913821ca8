#include <cmath>
#include <memory>
#include <vector>

#include "gp/Region.h"
#include "nwl/canvas/Canvas.h"
#include "nwl/core/Pane.h"
#include "nwl/core/Widget.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {
namespace {

using namespace WidgetFlag;

bool meets(const GP::Region& region, const GP::Rect& rect) {
    return GP::Region::testRect(region, rect) != GP::Region::kOutside;
}

// The canvas's pixels in logical coordinates: nothing is painted beyond them.
GP::Rect logicalBounds(Canvas& canvas) {
    const UIA::Picture& buffer = canvas.getBuffer();
    const float scale = canvas.getScale();
    return GP::Rect{0, 0, std::int32_t(std::ceil(float(buffer.getWidth()) / scale)),
                    std::int32_t(std::ceil(float(buffer.getHeight()) / scale))};
}

// One paint call of a widget in one phase, in the widget's own coordinates.
void paintPhase(Widget& widget, Canvas& canvas, PaintContext& context) {
    canvas.setOffset(widget.getAbsolutePosition());
    widget.paint(context);
    canvas.resetClipRect();
    canvas.resetOffset();
}

// Background, then the children in z-order, then the foreground.
void paintWidget(Widget& widget, Canvas& canvas, const GP::Region& region, float scale) {
    const GP::Rect rect = widget.getAbsoluteRect();
    if (rect.isEmpty() || !widget.isVisible() || !(widget.getFlags() & kDrawn)) return;
    PaintContext context(canvas, region, rect, scale, PaintContext::kBody);
    if (widget.getFlags() & kPaintsBackground) paintPhase(widget, canvas, context);
    // A paint call may change the tree: walk a copy that keeps the children alive.
    const std::vector<std::shared_ptr<Widget>> children = widget.getSortedChildren();
    for (const auto& child : children)
        if (!child->isOverlay() && meets(region, child->getAbsoluteRect())) paintWidget(*child, canvas, region, scale);
    if (widget.getFlags() & kPaintsForeground) {
        context.phase = PaintContext::kForeground;
        paintPhase(widget, canvas, context);
    }
}

// Widgets whose geometry changed since the last paint hear of it once.
void notifyGeometryChanges(Widget& widget) {
    if (!widget.isShown() || !widget.isVisible()) return;
    if (widget.getFlags() & kGeometryChanged) {
        widget.setFlags(kGeometryChanged, false);
        if (widget.getFlags() & kWantsGeometryNotifications) widget.onGeometryChanged();
    }
    if (widget.getChildren().empty()) return;
    const std::vector<std::shared_ptr<Widget>> children = widget.getSortedChildren();
    for (const auto& child : children) notifyGeometryChanges(*child);
}

}  // namespace

void Pane::render(Canvas& canvas, const GP::Region& region, int mode) {
    if (!getRootWidget()) return;
    const std::shared_ptr<Widget> root = getRootWidget()->getSharedPtr();
    setScale(canvas.getScale());

    // Everything stays within the canvas, even a root larger than it.
    const GP::Rect rootRect = root->getAbsoluteRect();
    GP::Region paintRegion;
    if (region.isEmpty()) paintRegion.setRect(rootRect);
    else paintRegion = region;
    paintRegion.intersect(logicalBounds(canvas));

    if (mode != 2) {
        for (const GP::RegionNode* node = paintRegion.first(); node; node = node->next) {
            GP::Rect clear = node->rect;
            clear.intersect(rootRect);
            if (!clear.isEmpty()) canvas.fillRect(clear, 0);
        }
    }
    const float scale = canvas.getScale();
    setScale(scale);
    if ((mode == 1 || mode == 3) && meets(paintRegion, rootRect)) paintWidget(*root, canvas, paintRegion, scale);
    if (mode == 2 || mode == 3) {
        const std::vector<std::shared_ptr<Widget>> overlays = getOverlayWidgets();
        for (const auto& overlay : overlays)
            if (meets(paintRegion, overlay->getAbsoluteRect())) paintWidget(*overlay, canvas, paintRegion, scale);
    }
    notifyGeometryChanges(*root);
    for (const auto& overlay : overlaysOwnedDirectly()) notifyGeometryChanges(*overlay);
}

}  // namespace QX::NWL
