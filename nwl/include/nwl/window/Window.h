#pragma once
#include <cstdint>
#include <memory>

#include "gp/Region.h"
#include "nwl/canvas/BackgroundDrawingCanvas.h"
#include "nwl/window/WindowingPane.h"
#include "uia/WindowBase.h"

namespace QX::UIA {
struct TimerRecord;
}

namespace QX::NWL {

// A framework window that shows a widget tree: it renders the pane into its
// canvas and presents it, and its one framework timer drives the widgets'
// timers and the repaint of whatever changed since the last tick.
//
// Both bases name some operations alike (the cursor, the size, invalidate):
// callers say which side they mean.
template <class TWindow>
class Window : public TWindow, public WindowingPane {
public:
    // The timer's priority among the framework's timers.
    static constexpr std::int32_t kTimerPriority = -10;

    Window();
    ~Window() override;

    UIA::WindowBase* getWindow() const override;
    bool handleEvent(std::uint32_t id, void* data) override;

    // Renders the collected damage (all of the pane when there is none)
    // and, for a layered window that is visible or when forced, presents it.
    void repaintNow(bool force);
    // Collects the pane's damage into the native window's invalid area,
    // then renders everything.
    void flushDamage();

    BackgroundDrawingCanvas& getCanvas() { return *canvas_; }
    bool hasTimer() const { return timer_ != nullptr; }

protected:
    bool onEvent(std::uint32_t id, void* data) override;

private:
    void startPaneTimer();
    void stopPaneTimer();
    void onResized();
    void onTick();

    UIA::TimerRecord* timer_ = nullptr;
    std::unique_ptr<BackgroundDrawingCanvas> canvas_;
    GP::Region damage_;
};

extern template class Window<UIA::StandaloneWindow>;

}  // namespace QX::NWL
