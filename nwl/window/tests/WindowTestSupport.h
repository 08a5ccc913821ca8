#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "gp/Geometry.h"
#include "nwl/core/Widget.h"
#include "nwl/window/Window.h"
#include "uia/DragDrop.h"
#include "uia/EventIds.h"
#include "uia/WindowImpl.h"

namespace QX::NWL::Testing {

// A window implementation without a native window: it keeps a client size
// and records what the window asks of the platform.
class FakeWindowImpl : public UIA::DETAIL::WindowImpl {
public:
    using WindowImpl::WindowImpl;

    GP::Rect client{0, 0, 0, 0};
    bool visible = false;
    std::vector<GP::Rect> invalidated;
    int wholeInvalidations = 0;
    int presentations = 0;
    std::vector<void*> cursors;
    int focusRequests = 0;

    bool presentLayered(const UIA::Picture&) override { return ++presentations, true; }
    bool isVisible() const override { return visible; }
    void setTitle(const char*) override {}
    void setMenuBar(const UIA::HMenuBar&) override {}
    void setIcon(void*, int) override {}
    void setCursor(void* cursor) override { cursors.push_back(cursor); }
    void resetCursor() override {}
    void setVisible(bool v) override { visible = v; }
    void raise() override {}
    void destroy() override {}
    void invalidate() override { ++wholeInvalidations; }
    void invalidateRect(const GP::Rect& rect) override { invalidated.push_back(rect); }
    void update() override {}
    void getRect(GP::Rect& rect, bool) override { rect = client; }
    void setRect(const GP::Rect& rect, bool) override { client = rect; }
    void setPosition(const GP::Point&, bool) override {}
    void setSize(const UIA::WindowSize& size, bool) override { client = GP::Rect{0, 0, size.width, size.height}; }
    void getPlacement(UIA::WindowPlacement&) override {}
    void setPlacement(const UIA::WindowPlacement&) override {}
    void clientToScreenRect(GP::Rect& rect) override { rect.offset(100, 50); }
    void clientToScreen(GP::Point& point) override { point.x += 100, point.y += 50; }
    void screenToClient(GP::Point& point) override { point.x -= 100, point.y -= 50; }
    void setFocus() override { ++focusRequests; }
    void setModified(bool) override {}
    void setHandle(void*) override {}
    std::intptr_t callDefaultProcedure(std::uint32_t, std::uintptr_t, std::intptr_t) override { return 0; }
    void* getNativeHandle() const override { return nullptr; }
    void detachAndDestroyNativeWindow() override {}
};

// A widget that fills itself, counts its paint calls and may accept drags.
class PaintingWidget : public Widget {
public:
    explicit PaintingWidget(std::uint32_t colour) : colour(colour) {}
    std::string_view getTypeName() const override { return "Painting"; }
    void paint(PaintContext& context) override {
        ++paints;
        context.canvas.fillRectBlended(GP::Rect{0, 0, getWidth(), getHeight()}, colour);
    }

    std::uint32_t colour;
    int paints = 0;
    bool acceptsDrags = false;
    std::vector<GP::Point> dragPoints;

protected:
    bool onEvent(std::uint32_t id, void* data) override {
        if (id != UIA::EventId::kDragOver) return Widget::onEvent(id, data);
        const auto* drag = static_cast<UIA::DragEventData*>(data);
        dragPoints.push_back(GP::Point{drag->x, drag->y});
        return acceptsDrags;
    }
};

inline std::shared_ptr<PaintingWidget> placePainting(std::uint32_t colour, GP::Rect rect) {
    auto widget = std::make_shared<PaintingWidget>(colour);
    widget->setExplicitlyPlaced(true);
    widget->setPosition(rect.left, rect.top);
    widget->setSize(std::int32_t(rect.width()), std::int32_t(rect.height()));
    return widget;
}

}  // namespace QX::NWL::Testing
