#pragma once
#include <cstdint>
#include <string_view>

#include "gp/Geometry.h"
#include "nwl/core/Signal.h"
#include "nwl/widgets/TextPanel.h"

namespace QX::NWL {

namespace ButtonImpl {
// What a button's signals carry.
struct tSignalData {
    std::uint32_t value = 0;  // from the event
    std::uint8_t kind = 0;    // 1 pointer events, 0 the key
    bool pressed = false;
};
}  // namespace ButtonImpl

// A text panel that reacts to the pointer, the activation key and its timer,
// and reports through signals. Held down, it repeats; resting over it, it
// can report a hover after a delay.
class Button : public TextPanel<Button> {
public:
    using tSignalData = ButtonImpl::tSignalData;

    // The pointer events a button acts on (button index 1, the left one).
    static constexpr std::uint32_t kPressId = 100002;
    static constexpr std::uint32_t kReleaseId = 100008;
    static constexpr std::uint32_t kClickId = 100014;
    static constexpr std::uint32_t kSecondaryClickId = 100015;
    static constexpr std::uint32_t kDoubleClickId = 100020;
    static constexpr std::uint32_t kEnterId = 1004;
    static constexpr std::uint32_t kLeaveId = 1005;
    // The key code (low 17 bits of a key event's code) that activates a button.
    static constexpr std::uint32_t kActivationKey = 5;

    Button() = default;

    // Makes the button track the hover (its style has pressed and hover
    // looks), installs the painting (panel, then text), sets the style class
    // (null keeps it) and the text.
    Button& setup(std::string_view text, const char* styleClass);

    std::string_view getTypeName() const override;

    // 1: the activation key emits releasedSignal, 2: alternateSignal; else nothing.
    void setKeyAction(std::uint32_t action) { keyAction_ = action; }
    // Pane ticks resting over the button before hoverSignal; 0 or less: none.
    void setHoverDelay(std::int32_t ticks) { hoverDelay_ = ticks; }
    // A double click reports through alternateSignal instead of releasedSignal.
    void setUseAlternate(bool useAlternate) { useAlternate_ = useAlternate; }
    bool isPressed() const { return pressed_; }
    bool isHoverPending() const { return hoverPending_; }

    void onMouseEvent(std::uint32_t id, const WidgetMouseEvent& event) override;
    bool onKeyEvent(std::uint32_t id, const WidgetKeyEvent& event) override;
    void onTimer() override;

    Signal<const tSignalData&, const GP::Point&> pointerSignal;
    Signal<const tSignalData&> releasedSignal;
    Signal<const tSignalData&> alternateSignal;
    Signal<const tSignalData&> enterSignal;
    Signal<const tSignalData&> secondaryClickSignal;
    Signal<const tSignalData&> repeatSignal;
    Signal<const tSignalData&> hoverSignal;
    Signal<const tSignalData&> leaveSignal;
    Signal<const tSignalData&> cancelSignal;

private:
    tSignalData makePointerData(const WidgetMouseEvent& event) const;
    void startTimer(std::int32_t ticks);
    void stopTimer();
    // Reports a pending hover at once.
    void finishHover(const tSignalData& data);
    void press(const WidgetMouseEvent& event, bool pressed);
    // Ends a press (and any repeat); answers the data as it was while held.
    tSignalData endPress(const WidgetMouseEvent& event);

    std::uint32_t keyAction_ = 0;
    std::int32_t hoverDelay_ = 0;
    bool pressed_ = false;
    bool hoverPending_ = false;
    bool useAlternate_ = false;
};

}  // namespace QX::NWL
