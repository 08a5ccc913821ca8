#include "nwl/window/Window.h"

#include "uia/DeviceContext.h"
#include "uia/EventIds.h"
#include "uia/EventTimerManager.h"
#include "uia/WindowEvents.h"

namespace QX::NWL {

template <class TWindow>
Window<TWindow>::Window() : canvas_(std::make_unique<BackgroundDrawingCanvas>()) {}

template <class TWindow>
Window<TWindow>::~Window() {
    stopPaneTimer();
    canvas_.reset();
    clearWindowUserData();
    damage_.clear();
}

template <class TWindow>
UIA::WindowBase* Window<TWindow>::getWindow() const {
    return const_cast<Window*>(this);
}

template <class TWindow>
bool Window<TWindow>::handleEvent(std::uint32_t id, void* data) {
    return onEvent(id, data);
}

template <class TWindow>
bool Window<TWindow>::onEvent(std::uint32_t id, void* data) {
    // The timer goes before the window's own handling of its end, which may
    // end the application.
    if (id == UIA::EventId::kWindowDestroyed) stopPaneTimer();
    const bool answer = TWindow::onEvent(id, data);
    switch (id) {
    case UIA::EventId::kWindowCreated:
        canvas_->setScale(float(TWindow::getScaleFactor()));
        TWindow::invalidate();
        startPaneTimer();
        onResized();
        return true;
    case UIA::EventId::kWindowResized:
        onResized();
        return true;
    case UIA::EventId::kWindowAboutToShow:
        flushDamage();
        return true;
    case UIA::EventId::kWindowPaint:
        // A layered window is presented when rendered, not painted.
        if (!TWindow::isLayered() && data)
            if (UIA::DeviceContext* context = *static_cast<UIA::DeviceContext**>(data))
                context->drawPicture(canvas_->getBuffer(), TWindow::usesAlpha());
        return true;
    case UIA::EventId::kTimer:
        onTick();
        return true;
    case UIA::EventId::kWindowDpiChanged:
        if (data) canvas_->setScale(float(*static_cast<const double*>(data)));
        return answer;
    case UIA::EventId::kWindowSizeLimitsWanted:
    case UIA::EventId::kWindowDefaultSizeWanted:
        return answer;
    default: {
        // The pane sees every other event, whatever the window answered.
        const bool paneAnswer = WindowingPane::handleEvent(id, data);
        return answer || paneAnswer;
    }
    }
}

template <class TWindow>
void Window<TWindow>::startPaneTimer() {
    // A second creation event must not leave a first timer running unowned.
    stopPaneTimer();
    timer_ = this->startTimer(0, kTimerPriority);
}

template <class TWindow>
void Window<TWindow>::stopPaneTimer() {
    if (!timer_) return;
    this->stopTimer(timer_);
    timer_ = nullptr;
}

template <class TWindow>
void Window<TWindow>::onResized() {
    UIA::WindowSize client;
    TWindow::getSize(client, true);
    Pane::setSize(client.width, client.height);
    const Size size = Pane::getSize();
    canvas_->setSize(size.width, size.height);
    flushDamage();
}

template <class TWindow>
void Window<TWindow>::onTick() {
    dispatchTimers();
    getDirtyRegion(damage_);
    if (damage_.isEmpty()) return;
    TWindow::invalidateRegion(damage_);
    repaintNow(false);
}

template <class TWindow>
void Window<TWindow>::flushDamage() {
    getDirtyRegion(damage_);
    if (!damage_.isEmpty()) TWindow::invalidateRegion(damage_);
    damage_.clear();
    repaintNow(true);
}

template <class TWindow>
void Window<TWindow>::repaintNow(bool force) {
    const Size size = Pane::getSize();
    if (size.width <= 0 || size.height <= 0) return;
    render(*canvas_, damage_, 3);
    damage_.clear();
    if (TWindow::isLayered() && (TWindow::isVisible() || force)) TWindow::presentLayered(canvas_->getBuffer());
}

template class Window<UIA::StandaloneWindow>;

}  // namespace QX::NWL
