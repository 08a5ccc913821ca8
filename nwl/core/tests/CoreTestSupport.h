#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <functional>
#include <vector>

#include "../../style/tests/FakeWidget.h"
#include "../../style/tests/StyleTestSupport.h"
#include "TestResources.h"
#include "gp/Stream.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/core/Pane.h"
#include "nwl/core/Widget.h"
#include "nwl/style/StyleParser2.h"

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

#ifdef QX_TEST_PROGRAM_DIR
// The folder of the test program, where the resource manager looks for a
// skin folder first.
inline std::string executableFolder() { return QX_TEST_PROGRAM_DIR; }
#endif

// Runs the update pass the way a window's tick does; answers the damage.
GP::Region settle(Pane& pane);

// Loads a sheet text into the container's current sheet, as a named load.
inline bool loadSheet(ManagerContainer& container, const std::string& text)
{
    return StyleParser2::loadStylesheet(
        container.getStyleManager().getStyleSheet(),
        std::make_shared<GP::MemoryStream>(std::vector<std::uint8_t>(text.begin(), text.end())), "test.txt",
        container.makeResourceDeriver());
}

// The value of the first rule of a property for a widget of the sheet.
inline const Property* derivedOf(ManagerContainer& container, FakeWidget& widget, const char* property)
{
    widget.sheet = &container.getStyleManager().getStyleSheet();
    widget.sheet->clearCaches();
    const auto rules = StyleSheet::findMatchingRules(widget, qx::symbol(property));
    return rules.empty() ? nullptr : &rules.front()->property;
}

}  // namespace QX::NWL::Testing
