#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nwl/core/Pane.h"
#include "nwl/core/Widget.h"

namespace QX::NWL::Testing {

// A widget that records what reaches it.
class RecordingWidget : public Widget {
public:
    std::string_view getTypeName() const override { return "RecordingWidget"; }

    void onMouseEvent(std::uint32_t id, const WidgetMouseEvent& event) override {
        mouseIds.push_back(id);
        lastMouse = event;
        if (onMouse)
            onMouse(*this, id);
    }
    void onMouseWheel(const WidgetWheelEvent& event) override { wheelNotches.push_back(event.notches); }
    bool onKeyEvent(std::uint32_t id, const WidgetKeyEvent& event) override {
        keyIds.push_back(id);
        return takesKeys;
    }
    void onTimer() override {
        ++timerCalls;
        if (onTick)
            onTick(*this);
    }
    void onLayout() override {
        ++layoutCalls;
        if (onLayoutHook)
            onLayoutHook(*this);
    }
    void onShown(bool shown) override { shownCalls.push_back(shown); }

    std::vector<std::uint32_t> mouseIds;
    WidgetMouseEvent lastMouse;
    std::vector<std::int32_t> wheelNotches;
    std::vector<std::uint32_t> keyIds;
    std::vector<bool> shownCalls;
    bool takesKeys = false;
    int timerCalls = 0;
    int layoutCalls = 0;
    std::function<void(RecordingWidget&, std::uint32_t)> onMouse;
    std::function<void(RecordingWidget&)> onTick;
    std::function<void(RecordingWidget&)> onLayoutHook;
};

inline std::shared_ptr<RecordingWidget> makeWidget(std::int32_t x, std::int32_t y, std::int32_t width,
                                                   std::int32_t height) {
    auto widget = std::make_shared<RecordingWidget>();
    widget->setExplicitlyPlaced(true);
    widget->setPosition(x, y);
    widget->setSize(width, height);
    return widget;
}

// Runs the update pass the way a window's tick does; answers the damage.
GP::Region settle(Pane& pane);

}  // namespace QX::NWL::Testing
