#include "nwl/widgets/Button.h"

#include "nwl/core/Pane.h"

namespace QX::NWL {
namespace {

// The pane's tick counts: the delay before the first repeat, then between repeats.
constexpr int kFirstRepeatInterval = 0;
constexpr int kRepeatInterval = 1;

}  // namespace

Button& Button::setup(std::string_view text, const char* styleClass)
{
    // Hover tracking, not focus: the style sheet's hover frames need it, and
    // a focusable button would take the focus look after every click.
    setTracksHover(true);
    setPaintCallback([](Button& button, PaintContext& context) { button.paintPanel(context); });
    markDirty();
    setStyleClass(styleClass);
    setText(text);
    return *this;
}

std::string_view Button::getTypeName() const
{
    return "Button";
}

Button::tSignalData Button::makePointerData(const WidgetMouseEvent& event) const
{
    return tSignalData{event.modifiers, 1, pressed_};
}

void Button::startTimer(std::int32_t ticks)
{
    setTimerInterval(ticks);
}

void Button::stopTimer()
{
    setTimerInterval(0);
}

void Button::finishHover(const tSignalData& data)
{
    if (!hoverPending_)
        return;
    hoverPending_ = false;
    hoverSignal(data);
}

void Button::press(const WidgetMouseEvent& event, bool pressed)
{
    pressed_ = pressed;
    const tSignalData data = makePointerData(event);
    finishHover(data);
    if (Pane* pane = getPane())
        startTimer(pane->getTimerInterval(kFirstRepeatInterval));
    pointerSignal(data, GP::Point{event.x, event.y});
}

void Button::onMouseEvent(std::uint32_t id, const WidgetMouseEvent& event)
{
    switch (id) {
    case kEnterId:
        enterSignal(makePointerData(event));
        if (hoverDelay_ > 0) {
            hoverPending_ = true;
            startTimer(hoverDelay_);
        }
        break;
    case kLeaveId:
        leaveSignal(makePointerData(event));
        pressed_ = false;
        hoverPending_ = false;
        // A leave ends a repeat as well as a pending hover.
        stopTimer();
        break;
    case kPressId:
        press(event, false);
        break;
    case kReleaseId: {
        const tSignalData data = makePointerData(event);
        finishHover(data);
        stopTimer();
        pressed_ = false;
        cancelSignal(makePointerData(event));
        break;
    }
    case kClickId: {
        const tSignalData data = makePointerData(event);
        finishHover(data);
        stopTimer();
        pressed_ = false;
        releasedSignal(data);
        break;
    }
    case kSecondaryClickId:
        secondaryClickSignal(makePointerData(event));
        break;
    case kDoubleClickId: {
        press(event, true);
        const tSignalData data = makePointerData(event);
        if (useAlternate_)
            alternateSignal(data);
        else
            releasedSignal(data);
        break;
    }
    default:
        break;
    }
}

bool Button::onKeyEvent(std::uint32_t id, const WidgetKeyEvent& event)
{
    if (id != 1100 || (event.code & 0x1FFFF) != kActivationKey)
        return false;
    const tSignalData data{event.code & 0xFF000000u, std::uint8_t(event.firstPress), false};
    if (keyAction_ == 1)
        releasedSignal(data);
    else if (keyAction_ == 2)
        alternateSignal(data);
    return true;
}

void Button::onTimer()
{
    const tSignalData data{0, 1, pressed_};
    if (hoverPending_) {
        hoverPending_ = false;
        hoverSignal(data);
        return;
    }
    // Repeat only while the pane still holds the press on this button: a
    // capture lost at window level ends it without a release.
    Pane* pane = getPane();
    if (!pane || pane->getPressedWidget() != this)
        return;
    repeatSignal(data);
    startTimer(pane->getTimerInterval(kRepeatInterval));
}

}  // namespace QX::NWL
